#include "tracking/builtintrackingsource.h"

#include <QDateTime>

#include <cmath>
#include <utility>

namespace vorta {

QString panelText(const BuiltInTracker::Tick &tick)
{
    if (tick.status == BuiltInTracker::Status::Tracking)
        return tick.text;
    // Without a space the panel would empty every field, the entry panel's frequencies too;
    // the space keeps the name a token of its own, and no azimuth, elevation, frequency or mode
    // token follows it.
    QString name = tick.satellite;
    name.replace(u' ', u'_');
    return QStringLiteral("SN") + name + u' ';
}

QString countdownText(double seconds)
{
    // Counted up, so that the countdown reads 00:00 at the very moment.
    const auto whole = qint64(std::ceil(std::max(0.0, seconds) - 1e-6));
    const qint64 h = whole / 3600, m = whole / 60 % 60, s = whole % 60;
    const QString ms = QStringLiteral("%1:%2").arg(m, 2, 10, QChar(u'0')).arg(s, 2, 10, QChar(u'0'));
    return h > 0 ? QString::number(h) + u':' + ms : ms;
}

QString passCountdown(const std::optional<Pass> &pass, double utc, Language language)
{
    if (!pass)
        return text(Txt::SkyNoPass, language);
    if (!pass->sets && (!pass->rises || utc >= pass->aos))
        return text(Txt::SkyAlwaysUp, language); // up as far ahead as the tracker looks
    if (pass->rises && utc < pass->aos)
        return text(Txt::SkyAosIn, language, {{"$nombre$", countdownText(pass->aos - utc)}});
    return text(Txt::SkyLosIn, language, {{"$nombre$", countdownText(pass->los - utc)}});
}

QString passTimes(const std::optional<Pass> &pass, Language language)
{
    if (!pass)
        return {};
    const auto time = [](bool known, double utc) {
        return known ? utcDateTime(utc).toString(QStringLiteral("HH:mm:ss")) : QStringLiteral("—");
    };
    return text(Txt::SkyPassTimes, language,
                {{"$aos$", time(pass->rises, pass->aos)},
                 {"$elev$", QString::number(std::lround(pass->maxElevation))},
                 {"$los$", time(pass->sets, pass->los)}});
}

QString trackerProblem(const BuiltInTracker::Tick &tick, bool hasElements, Language language)
{
    switch (tick.status) {
    case BuiltInTracker::Status::Tracking:
        return {};
    case BuiltInTracker::Status::NoStation:
        return text(Txt::TrackerNoStation, language);
    case BuiltInTracker::Status::NoSatellite:
        return text(hasElements ? Txt::TrackerNothingRises : Txt::TrackerNoElements, language);
    case BuiltInTracker::Status::NoElements:
        if (!hasElements)
            return text(Txt::TrackerNoElements, language);
        return text(Txt::TrackerNoElementsFor, language, {{"$nombre$", tick.satellite}});
    case BuiltInTracker::Status::NoOrbit:
        return text(Txt::TrackerNoOrbit, language, {{"$nombre$", tick.satellite}});
    case BuiltInTracker::Status::Searching:
        return text(Txt::TrackerSearching, language);
    }
    return {};
}

BuiltInTrackingSource::BuiltInTrackingSource(QObject *parent)
    : TrackingSource(parent), m_clock([] { return utcSeconds(QDateTime::currentDateTimeUtc()); })
{
    m_timer.setInterval(1000);
    m_soon.setSingleShot(true);
    m_soon.setInterval(0);
    m_opened.setSingleShot(true);
    m_opened.setInterval(0);
    connect(&m_timer, &QTimer::timeout, this, &BuiltInTrackingSource::tickNow);
    connect(&m_soon, &QTimer::timeout, this, &BuiltInTrackingSource::tickNow);
    connect(&m_opened, &QTimer::timeout, this, [this] {
        emit startFinished(StartOutcome::Connected);
        // A receiver of the outcome may have stopped the source again.
        if (!m_active)
            return;
        tickNow();
        m_timer.start();
    });
}

void BuiltInTrackingSource::setClock(Clock clock)
{
    m_clock = std::move(clock);
}

void BuiltInTrackingSource::setLocator(QStringView locator)
{
    const bool had = m_tracker.hasStation();
    m_tracker.setLocator(locator);
    if (had || m_tracker.hasStation())
        tickSoon();
}

void BuiltInTrackingSource::setElements(const QList<OrbitalElements> &sets)
{
    m_elementCount = sets.size();
    m_tracker.setElements(sets);
    tickSoon();
}

void BuiltInTrackingSource::setSatellites(const QList<SatelliteEntry> &entries)
{
    m_tracker.setSatellites(entries);
    tickSoon();
}

void BuiltInTrackingSource::setChoice(const QString &satellite)
{
    const QString choice = satellite.trimmed();
    if (choice == m_choice)
        return;
    // The panel passes a name on only when it changes: had the tracker gone on sending the
    // satellite the operator just let go of (the next to rise may well be the same), the
    // emptied field would never be filled again.
    m_forgetName = choice.isEmpty();
    m_choice = choice;
    tickSoon();
}

void BuiltInTrackingSource::start()
{
    m_timer.stop();
    m_soon.stop();
    m_active = true;
    m_opened.start();
}

void BuiltInTrackingSource::stop()
{
    m_active = false;
    m_opened.stop();
    m_timer.stop();
    m_soon.stop();
}

void BuiltInTrackingSource::tickSoon()
{
    // Not while the outcome of start() is still due: the first tick follows it.
    if (m_active && !m_opened.isActive())
        m_soon.start();
}

void BuiltInTrackingSource::tickNow()
{
    if (!m_active)
        return;
    m_lastTime = now();
    m_last = m_tracker.tick(m_choice, m_lastTime);
    if (std::exchange(m_forgetName, false))
        emit textReceived(panelText({}));
    if (!m_active)
        return;
    emit textReceived(panelText(m_last));
    if (m_active)
        emit ticked();
}

} // namespace vorta
