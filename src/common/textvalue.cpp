#include "common/textvalue.h"

#include <cmath>

namespace vorta {

double numericValue(QStringView text)
{
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n && (text[i] == u' ' || text[i] == u'\t'))
        ++i;
    bool negative = false;
    if (i < n && (text[i] == u'-' || text[i] == u'+')) {
        negative = text[i] == u'-';
        ++i;
    }
    double value = 0;
    bool fraction = false;
    double scale = 0.1;
    for (; i < n; ++i) {
        const QChar c = text[i];
        if (c.isDigit() && c.unicode() < 128) {
            const int d = c.unicode() - u'0';
            if (fraction) {
                value += d * scale;
                scale /= 10;
            } else {
                value = value * 10 + d;
            }
        } else if (c == u'.' && !fraction) {
            fraction = true;
        } else {
            break;
        }
    }
    return negative ? -value : value;
}

namespace {

// Matches one bracket class starting at pattern[p] == '['. Returns the index just past ']' and
// sets matched; returns -1 when the class is not closed (then '[' is taken literally).
qsizetype matchClass(QChar c, QStringView pattern, qsizetype p, bool &matched)
{
    qsizetype i = p + 1;
    bool negate = false;
    if (i < pattern.size() && pattern[i] == u'!') {
        negate = true;
        ++i;
    }
    bool found = false;
    const qsizetype start = i;
    while (i < pattern.size() && (pattern[i] != u']' || i == start)) {
        QChar lo = pattern[i];
        QChar hi = lo;
        if (i + 2 < pattern.size() && pattern[i + 1] == u'-' && pattern[i + 2] != u']') {
            hi = pattern[i + 2];
            i += 3;
        } else {
            ++i;
        }
        if (c >= lo && c <= hi)
            found = true;
    }
    if (i >= pattern.size())
        return -1;
    matched = found != negate;
    return i + 1;
}

bool matchFrom(QStringView text, qsizetype t, QStringView pattern, qsizetype p)
{
    while (p < pattern.size()) {
        const QChar pc = pattern[p];
        if (pc == u'*') {
            while (p < pattern.size() && pattern[p] == u'*')
                ++p;
            if (p == pattern.size())
                return true;
            for (qsizetype k = t; k <= text.size(); ++k)
                if (matchFrom(text, k, pattern, p))
                    return true;
            return false;
        }
        if (t >= text.size())
            return false;
        const QChar c = text[t];
        if (pc == u'?') {
            ++p;
        } else if (pc == u'#') {
            if (!(c >= u'0' && c <= u'9'))
                return false;
            ++p;
        } else if (pc == u'[') {
            bool matched = false;
            const qsizetype next = matchClass(c, pattern, p, matched);
            if (next < 0) {
                if (c != u'[')
                    return false;
                ++p;
            } else {
                if (!matched)
                    return false;
                p = next;
            }
        } else {
            if (c != pc)
                return false;
            ++p;
        }
        ++t;
    }
    return t == text.size();
}

} // namespace

bool patternMatch(QStringView text, QStringView pattern)
{
    return matchFrom(text, 0, pattern, 0);
}

QString formatThreeThree(double value)
{
    // Rounded to thousandths first, so that 0.0005 steps cannot print as "-000.000".
    const double rounded = std::round(value * 1000.0) / 1000.0;
    QString digits = QString::number(std::fabs(rounded), 'f', 3);
    const qsizetype dot = digits.indexOf(u'.');
    if (dot < 3)
        digits.prepend(QString(3 - dot, u'0'));
    return rounded < 0 ? u'-' + digits : digits;
}

double frequencyValue(QStringView text)
{
    QString number = text.toString();
    number.replace(u',', u'.');
    return numericValue(number);
}

QString formatFrequency(QStringView typed)
{
    return formatThreeThree(frequencyValue(typed));
}

} // namespace vorta

namespace vorta {

bool isLocatorFormat(QStringView text)
{
    // The grid has 18 fields (A to R) each way and 24 subsquares (A to X): any other letter
    // would put the station off the globe.
    return patternMatch(text, u"[A-R][A-R]##[A-X][A-X]") || patternMatch(text, u"[A-R][A-R]##");
}

} // namespace vorta
