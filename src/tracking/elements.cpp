#include "tracking/elements.h"

#include "common/textfile.h"
#include "common/textvalue.h"
#include "tracking/orbitalelements.h"

#include <QFileInfo>

#include <algorithm>
#include <cmath>

namespace vorta {

namespace {

bool isOctal(QChar c) { return c >= u'0' && c <= u'7'; }

int hexDigit(QChar c)
{
    if (c >= u'0' && c <= u'9')
        return c.unicode() - u'0';
    if (c >= u'a' && c <= u'f')
        return c.unicode() - u'a' + 10;
    if (c >= u'A' && c <= u'F')
        return c.unicode() - u'A' + 10;
    return -1;
}

// Reads a Wine registry string from line[pos] up to the unescaped closing character; pos ends
// just past it. Wine writes "\\" and "\"" for themselves, C escapes (\n, \t, ...), "\x" with up
// to four hex digits for characters beyond ASCII and "\" with up to three octal digits for other
// control characters (so "\0" is NUL). Nothing when the closing character is missing.
std::optional<QString> unescape(QStringView line, qsizetype &pos, QChar close)
{
    QString out;
    while (pos < line.size()) {
        const QChar c = line[pos++];
        if (c == close)
            return out;
        if (c != u'\\' || pos >= line.size()) {
            out += c;
            continue;
        }
        const QChar e = line[pos++];
        switch (e.unicode()) {
        case u'a': out += QChar(0x07); break;
        case u'b': out += QChar(0x08); break;
        case u'e': out += QChar(0x1B); break;
        case u'f': out += QChar(0x0C); break;
        case u'n': out += QChar(0x0A); break;
        case u'r': out += QChar(0x0D); break;
        case u't': out += QChar(0x09); break;
        case u'v': out += QChar(0x0B); break;
        case u'x': {
            char16_t value = 0;
            int digits = 0;
            while (digits < 4 && pos < line.size() && hexDigit(line[pos]) >= 0) {
                value = char16_t(value * 16 + hexDigit(line[pos++]));
                ++digits;
            }
            out += digits ? QChar(value) : QChar(u'x');
            break;
        }
        default:
            if (isOctal(e)) {
                char16_t value = char16_t(e.unicode() - u'0');
                for (int digits = 1; digits < 3 && pos < line.size() && isOctal(line[pos]); ++digits)
                    value = char16_t(value * 8 + (line[pos++].unicode() - u'0'));
                out += QChar(value);
            } else {
                out += e;
            }
        }
    }
    return std::nullopt;
}

// "<folder>/<relative>" with exactly one separator between them.
QString below(const QString &folder, QStringView relative)
{
    if (folder.isEmpty())
        return {};
    return folder.endsWith(u'/') ? folder + relative.toString()
                                 : folder + u'/' + relative.toString();
}

} // namespace

std::optional<QString> wineRegistryString(const QStringList &regLines, QStringView key,
                                          QStringView valueName)
{
    bool inKey = false;
    for (const QString &raw : regLines) {
        const QStringView line = QStringView(raw).trimmed();
        if (line.startsWith(u'[')) {
            qsizetype pos = 1;
            const std::optional<QString> name = unescape(line, pos, u']');
            inKey = name && name->compare(key, Qt::CaseInsensitive) == 0;
            continue;
        }
        if (!inKey)
            continue;
        QString name;
        qsizetype pos = 0;
        if (line.startsWith(u'@')) {
            pos = 1; // the key's default value, which has no name
        } else if (line.startsWith(u'"')) {
            pos = 1;
            const std::optional<QString> n = unescape(line, pos, u'"');
            if (!n)
                continue;
            name = *n;
        } else {
            continue;
        }
        if (name.compare(valueName, Qt::CaseInsensitive) != 0)
            continue;
        if (pos >= line.size() || line[pos] != u'=')
            continue;
        ++pos;
        // Only a plain string counts; str(2):"...", hex:..., dword:... are other types.
        if (pos >= line.size() || line[pos] != u'"')
            return std::nullopt;
        ++pos;
        std::optional<QString> value = unescape(line, pos, u'"');
        if (!value)
            return std::nullopt;
        const qsizetype nul = value->indexOf(QChar(0));
        if (nul >= 0)
            value->truncate(nul);
        return value;
    }
    return std::nullopt;
}

std::optional<QString> readWineRegistryString(const QString &regFile, QStringView key,
                                              QStringView valueName)
{
    const std::optional<QStringList> lines = readTextLines(regFile);
    if (!lines)
        return std::nullopt;
    return wineRegistryString(*lines, key, valueName);
}

QString winePrefix(const QString &winePrefixEnv, const QString &home)
{
    if (!winePrefixEnv.isEmpty())
        return winePrefixEnv;
    return below(home, u".wine");
}

QString wineToUnixPath(QStringView windowsPath, const QString &prefix)
{
    if (windowsPath.size() < 2 || windowsPath[1] != u':' || !windowsPath[0].isLetter()
        || windowsPath[0].unicode() > 127 || prefix.isEmpty())
        return {};
    QString rest = windowsPath.mid(2).toString();
    rest.replace(u'\\', u'/');
    if (!rest.startsWith(u'/'))
        rest.prepend(u'/');
    return below(prefix, u"dosdevices/") + windowsPath[0].toLower() + u':' + rest;
}

QString OrbitronInstallation::configFile() const
{
    return below(folder, u"Config/Setup.cfg");
}

QString OrbitronInstallation::elementsFile() const
{
    return below(folder, u"Tle/amateur.txt");
}

QString findOrbitronFolder(const QString &explicitFolder, const QString &winePrefixEnv,
                           const QString &home)
{
    if (!explicitFolder.isEmpty())
        return explicitFolder;
    const QString prefix = winePrefix(winePrefixEnv, home);
    if (prefix.isEmpty())
        return {};
    const std::optional<QString> path = readWineRegistryString(
        below(prefix, u"user.reg"), kOrbitronRegistryKey, kOrbitronRegistryValue);
    if (!path || path->isEmpty())
        return {};
    return wineToUnixPath(*path, prefix);
}

namespace {

// The installed marker: the configuration file's name when it is there.
QString markerOf(const OrbitronInstallation &installation)
{
    if (installation.folder.isEmpty())
        return {};
    const QFileInfo config(installation.configFile());
    return config.isFile() ? config.fileName() : QString();
}

} // namespace

OrbitronInstallation findOrbitronInstallation(const QString &explicitFolder,
                                              const QString &winePrefixEnv, const QString &home)
{
    OrbitronInstallation found;
    found.folder = findOrbitronFolder(explicitFolder, winePrefixEnv, home);
    found.marker = markerOf(found);
    return found;
}

QList<ElementSet> readElementSets(const QStringList &lines)
{
    QList<ElementSet> sets;
    for (const QString &line : lines) {
        const QChar first = line.isEmpty() ? QChar() : line[0];
        // Element lines have a blank in column 2; a name such as "1KUNS-PF" is a name, not a
        // line 1 that would give the satellite before it another satellite's elements.
        if ((first == u'1' || first == u'2') && (line.size() == 1 || line[1] == u' ')) {
            if (sets.isEmpty())
                continue; // element lines before any name belong to no satellite
            (first == u'1' ? sets.last().line1 : sets.last().line2) = line;
            continue;
        }
        sets.append({line.trimmed(), {}, {}});
    }
    return sets;
}

void ElementTable::read(const QStringList &lines)
{
    const QList<ElementSet> sets = readElementSets(lines);
    m_count = int(sets.size());
    // A new name starts a new satellite: the element lines of whatever an earlier reading left
    // in this place are not its own (a cut-short file would lend them to it). Entries beyond the
    // new count keep what they had.
    if (m_sets.size() < sets.size())
        m_sets.resize(sets.size());
    for (int i = 0; i < m_count; ++i)
        m_sets[i] = sets[i];
}

bool ElementTable::load(const QString &path)
{
    const std::optional<QStringList> lines = readTextLines(path);
    if (!lines)
        return false;
    read(*lines);
    return true;
}

bool elementNameMatches(QStringView name, QStringView text)
{
    if (text.isEmpty())
        return false;
    // The tracker writes a name's blanks as "_", and the operator may type either.
    QString whole = name.toString();
    whole.replace(u' ', u'_');
    QString wanted = text.toString();
    wanted.replace(u' ', u'_');
    if (whole == wanted)
        return true;
    // A part is the satellite's name in one of its spellings ("FUNCUBE-1", "AO-73"), compared
    // whole, so that "AO-7" is not taken for "AO-73".
    const auto separates = [](QChar c) { return c == u'_' || c == u'(' || c == u')'; };
    qsizetype start = 0;
    for (qsizetype i = 0; i <= whole.size(); ++i) {
        if (i < whole.size() && !separates(whole[i]))
            continue;
        if (QStringView(whole).mid(start, i - start) == wanted)
            return true;
        start = i + 1;
    }
    return false;
}

int ElementTable::find(QStringView text) const
{
    for (int number = 1; number <= int(m_sets.size()); ++number) {
        const QString &name = m_sets[number - 1].name;
        if (name.isEmpty())
            return 0;
        if (elementNameMatches(name, text))
            return number;
    }
    return 0;
}

OrbitronInstallation refreshOrbitronData(const QString &explicitFolder, const QString &winePrefixEnv,
                                         const QString &home, ElementTable &table)
{
    const OrbitronInstallation found = findOrbitronInstallation(explicitFolder, winePrefixEnv, home);
    if (!found.folder.isEmpty() && QFileInfo(found.elementsFile()).isFile())
        table.load(found.elementsFile());
    return found;
}

OrbitronInstallation OrbitronDataCache::refresh(const QString &explicitFolder, const QString &winePrefixEnv,
                                                const QString &home, ElementTable &table,
                                                const QString &fallbackElementsFile)
{
    const QString prefix = explicitFolder.isEmpty() ? winePrefix(winePrefixEnv, home) : QString();
    const QDateTime registryStamp =
        prefix.isEmpty() ? QDateTime() : QFileInfo(below(prefix, u"user.reg")).lastModified();
    if (!m_known || explicitFolder != m_explicitFolder || registryStamp != m_registryStamp) {
        m_found = findOrbitronInstallation(explicitFolder, winePrefixEnv, home);
        m_known = true;
        m_explicitFolder = explicitFolder;
        m_registryStamp = registryStamp;
    } else {
        // Installing or removing the tracker shows in its configuration file alone.
        m_found.marker = markerOf(m_found);
    }
    QFileInfo elements(m_found.folder.isEmpty() ? QString() : m_found.elementsFile());
    if (!elements.isFile() && !fallbackElementsFile.isEmpty())
        elements = QFileInfo(fallbackElementsFile);
    if (elements.isFile()
        && (elements.filePath() != m_elementsFile || elements.lastModified() != m_elementsStamp
            || elements.size() != m_elementsSize)) {
        if (table.load(elements.filePath())) {
            m_elementsFile = elements.filePath();
            m_elementsStamp = elements.lastModified();
            m_elementsSize = elements.size();
            ++m_readings;
        }
    }
    return m_found;
}

QString satelliteFromTrackingName(QStringView name)
{
    const qsizetype open = name.indexOf(u'(');
    if (open < 0)
        return name.toString();
    QString field = name.mid(open + 1, 100).toString();
    field.remove(u')');
    return field;
}

QDateTime elementEpoch(QStringView line1)
{
    const QStringView field = line1.mid(18, 14);
    const int year = 2000 + int(numericValue(field.left(2)));
    const double day = numericValue(field.mid(2));
    // The day's fraction comes from an 8-decimal text; the small allowance keeps a fraction
    // that stands for a whole second (0.5 days) from being truncated to the second before it
    // through its binary rounding.
    const auto seconds = qint64(std::floor((day - 1.0) * 86400.0 + 1e-6));
    return QDateTime(QDate(year, 1, 1), QTime(0, 0), Qt::UTC).addSecs(seconds);
}

qint64 orbitNumber(double orbitValue)
{
    const double whole = std::floor(orbitValue);
    // The allowance keeps a value meant as exactly .1 (1015.1) on the lower orbit, whichever
    // way its binary rounding went.
    return qint64(whole) + (orbitValue - whole > 0.1 + 1e-9 ? 1 : 0);
}

std::optional<OrbitResult> orbitFromElements(const ElementSet &set, const QDateTime &utcNow)
{
    // Without the epoch or the revolution number there is no orbit to tell: a name line without
    // its element lines gives nothing rather than an orbit counted from the year 2000.
    if (set.line1.size() < 32 || set.line2.size() < 68)
        return std::nullopt;
    const QDateTime epoch = elementEpoch(set.line1);
    QDateTime now = utcNow.toUTC();
    now.setTime(QTime(now.time().hour(), now.time().minute(), now.time().second()));
    const qint64 age = epoch.secsTo(now);
    const double meanMotion = numericValue(QStringView(set.line2).mid(52, 11));
    const double revolution = numericValue(QStringView(set.line2).mid(63, 5));

    OrbitResult result;
    result.catalogue = QString::number(qint64(numericValue(QStringView(set.line2).mid(2, 5))));
    result.ageDays = QString::number(qint64(std::floor(double(age) / 86400.0)));
    result.orbit = QString::number(orbitNumber(revolution + double(age) * meanMotion / 86400.0));
    result.stale = double(age) > kStaleElementDays * 86400.0;
    return result;
}

std::optional<OrbitResult> orbitFor(const ElementTable &table, QStringView text,
                                    const QDateTime &utcNow)
{
    if (text.isEmpty())
        return std::nullopt;
    const int number = table.find(text);
    if (number == 0)
        return std::nullopt;
    return orbitFromElements(table.at(number), utcNow);
}

} // namespace vorta
