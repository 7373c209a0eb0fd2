#include "keyer/keyport.h"

#include "common/textvalue.h"
#include "config/settings.h"

#include <QSerialPortInfo>

namespace vorta {

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

QString KeyPort::open(const QString &portName)
{
    close();
    if (portName.isEmpty() || portName == kNoPort)
        return {};
    m_name = portName;
    m_port.setPortName(portDevice(portName));
    if (!m_port.open(QIODevice::ReadWrite))
        return m_port.errorString();
    // Both lines start released: the transmitter must not be keyed by opening the port.
    m_port.setDataTerminalReady(false);
    m_port.setRequestToSend(false);
    return {};
}

void KeyPort::close()
{
    if (m_port.isOpen()) {
        m_port.setDataTerminalReady(false);
        m_port.setRequestToSend(false);
        m_port.close();
    }
    m_name.clear();
}

void KeyPort::setLine(ControlLine line, bool on)
{
    if (!m_port.isOpen())
        return;
    if (line == ControlLine::Dtr)
        m_port.setDataTerminalReady(on);
    else
        m_port.setRequestToSend(on);
}

} // namespace vorta
