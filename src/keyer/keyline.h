// The transmitter is keyed by switching one control line of a serial port. The keyer and the
// test key only see this interface, so tests can record every switch with its time.
#pragma once

#include <QString>
#include <QStringView>

namespace vorta {

enum class ControlLine { Dtr, Rts };

// The configured line text: one that contains "DTR" ("DTR (pin4)") means DTR, any other RTS.
ControlLine controlLineFromText(QStringView text);

class KeyLine
{
public:
    virtual ~KeyLine() = default;
    // Asserts (on) or releases the line. Called from the sender's own thread as well as from
    // the user-interface thread, so implementations must allow both. Returns why the line
    // could not be switched (an adapter pulled out), empty when it was switched or when there
    // is no port to switch; the manual keys ignore it, the sender stops on it.
    virtual QString setLine(ControlLine line, bool on) = 0;
};

} // namespace vorta
