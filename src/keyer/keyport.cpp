#include "keyer/keyport.h"

#include "common/textvalue.h"
#include "config/settings.h"

#include <QSerialPortInfo>

#include <cerrno>
#include <cstring>
#include <sys/ioctl.h>

namespace vorta {

namespace {

// Switches modem-control bits on a descriptor; returns the system's reason on failure.
QString switchBits(int fd, int bits, bool on)
{
    if (::ioctl(fd, on ? TIOCMBIS : TIOCMBIC, &bits) == 0)
        return {};
    const int error = errno;
    return QString::fromLocal8Bit(std::strerror(error));
}

} // namespace

ControlLine controlLineFromText(QStringView text)
{
    return text.contains(u"DTR") ? ControlLine::Dtr : ControlLine::Rts;
}

QString portDevice(const QString &portName)
{
    if (portName.startsWith(u'/'))
        return portName;
    if (portName.startsWith(QLatin1String("COM"))) {
        const int number = int(numericValue(QStringView(portName).mid(3)));
        return QStringLiteral("/dev/ttyS%1").arg(qMax(number - 1, 0));
    }
    return QStringLiteral("/dev/") + portName;
}

QStringList presentPorts()
{
    QStringList names;
    for (const QSerialPortInfo &info : QSerialPortInfo::availablePorts())
        names << info.portName();
    names.sort();
    return names;
}

QStringList portChoices(const QStringList &present, const QString &configured)
{
    QStringList choices{kNoPort};
    choices << present;
    if (!configured.isEmpty() && !choices.contains(configured))
        choices << configured;
    return choices;
}

KeyPort::~KeyPort()
{
    close();
}

QString KeyPort::open(const QString &portName)
{
    close();
    if (portName.isEmpty() || portName == kNoPort)
        return {};
    m_name = portName;
    m_port.setPortName(portDevice(portName));
    // Write-only: nothing is read, so no read notifier reports errors behind the keyer's back
    // when an adapter is pulled out; the keyer finds out from the line switch itself.
    if (!m_port.open(QIODevice::WriteOnly))
        return m_port.errorString();
    // Opening a port on Linux raises DTR and RTS, which keys a transmitter wired to either:
    // both are released at once.
    const std::lock_guard lock(m_mutex);
    m_fd = int(m_port.handle());
    switchBits(m_fd, TIOCM_DTR | TIOCM_RTS, false);
    return {};
}

void KeyPort::close()
{
    if (m_port.isOpen()) {
        {
            const std::lock_guard lock(m_mutex);
            switchBits(m_fd, TIOCM_DTR | TIOCM_RTS, false);
            m_fd = -1;
        }
        m_port.close();
    }
    m_name.clear();
}

QString KeyPort::setLine(ControlLine line, bool on)
{
    const std::lock_guard lock(m_mutex);
    if (m_fd < 0)
        return {};
    return switchBits(m_fd, line == ControlLine::Dtr ? TIOCM_DTR : TIOCM_RTS, on);
}

} // namespace vorta
