#include "tracking/orbitalelements.h"

#include <QDate>

#include <algorithm>
#include <cmath>

namespace vorta {

namespace {

// Columns from..to (1-based, inclusive) of a line.
QStringView columns(QStringView line, int from, int to)
{
    return line.mid(from - 1, to - from + 1);
}

std::optional<double> decimalField(QStringView field)
{
    const QString text = field.trimmed().toString();
    if (text.isEmpty())
        return std::nullopt;
    bool ok = false;
    const double value = text.toDouble(&ok);
    // "nan" and "inf" read as numbers, and no orbit can be computed from them.
    return ok && std::isfinite(value) ? std::optional<double>(value) : std::nullopt;
}

std::optional<int> integerField(QStringView field)
{
    const QString text = field.trimmed().toString();
    bool ok = false;
    const int value = text.toInt(&ok);
    return ok ? std::optional<int>(value) : std::nullopt;
}

// A number written with an implied leading decimal point and an exponent, as the element sets
// write the drag terms: " 12345-4" is 0.12345e-4, "-11606-4" is -0.11606e-4.
std::optional<double> exponentField(QStringView field)
{
    const QString text = field.trimmed().toString();
    if (text.isEmpty())
        return std::nullopt;
    qsizetype pos = 0;
    double sign = 1.0;
    if (text[0] == u'-' || text[0] == u'+') {
        sign = text[0] == u'-' ? -1.0 : 1.0;
        ++pos;
    }
    const qsizetype exponentAt = std::max(text.lastIndexOf(u'-'), text.lastIndexOf(u'+'));
    if (exponentAt < pos)
        return std::nullopt;
    bool ok = false;
    const QString digits = text.mid(pos, exponentAt - pos).trimmed();
    const double mantissa = (QStringLiteral("0.") + digits).toDouble(&ok);
    if (!ok || digits.isEmpty())
        return std::nullopt;
    const int exponent = text.mid(exponentAt).toInt(&ok);
    if (!ok)
        return std::nullopt;
    const double value = sign * mantissa * std::pow(10.0, exponent);
    return std::isfinite(value) ? std::optional<double>(value) : std::nullopt;
}

// Catalogue numbers beyond 99999 are written with a leading letter standing for 10 to 33
// ("A" is 10; "I" and "O" are skipped, being too like 1 and 0).
std::optional<int> catalogueField(QStringView field)
{
    const QString text = field.trimmed().toString();
    if (text.isEmpty())
        return std::nullopt;
    const QChar first = text[0];
    if (first >= u'A' && first <= u'Z' && first != u'I' && first != u'O') {
        int lead = first.unicode() - u'A' + 10;
        if (first > u'I')
            --lead;
        if (first > u'O')
            --lead;
        const std::optional<int> rest = integerField(QStringView(text).mid(1));
        if (!rest || text.size() != 5 || *rest < 0)
            return std::nullopt;
        return lead * 10000 + *rest;
    }
    for (const QChar c : text)
        if (!c.isDigit())
            return std::nullopt;
    return integerField(text);
}

bool checksumMatches(QStringView line)
{
    const std::optional<int> sum = elementLineChecksum(line);
    return sum && line.size() >= 69 && line[68].isDigit() && line[68].digitValue() == *sum;
}

// A text that names a satellite by its catalogue number.
std::optional<int> catalogueText(QStringView text)
{
    if (text.size() < 1 || text.size() > 5)
        return std::nullopt;
    return catalogueField(text);
}

} // namespace

double utcSeconds(const QDateTime &dateTime)
{
    return double(dateTime.toMSecsSinceEpoch()) / 1000.0;
}

QDateTime utcDateTime(double utc)
{
    return QDateTime::fromMSecsSinceEpoch(qint64(std::llround(utc * 1000.0)), Qt::UTC);
}

std::optional<int> elementLineChecksum(QStringView line)
{
    if (line.size() < 68)
        return std::nullopt;
    int sum = 0;
    for (qsizetype i = 0; i < 68; ++i) {
        const QChar c = line[i];
        if (c >= u'0' && c <= u'9')
            sum += c.unicode() - u'0';
        else if (c == u'-')
            sum += 1;
    }
    return sum % 10;
}

std::optional<OrbitalElements> parseOrbitalElements(const ElementSet &set, ElementSetError *error)
{
    const auto fail = [error](ElementSetError why) {
        if (error)
            *error = why;
        return std::nullopt;
    };
    if (error)
        *error = ElementSetError::None;
    const QString line1 = set.line1.trimmed();
    const QString line2 = set.line2.trimmed();
    if (line1.isEmpty() || line2.isEmpty())
        return fail(ElementSetError::MissingLine);
    if (line1.size() < 69 || line2.size() < 69)
        return fail(ElementSetError::TooShort);
    if (!checksumMatches(line1) || !checksumMatches(line2))
        return fail(ElementSetError::Checksum);

    OrbitalElements e;
    e.name = set.name.trimmed();
    // Three-line sets of some sources mark the name line with "0 ".
    if (e.name.startsWith(QStringLiteral("0 ")))
        e.name = e.name.mid(2).trimmed();
    e.catalogue = columns(line1, 3, 7).trimmed().toString();
    const auto number1 = catalogueField(columns(line1, 3, 7));
    const auto number2 = catalogueField(columns(line2, 3, 7));
    const auto year = integerField(columns(line1, 19, 20));
    const auto day = decimalField(columns(line1, 21, 32));
    // The drag terms, left blank by some hand-made sets, count as 0 then.
    const auto blankAsZero = [](QStringView field, auto read) {
        return field.trimmed().isEmpty() ? std::optional<double>(0.0) : read(field);
    };
    const auto ndot = blankAsZero(columns(line1, 34, 43), decimalField);
    const auto nddot = blankAsZero(columns(line1, 45, 52), exponentField);
    const auto bstar = blankAsZero(columns(line1, 54, 61), exponentField);
    const auto incl = decimalField(columns(line2, 9, 16));
    const auto raan = decimalField(columns(line2, 18, 25));
    const auto ecc = decimalField(QStringLiteral("0.") + columns(line2, 27, 33).trimmed().toString());
    const auto argp = decimalField(columns(line2, 35, 42));
    const auto anomaly = decimalField(columns(line2, 44, 51));
    const auto motion = decimalField(columns(line2, 53, 63));
    // Some element sets leave the revolution number blank.
    const auto revolution = columns(line2, 64, 68).trimmed().isEmpty()
                                ? std::optional<int>(0)
                                : integerField(columns(line2, 64, 68));
    if (!number1 || !number2 || !year || !day || !ndot || !nddot || !bstar || !incl || !raan
        || !ecc || !argp || !anomaly || !motion || !revolution)
        return fail(ElementSetError::BadField);
    if (*number1 != *number2)
        return fail(ElementSetError::Mismatch);
    if (*ecc < 0 || *ecc >= 1 || *incl < 0 || *incl > 180 || *motion <= 0 || *day < 1
        || *day >= 367 || *year < 0 || *year > 99)
        return fail(ElementSetError::OutOfRange);

    e.catalogueNumber = *number1;
    e.designator = columns(line1, 10, 17).trimmed().toString();
    // Two-digit years: 57 to 99 are the 1900s (the first satellites), the rest the 2000s. The
    // orbit number keeps its own reading of the epoch (whole seconds, elementEpoch); the
    // propagator needs it to the last digit of the day's fraction.
    const int fullYear = *year < 57 ? 2000 + *year : 1900 + *year;
    const qint64 yearStart = QDate(1970, 1, 1).daysTo(QDate(fullYear, 1, 1));
    e.epoch = (double(yearStart) + (*day - 1.0)) * 86400.0;
    e.meanMotionDot = *ndot;
    e.meanMotionDDot = *nddot;
    e.bstar = *bstar;
    e.inclination = *incl;
    e.raan = *raan;
    e.eccentricity = *ecc;
    e.argumentOfPerigee = *argp;
    e.meanAnomaly = *anomaly;
    e.meanMotion = *motion;
    e.revolution = *revolution;
    return e;
}

QList<OrbitalElements> readOrbitalElements(const QStringList &lines, int *rejected)
{
    QList<OrbitalElements> out;
    int bad = 0;
    for (const ElementSet &set : readElementSets(lines)) {
        if (set.line1.isEmpty() && set.line2.isEmpty() && set.name.isEmpty())
            continue; // a blank line, not a satellite
        if (auto elements = parseOrbitalElements(set))
            out.append(std::move(*elements));
        else
            ++bad;
    }
    if (rejected)
        *rejected = bad;
    return out;
}

qsizetype findOrbitalElements(const QList<OrbitalElements> &sets, QStringView text)
{
    if (text.isEmpty())
        return -1;
    if (const std::optional<int> number = catalogueText(text))
        return findOrbitalElements(sets, *number);
    for (qsizetype i = 0; i < sets.size(); ++i)
        if (elementNameMatches(sets[i].name, text))
            return i;
    // A name typed in small letters ("so-50") still finds its satellite.
    const QString upper = text.toString().toUpper();
    for (qsizetype i = 0; i < sets.size(); ++i)
        if (elementNameMatches(sets[i].name.toUpper(), upper))
            return i;
    return -1;
}

qsizetype findOrbitalElements(const QList<OrbitalElements> &sets, int catalogueNumber)
{
    for (qsizetype i = 0; i < sets.size(); ++i)
        if (sets[i].catalogueNumber == catalogueNumber)
            return i;
    return -1;
}

double elementAgeDays(const OrbitalElements &elements, double utc)
{
    return (utc - elements.epoch) / 86400.0;
}

bool elementsStale(const OrbitalElements &elements, double utc)
{
    return elementAgeDays(elements, utc) > kStaleElementDays;
}

} // namespace vorta
