#include "mainwindow/qsoentry.h"

#include "common/dates.h"
#include "common/dialogs.h"
#include "common/textvalue.h"
#include "logdb/logdatabase.h"
#include "logdb/sqlite.h"
#include "tracking/satrules.h"

#include <algorithm>

namespace vorta {

QString reportForMode(const QString &mode)
{
    return mode.contains(QLatin1String("CW")) ? QStringLiteral("599") : QStringLiteral("59");
}

std::optional<QString> correctedManualDate(const QString &typed)
{
    const auto date = parseDayFirstDate(typed);
    if (!date)
        return std::nullopt;
    return formatDate(*date);
}

std::optional<QTime> manualTimeOf(const QString &typed)
{
    // Exactly four digits: a shorter text would be read with digits counted twice ("12" as
    // 12:12) and the QSO stored at a time nobody typed.
    const QString t = typed.trimmed();
    if (t.size() != 4 || !std::all_of(t.begin(), t.end(), [](QChar c) { return c >= u'0' && c <= u'9'; }))
        return std::nullopt;
    return parseClockTime(t.left(2) + u':' + t.right(2));
}

QString manualDateMessage()
{
    return text(Txt::MsgDateFormat, Language::Spanish);
}

QString manualTimeMessage()
{
    return text(Txt::MsgTimeFormat, Language::Spanish);
}

QString savedQsoNotice(qint64 id, const QString &station, const QString &satellite, const QDateTime &utc,
                       Language language)
{
    QStringList what{station};
    if (!satellite.isEmpty())
        what << satellite;
    what << utc.time().toString(QStringLiteral("HH:mm"));
    return text(Txt::MsgQsoSaved, language, {{"$qsoss$", QString::number(id)}, {"$nombre$", what.join(u' ')}});
}

namespace {

SaveResult refuse(Dialogs &dialogs, const QString &message, EntryField focus)
{
    dialogs.inform(message, Icon::Exclamation);
    return {SaveResult::Kind::Refused, focus, 0};
}

} // namespace

SaveResult saveEntry(const EntryForm &f, AppState &state, Dialogs &dialogs)
{
    const Language lang = state.language();
    if (f.station.trimmed().isEmpty() && !f.listening)
        return {};
    // Said before any check, so that no question is asked for a QSO that cannot be stored.
    if (!state.mayWriteLog(dialogs))
        return {SaveResult::Kind::Failed, EntryField::None, 0};
    if (!f.locator.isEmpty() && !isLocatorFormat(f.locator))
        return refuse(dialogs, text(Txt::MsgBadLocator, Language::Spanish), EntryField::Locator);
    if (f.satellite.trimmed().isEmpty())
        return refuse(dialogs, text(f.listening ? Txt::MsgSatelliteOrBalloonMissing : Txt::MsgSatelliteMissing, lang),
                      EntryField::Satellite);
    // Here a "," ends the number: "145,9" counts as 145, which still passes the checks.
    const double downlink = numericValue(f.downlinkFreq);
    if (downlink == 0)
        return refuse(dialogs, text(Txt::MsgDownlinkMissing, lang), EntryField::Downlink);
    if (downlink < 21)
        return refuse(dialogs, text(Txt::MsgDownlinkDoubtful, lang, {{"$nombre$", f.downlinkFreq}}),
                      EntryField::Downlink);
    if (!f.listening) {
        const double uplink = numericValue(f.uplinkFreq);
        if (uplink == 0)
            return refuse(dialogs, text(Txt::MsgUplinkMissing, lang), EntryField::Uplink);
        if (uplink < 21)
            return refuse(dialogs, text(Txt::MsgUplinkDoubtful, lang, {{"$nombre$", f.uplinkFreq}}),
                          EntryField::Uplink);
        if (satModeLabel(f.uplinkFreq, f.downlinkFreq).isEmpty()) {
            const QString question = text(Txt::MsgNotSatelliteMode, lang,
                                          {{"$Texto14$", f.uplinkFreq}, {"$Texto15$", f.downlinkFreq}});
            if (!dialogs.ask(question, Icon::Exclamation))
                return {SaveResult::Kind::Refused, EntryField::Downlink, 0};
        }
    }

    QDateTime utc = state.utcNow();
    if (f.manualTime) {
        // The fields correct themselves when left; a save made while the cursor is still in
        // one of them must not store a date or time that does not exist.
        const auto date = correctedManualDate(f.manualDate);
        if (!date)
            return refuse(dialogs, manualDateMessage(), EntryField::ManualDate);
        const auto time = manualTimeOf(f.manualTimeText);
        if (!time)
            return refuse(dialogs, manualTimeMessage(), EntryField::ManualTime);
        utc = QDateTime(*parseDayFirstDate(*date), *time, Qt::UTC);
    }

    QsoEntry entry;
    entry.uplinkMode = f.uplinkMode;
    entry.uplinkFreq = f.uplinkFreq;
    entry.station = f.station.trimmed();
    entry.reportSent = f.reportSent;
    entry.downlinkFreq = f.downlinkFreq;
    entry.reportReceived = f.reportReceived;
    entry.downlinkMode = f.downlinkMode;
    entry.notes = f.notes;
    entry.locator = f.locator;
    entry.satellite = f.satellite.trimmed();
    entry.orbit = f.orbit;
    entry.azimuth = f.azimuth;
    entry.elevation = f.elevation;
    entry.utc = utc;
    entry.listening = f.listening;
    entry.myCall = state.settings().callSign;
    entry.myLocator = state.settings().gridLocator;
    const QString log = state.currentLog().path;
    try {
        const QsoRecord record = recordForInsert(entry);
        const qint64 id = insertQso(log, record);
        state.announceQsoStored(id);
        return {SaveResult::Kind::Stored, EntryField::Station, id,
                savedQsoNotice(id, record.estacion, record.satelite, utc, lang)};
    } catch (const db::DbError &error) {
        dialogs.inform(text(Txt::MsgQsoNotSaved, lang, {{"$arch$", log}, {"$nombre$", error.message()}}),
                       Icon::Critical);
        return {SaveResult::Kind::Failed, EntryField::None, 0};
    }
}

} // namespace vorta
