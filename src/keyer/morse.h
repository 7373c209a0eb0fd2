// Morse code as the keyer sends it: the speed table, the code of each character, and the key
// segments (how long the line is down, then up) that a character takes at a given unit.
#pragma once

#include <QStringView>

#include <optional>
#include <vector>

namespace vorta {

// The speed control's range, in words per minute ("ppm").
inline constexpr int kMinSpeed = 10;
inline constexpr int kMaxSpeed = 40;

// The unit offset g (ms) of a speed; the unit is g + 50 ms. Nothing outside 10 to 40.
std::optional<int> unitOffsetForSpeed(int wordsPerMinute);
inline constexpr int unitFromOffset(int offsetMs) { return offsetMs + 50; }

// The dots and dashes of a character ("" when it keys nothing). Upper-case letters are keyed as
// lower case. Some signs key procedural signals run together ("*" is AS, "<" is SK, ...).
const char *morseCode(QChar c);

// A stretch of time with the line down (keyed) or up.
struct KeySegment
{
    bool down;
    int ms;
    bool operator==(const KeySegment &) const = default;
};

// A pause of this many units, in whole milliseconds: the product is taken in double precision
// and rounded half to even (1.1 × 1.1 × 60 = 72.6 gives 73, 0.675 × 60 = 40.5 gives 40).
int pauseMs(double units, int unitMs);

// Appends the segments of one character: each dot (1.21 U down, 0.675 U up) and dash (3 U down,
// 0.75 U up), then one unit up for the character itself. A blank or an unknown character only
// takes that unit. Line feeds and double quotes take no time at all.
void appendCharacter(QChar c, int unitMs, std::vector<KeySegment> &segments);

// Whether the character is passed over without taking time (line feed, double quote).
bool isSkipped(QChar c);

} // namespace vorta
