// The built-in tracker as a source of tracking texts: once a second it computes the satellite
// the operator chose in the entry panel (or, with none chosen, the next of the satellite list to
// rise) and delivers the same text a tracking program beside Vorta would send. The tracking
// panel takes it through the very path it takes that program's texts, so every rule downstream
// (panel, satellite field, orbit, bands, sat mode, watchdog, the stored azimuth and elevation)
// holds for it unchanged. There is nothing to install or start: Start link always succeeds.
#pragma once

#include "config/languages.h"
#include "tracking/builtintracker.h"
#include "tracking/trackingsource.h"

#include <QTimer>

#include <functional>

namespace vorta {

// The text the panel gets for a tick. A satellite that cannot be computed now (no element set,
// no orbit, no station) is sent by name alone: the panel keeps the satellite and the entry
// panel's frequencies, and empties azimuth, elevation and modes, so no QSO is stored with the
// antenna position of some earlier satellite. With nothing to follow the name is empty too.
QString panelText(const BuiltInTracker::Tick &tick);

// "05:12", "1:05:12": the time from now to an instant, for the countdown to AOS and LOS.
QString countdownText(double seconds);

// The countdown line of the sky panel: "AOS en 05:12" before the pass, "LOS en 03:40" during
// it, "Siempre visible" for a satellite that neither rises nor sets, "Sin pasos en 24 h"
// without a pass.
QString passCountdown(const std::optional<Pass> &pass, double utc, Language language);
// "AOS 14:05  máx. 45°  LOS 14:17 UTC"; empty without a pass.
QString passTimes(const std::optional<Pass> &pass, Language language);
// What the sky panel says when the tracker follows nothing; empty while it tracks.
// hasElements: whether any element set is loaded at all.
QString trackerProblem(const BuiltInTracker::Tick &tick, bool hasElements, Language language);

class BuiltInTrackingSource : public TrackingSource
{
    Q_OBJECT
public:
    using Clock = std::function<double()>; // UTC seconds

    explicit BuiltInTrackingSource(QObject *parent = nullptr);

    // The instant the tracker computes: the system's UTC clock, which knows nothing of the
    // configured UTC offset (an offset left at winter time must not move the satellites by an
    // hour). Tests set a clock of their own.
    void setClock(Clock clock);
    double now() const { return m_clock(); }

    // What the tracker works from. Each change is computed at once while the source runs.
    void setLocator(QStringView locator);
    void setElements(const QList<OrbitalElements> &sets);
    void setSatellites(const QList<SatelliteEntry> &entries);
    qsizetype elementCount() const { return m_elementCount; }
    const BuiltInTracker &tracker() const { return m_tracker; }

    // The satellite the operator chose (typed or picked into the satellite field); empty to
    // follow the next to rise. The field set by the tracker itself is no choice: otherwise the
    // first satellite followed would stay chosen for good.
    void setChoice(const QString &satellite);
    const QString &choice() const { return m_choice; }
    // While a QSO is being typed, the satellite followed by itself stays followed.
    void setHold(bool hold) { m_tracker.setHold(hold); }

    void start() override;
    void stop() override;
    bool isActive() const override { return m_active; }
    // Nothing can fail to answer: there is nothing to try again.
    void keepTrying() override {}
    bool isExternal() const override { return false; }

    // One tick now, the 1-s timer's work.
    void tickNow();
    const BuiltInTracker::Tick &lastTick() const { return m_last; }
    double lastTickTime() const { return m_lastTime; }
    // The track of the pass of the last tick, for the sky plot.
    QList<SkyPoint> currentTrack(double stepSeconds = 10.0) const { return m_tracker.currentTrack(stepSeconds); }
    // The passes of the satellite list's satellites from now on.
    QList<ListedPass> passList(double span = 86400.0) const { return m_tracker.passList(now(), span); }

signals:
    // A tick was computed and its text delivered (lastTick()).
    void ticked();

private:
    void tickSoon();

    BuiltInTracker m_tracker;
    Clock m_clock;
    QTimer m_timer;  // the 1-s tick
    QTimer m_soon;   // a tick right after a change, several changes taking one
    QTimer m_opened; // the outcome of start(), delivered from the event loop
    bool m_active = false;
    QString m_choice;
    bool m_forgetName = false; // the choice was dropped: the next tick first sends no name
    qsizetype m_elementCount = 0;
    BuiltInTracker::Tick m_last;
    double m_lastTime = 0;
};

} // namespace vorta
