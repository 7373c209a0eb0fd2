// The serial port whose DTR or RTS line keys the transmitter. Nothing is ever sent or received
// on it; only the control lines are used.
#pragma once

#include "keyer/keyline.h"

#include <QSerialPort>
#include <QString>
#include <QStringList>

#include <mutex>

namespace vorta {

// The device of a configured port name: "COMn" (a Windows configuration) is /dev/ttyS(n-1);
// a bare name such as "ttyUSB0" lives in /dev; a full path is used as it is.
QString portDevice(const QString &portName);

// The port list: "Ninguno", then the ports present; the configured port is kept in the list
// even while it is unplugged, so the operator sees what is set.
QStringList portChoices(const QStringList &present, const QString &configured);
QStringList presentPorts();

// Opened and closed on the user-interface thread; setLine may be called from any thread. The
// lines are switched on the port's descriptor directly, under a lock that open and close also
// take, so the sender's thread never touches the QSerialPort object nor a descriptor that is
// being closed.
class KeyPort : public KeyLine
{
public:
    KeyPort() = default;
    ~KeyPort() override;
    KeyPort(const KeyPort &) = delete;
    KeyPort &operator=(const KeyPort &) = delete;

    // Closes the port when open, then opens the named one with both lines released. Returns an
    // error text, empty on success. "Ninguno" just closes.
    QString open(const QString &portName);
    // Releases both lines, then closes.
    void close();
    bool isOpen() const { return m_port.isOpen(); }
    const QString &portName() const { return m_name; }

    QString setLine(ControlLine line, bool on) override;

private:
    QSerialPort m_port;
    QString m_name;
    std::mutex m_mutex;
    int m_fd = -1; // the open port's descriptor, -1 when closed; guarded by m_mutex
};

} // namespace vorta
