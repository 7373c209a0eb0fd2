#include "keyer/morse.h"

#include <cmath>

namespace vorta {

namespace {

// g for 10 to 40 words per minute. The unit g + 50 is close to the usual 1200 / wpm ms but not
// equal to it at every speed; operators' ears are used to these values (38 and 39 share one).
constexpr int kOffsets[kMaxSpeed - kMinSpeed + 1] = {
    70, 60, 52, 44, 36, 30, 25, 21, 17, 13, 10, 6,   3,   1,   -1,  -2,
    -4, -5, -6, -8, -10, -11, -12, -14, -15, -16, -17, -18, -19, -19, -20,
};

constexpr const char *kLetters[26] = {
    ".-",   "-...", "-.-.", "-..",  ".",   "..-.", "--.",  "....", "..",  ".---", "-.-",  ".-..", "--",
    "-.",   "---",  ".--.", "--.-", ".-.", "...",  "-",    "..-",  "...-", ".--", "-..-", "-.--", "--..",
};

constexpr const char *kDigits[10] = {
    "-----", ".----", "..---", "...--", "....-", ".....", "-....", "--...", "---..", "----.",
};

} // namespace

std::optional<int> unitOffsetForSpeed(int wordsPerMinute)
{
    if (wordsPerMinute < kMinSpeed || wordsPerMinute > kMaxSpeed)
        return std::nullopt;
    return kOffsets[wordsPerMinute - kMinSpeed];
}

const char *morseCode(QChar c)
{
    const char16_t u = c.toLower().unicode();
    if (u >= u'a' && u <= u'z')
        return kLetters[u - u'a'];
    if (u >= u'0' && u <= u'9')
        return kDigits[u - u'0'];
    switch (u) {
    case u',': return "--..--";
    case u'.': return ".-.-.-";
    case u'/':
    case u'\\': return "-..-.";
    case u'=': return "-...-";
    case u'?': return "..--..";
    case u':': return "---...";
    case u'(':
    case u')': return "-.--.-";
    case u'\'': return ".-..-.";
    case u'*': return ".-...";        // AS
    case u'@': return "-.--.";        // KN
    case u'&': return ".-.-.";        // AR
    case u'%': return "...-.";        // SN
    case u'~': return "-...-.-";      // BK
    case u'>': return "...-...-...-"; // three V's without letter spaces
    case u'<': return "...-.-";       // SK
    default: return "";
    }
}

int pauseMs(double units, int unitMs)
{
    // nearbyint follows the default rounding mode, round half to even.
    return int(std::nearbyint(units * unitMs));
}

bool isSkipped(QChar c)
{
    return c == u'\n' || c == u'"';
}

void appendCharacter(QChar c, int unitMs, std::vector<KeySegment> &segments)
{
    if (isSkipped(c))
        return;
    for (const char *element = morseCode(c); *element; ++element) {
        if (*element == '.') {
            segments.push_back({true, pauseMs(1.1 * 1.1, unitMs)});
            segments.push_back({false, pauseMs(0.9 * 0.75, unitMs)});
        } else {
            segments.push_back({true, pauseMs(3, unitMs)});
            segments.push_back({false, pauseMs(0.75, unitMs)});
        }
    }
    segments.push_back({false, unitMs});
}

} // namespace vorta
