#include "tracking/satrules.h"

#include "common/textvalue.h"

namespace vorta {

namespace {

struct Band
{
    const char16_t *name;
    double from, to;
};

// Limits in MHz, both included. The ranges do not overlap, so the first match is the only one.
constexpr Band kBands[] = {
    {u"15m", 21, 21.5},       {u"10m", 28, 30},       {u"2m", 144, 148},
    {u"70cm", 430, 440},      {u"23cm", 1200, 1300},  {u"13cm", 2300, 2450},
    {u"3cm", 10000, 10500},
};

struct ModeRow
{
    const char16_t *uplink, *downlink, *mode;
};

// The traditional letters of the band pairs. A 2m uplink with a 13cm downlink has no letter.
constexpr ModeRow kModes[] = {
    {u"2m", u"10m", u"A"},     {u"70cm", u"2m", u"B"},    {u"2m", u"70cm", u"J"},
    {u"15m", u"10m", u"K"},    {u"15m", u"2m", u"T"},     {u"70cm", u"13cm", u"S"},
    {u"23cm", u"70cm", u"L"},  {u"23cm", u"13cm", u"L/S"}, {u"23cm", u"3cm", u"L/X"},
    {u"2m", u"3cm", u"V/S"},
};

bool isAsciiDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

// The characters of text from the 1-based position start, at most length of them; fewer when
// the text ends sooner. start must be at least 1.
QString cut(QStringView text, qsizetype start, qsizetype length)
{
    const qsizetype from = start - 1;
    if (from >= text.size() || length <= 0)
        return QString();
    return text.sliced(from, qMin(length, text.size() - from)).toString();
}

// An orbit digit run as written in a free text: blanks become "A", punctuation goes, and (for
// the "#" and "ORB" forms) the "A"s go too, so "12,345" and "12 345" both read as 12345.
QString orbitDigits(QStringView text, bool dropLetterA)
{
    QString digits = text.toString();
    digits.replace(u' ', u'A');
    digits.remove(u',');
    digits.remove(u';');
    digits.remove(u'.');
    if (dropLetterA)
        digits.remove(u'A');
    return digits;
}

// The numeric value of a cleaned orbit run. No decimal point survives the cleaning, so the
// value is always a whole number.
QString orbitNumber(QStringView digits)
{
    return QString::number(qint64(numericValue(digits)));
}

} // namespace

QString bandName(QStringView frequencyText)
{
    const double mhz = frequencyValue(frequencyText);
    for (const Band &band : kBands)
        if (mhz >= band.from && mhz <= band.to)
            return QString::fromUtf16(band.name);
    return QString();
}

QString satelliteMode(QStringView uplinkBand, QStringView downlinkBand)
{
    if (uplinkBand.isEmpty() || downlinkBand.isEmpty())
        return QString();
    if (uplinkBand == downlinkBand)
        return QStringLiteral("Packet");
    for (const ModeRow &row : kModes)
        if (uplinkBand == QStringView(row.uplink) && downlinkBand == QStringView(row.downlink))
            return QString::fromUtf16(row.mode);
    return QString();
}

QString satModeLabelText(QStringView mode)
{
    if (mode.isEmpty())
        return QString();
    if (mode == u"Packet")
        return mode.toString();
    return QStringLiteral("SAT ") + mode.toString();
}

QString satModeLabel(QStringView uplinkFrequency, QStringView downlinkFrequency)
{
    return satModeLabelText(satelliteMode(bandName(uplinkFrequency), bandName(downlinkFrequency)));
}

QString satelliteNameFromText(QStringView text)
{
    if (text.contains(u"ISS")) // also catches "ARISS"
        return QStringLiteral("ISS");

    const qsizetype balloon = text.indexOf(u"GLOBO");
    if (balloon >= 0)
        return cut(text, balloon + 1, 25);

    // Position (1-based) of the first "-"; 0 when there is none.
    const qsizetype dash = text.indexOf(u'-') + 1;

    // Designators of the "G" series: a "G", four or five characters, "-" and one or two digits.
    // The cut counts from the first "-" of the text and runs for dash + 1 or 2 characters, so
    // text in front of the designator makes the result longer by as many characters.
    // (The "\?" in the patterns keeps the compiler from reading a trigraph.)
    struct Designator
    {
        const char16_t *pattern;
        qsizetype back, extra;
    };
    static constexpr Designator kDesignators[] = {
        {u"*G????\?-##*", 6, 2}, {u"*G???\?-##*", 5, 2}, {u"*G????\?-#*", 6, 1}, {u"*G???\?-#*", 5, 1}};
    for (const Designator &d : kDesignators) {
        if (!patternMatch(text, d.pattern))
            continue;
        const qsizetype start = dash - d.back;
        // A "-" earlier in the text than the designator's leaves no sensible cut.
        if (start < 1)
            return QString();
        return cut(text, start, dash + d.extra);
    }

    if (text.contains(u"LILACSAT") || text.contains(u"CAS-3H"))
        return QStringLiteral("LILACSAT");
    if (text.contains(u"FOX1A") || text.contains(u"FOX-1A"))
        return QStringLiteral("FOX-1A");
    for (const char16_t *alias : {u"SO-50", u"SO50", u"SO 50", u"OSCAR 50", u"OSCAR-50"})
        if (text.contains(QStringView(alias)))
            return QStringLiteral("SO-50");

    // A designator: the letters before a "-" and the letters and digits after it, the first
    // of them a digit ("AO-91", "XW-2A", "QO-100", "CAS-4A", "AO-7"). It is taken whole, up to
    // the next blank or punctuation; a "-" without letters before it or a digit after it (a
    // date, a hyphenated word) is passed over for the next one.
    for (qsizetype dashAt = text.indexOf(u'-'); dashAt >= 0; dashAt = text.indexOf(u'-', dashAt + 1)) {
        qsizetype from = dashAt;
        while (from > 0 && text[from - 1].isLetter())
            --from;
        if (from == dashAt || dashAt + 1 >= text.size() || !isAsciiDigit(text[dashAt + 1]))
            continue;
        qsizetype to = dashAt + 1;
        while (to < text.size() && text[to].isLetterOrNumber())
            ++to;
        return text.sliced(from, to - from).toString();
    }
    return QString();
}

QString orbitFromText(QStringView text)
{
    const qsizetype hash = text.indexOf(u'#');
    if (hash >= 0)
        return orbitNumber(orbitDigits(text.mid(hash + 1, 10), true));

    // "ORBITA" and one separator character, then the number. Letters stay here, so the number
    // ends at the blank that follows it.
    const qsizetype orbita = text.indexOf(u"ORBITA");
    if (orbita >= 0)
        return orbitNumber(orbitDigits(text.mid(orbita + 7, 10), false));

    QString result;
    const qsizetype orb = text.indexOf(u"ORB");
    if (orb >= 0)
        result = orbitNumber(orbitDigits(text.mid(orb + 3, 10), true));
    const qsizetype orbColon = text.indexOf(u"ORB:");
    if (orbColon >= 0)
        result = orbitNumber(orbitDigits(text.mid(orbColon + 4, 10), true));
    return result;
}

bool callSignChar(QChar upper)
{
    return (upper >= u'A' && upper <= u'Z') || (upper >= u'0' && upper <= u'9') || upper == u'/'
           || upper == u'?';
}

} // namespace vorta
