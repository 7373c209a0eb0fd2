#include "tracking/satellitelist.h"

#include "common/datafolder.h"
#include "common/textfile.h"

#include <QFileInfo>

namespace vorta {

namespace {

QString commaMessage(Language language)
{
    return text(Txt::MsgSatelliteComma, language);
}

QString notSavedMessage(const QString &path, const QString &reason, Language language)
{
    return text(Txt::MsgSatelliteListNotSaved, language, {{"$arch$", path}, {"$nombre$", reason}});
}

// The entry as it goes into the file. Frequencies may be typed with "," as decimal point; a
// "," would split the line into more than five fields and the entry would vanish from the
// list, so it is stored as the "." it means. A line break would do the same to the line. Blanks
// around the name would make a second "SO-50" beside the first.
SatelliteEntry storedForm(SatelliteEntry entry)
{
    entry.name = entry.name.trimmed();
    entry.uplink.replace(u',', u'.');
    entry.downlink.replace(u',', u'.');
    for (QString *field : {&entry.name, &entry.uplink, &entry.downlink, &entry.downlinkMode,
                           &entry.uplinkMode}) {
        field->replace(u'\r', u' ');
        field->replace(u'\n', u' ');
    }
    return entry;
}

// Required fields and the characters that would break the line format.
SatelliteCheck checkFields(const SatelliteEntry &entry, Language language)
{
    if (entry.name.trimmed().isEmpty())
        return {false, QString(), SatelliteField::Name};
    if (entry.uplink.isEmpty())
        return {false, QString(), SatelliteField::Uplink};
    if (entry.downlink.isEmpty())
        return {false, QString(), SatelliteField::Downlink};
    if (entry.name.contains(u','))
        return {false, commaMessage(language), SatelliteField::Name};
    if (entry.downlinkMode.contains(u','))
        return {false, commaMessage(language), SatelliteField::DownlinkMode};
    if (entry.uplinkMode.contains(u','))
        return {false, commaMessage(language), SatelliteField::UplinkMode};
    return {};
}

SatelliteCheck failed(const QString &message)
{
    return {false, message, SatelliteField::None};
}

} // namespace

std::optional<SatelliteEntry> parseSatelliteLine(const QString &line)
{
    if (line.count(u',') != 4)
        return std::nullopt;
    const QStringList fields = line.split(u',');
    return SatelliteEntry{fields[0], fields[1], fields[2], fields[3], fields[4]};
}

QString satelliteLine(const SatelliteEntry &entry)
{
    return QStringList{entry.name, entry.uplink, entry.downlink, entry.downlinkMode, entry.uplinkMode}
        .join(u',');
}

QStringList satelliteEditModes()
{
    return {QStringLiteral("FM"), QStringLiteral("USB"), QStringLiteral("LSB"), QStringLiteral("CW")};
}

SatelliteList::SatelliteList(QString filePath) : m_path(std::move(filePath)) {}

SatelliteList::SatelliteList(const DataFolder &folder) : m_path(folder.file(fileName())) {}

QString SatelliteList::read()
{
    m_lines.clear();
    m_entries.clear();
    m_entryLine.clear();
    if (!QFileInfo::exists(m_path))
        return QString();
    std::optional<QStringList> lines = readTextLines(m_path);
    if (!lines)
        return QStringLiteral("no se puede leer ") + m_path;
    m_lines = std::move(*lines);
    for (qsizetype i = 0; i < m_lines.size(); ++i) {
        std::optional<SatelliteEntry> entry = parseSatelliteLine(m_lines[i]);
        // An entry line without a name holds no satellite; it stays in the file like any other
        // line that is not an entry.
        if (!entry || entry->name.isEmpty())
            continue;
        m_entries.append(*entry);
        m_entryLine.append(i);
    }
    return QString();
}

QString SatelliteList::load()
{
    return read();
}

bool SatelliteList::write(Dialogs &dialogs, Language language)
{
    const QString error = writeTextLines(m_path, m_lines);
    if (!error.isEmpty()) {
        dialogs.inform(notSavedMessage(m_path, error, language), Icon::Critical);
        read();
        return false;
    }
    read();
    return true;
}

QStringList SatelliteList::names() const
{
    QStringList list;
    for (const SatelliteEntry &entry : m_entries)
        list << entry.name;
    return list;
}

std::optional<SatelliteEntry> SatelliteList::find(QStringView name) const
{
    for (const SatelliteEntry &entry : m_entries)
        if (QStringView(entry.name).compare(name, Qt::CaseInsensitive) == 0)
            return entry;
    return std::nullopt;
}

SatelliteEntry SatelliteList::shown(qsizetype index) const
{
    if (index < 0 || index >= m_entries.size())
        return {};
    const SatelliteEntry &e = m_entries[index];
    return {e.name.toUpper(), e.uplink.toUpper(), e.downlink.toUpper(), e.downlinkMode.toUpper(),
            e.uplinkMode.toUpper()};
}

QList<QStringList> SatelliteList::gridRows() const
{
    QList<QStringList> rows;
    rows.reserve(m_entries.size());
    for (qsizetype i = 0; i < m_entries.size(); ++i) {
        const SatelliteEntry e = shown(i);
        rows.append({e.name, e.uplink, e.downlink, e.downlinkMode, e.uplinkMode});
    }
    return rows;
}

bool SatelliteList::canAccept(const QString &name, const QString &uplink, const QString &downlink)
{
    return !name.trimmed().isEmpty() && !uplink.isEmpty() && !downlink.isEmpty();
}

SatelliteCheck SatelliteList::checkAdd(const SatelliteEntry &entry, Language language) const
{
    const SatelliteCheck fields = checkFields(entry, language);
    if (!fields.ok)
        return fields;
    const QString upper = entry.name.trimmed().toUpper();
    if (find(upper)) {
        const QString message =
            text(Txt::MsgSatelliteExists, Language::Spanish, {{"$nombre$", upper}});
        return {false, message, SatelliteField::Name};
    }
    return {};
}

SatelliteCheck SatelliteList::checkEdit(const SatelliteEntry &entry, Language language) const
{
    return checkFields(entry, language);
}

SatelliteCheck SatelliteList::add(const SatelliteEntry &entry, Dialogs &dialogs, Language language)
{
    // Read the file again first: what is appended goes after what the file holds now, and an
    // unreadable file is never replaced by a one-line list.
    const QString error = read();
    if (!error.isEmpty()) {
        const QString message = notSavedMessage(m_path, error, language);
        dialogs.inform(message, Icon::Critical);
        return failed(message);
    }
    const SatelliteCheck check = checkAdd(entry, language);
    if (!check.ok) {
        if (!check.message.isEmpty())
            dialogs.inform(check.message, Icon::Exclamation);
        return check;
    }
    m_lines.append(satelliteLine(storedForm(entry)));
    if (!write(dialogs, language))
        return failed(QString());
    return {};
}

SatelliteCheck SatelliteList::edit(qsizetype index, const SatelliteEntry &entry, Dialogs &dialogs,
                                   Language language)
{
    if (index < 0 || index >= m_entries.size())
        return failed(QString());
    const SatelliteCheck check = checkEdit(entry, language);
    if (!check.ok) {
        if (!check.message.isEmpty())
            dialogs.inform(check.message, Icon::Exclamation);
        return check;
    }
    const QString storedName = m_entries[index].name;
    const QString error = read();
    if (!error.isEmpty()) {
        const QString message = notSavedMessage(m_path, error, language);
        dialogs.inform(message, Icon::Critical);
        return failed(message);
    }
    // The entry the row showed; should the file have changed meanwhile, the first entry of
    // that stored name. When it is gone there is nothing left to edit, and the operator is told.
    qsizetype target = -1;
    if (index < m_entries.size() && m_entries[index].name == storedName) {
        target = index;
    } else {
        for (qsizetype i = 0; i < m_entries.size() && target < 0; ++i)
            if (m_entries[i].name == storedName)
                target = i;
    }
    if (target < 0) {
        const QString message = text(Txt::MsgSatelliteGone, language, {{"$nombre$", storedName.toUpper()}, {"$arch$", m_path}});
        dialogs.inform(message, Icon::Exclamation);
        return failed(message);
    }
    SatelliteEntry edited = storedForm(entry);
    edited.name = edited.name.toUpper();
    m_lines[m_entryLine[target]] = satelliteLine(edited);
    if (!write(dialogs, language))
        return failed(QString());
    return {};
}

bool SatelliteList::remove(qsizetype index, Dialogs &dialogs, Language language)
{
    if (index < 0 || index >= m_entries.size())
        return false;
    const QString name = shown(index).name;
    if (!dialogs.ask(text(Txt::MsgSatelliteDeleteAsk, Language::Spanish, {{"$nombre$", name}}),
                     Icon::Question))
        return false;
    const QString error = read();
    if (!error.isEmpty()) {
        dialogs.inform(notSavedMessage(m_path, error, language), Icon::Critical);
        return false;
    }
    // Only the entries of that very name go: a name that merely contains it (AO-7 in AO-73) or a
    // comment that mentions it stays.
    QStringList kept;
    kept.reserve(m_lines.size());
    for (const QString &line : std::as_const(m_lines)) {
        const std::optional<SatelliteEntry> entry = parseSatelliteLine(line);
        if (entry && entry->name.compare(name, Qt::CaseInsensitive) == 0)
            continue;
        kept.append(line);
    }
    m_lines = kept;
    return write(dialogs, language);
}

} // namespace vorta
