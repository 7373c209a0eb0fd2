// The transmitter is keyed by switching one control line of a serial port. The keyer and the
// test key only see this interface, so tests can record every switch with its time.
#pragma once

#include <QStringView>

namespace vorta {

enum class ControlLine { Dtr, Rts };

// The configured line text: one that contains "DTR" ("DTR (pin4)") means DTR, any other RTS.
ControlLine controlLineFromText(QStringView text);

class KeyLine
{
public:
    virtual ~KeyLine() = default;
    // Asserts (on) or releases the line. Errors of the port are ignored: a keying line that
    // cannot be switched must never stop the program in the middle of a pass.
    virtual void setLine(ControlLine line, bool on) = 0;
};

} // namespace vorta
