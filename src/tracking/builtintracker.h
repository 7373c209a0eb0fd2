// The built-in tracker: computes, from element sets and the station's locator, what an external
// tracking program would send — the tracking text with azimuth, elevation and the
// Doppler-corrected frequencies of the satellite list — so that the tracking panel takes it
// through the very path it takes the external tracker's texts. It also predicts passes: the
// satellite to follow when none is chosen, the passes of the next hours and the track of the
// current pass for a sky plot.
#pragma once

#include "tracking/lookangles.h"
#include "tracking/passes.h"
#include "tracking/satellitelist.h"
#include "tracking/sgp4.h"

#include <QList>
#include <QString>

#include <memory>
#include <optional>

namespace vorta {

// Whole hertz of a frequency text in MHz ("145.960", "10489,55"); nothing for an empty or zero
// frequency.
std::optional<qint64> frequencyHz(QStringView megahertz);

// The tracking text for a satellite seen at the given angles:
//   SN<name> AZ<azimuth> EL<elevation> DN<hertz> UP<hertz> DM<mode> UM<mode>
// The name's spaces become "_" (a space ends the name token). The downlink is the entry's
// downlink as heard (Doppler-shifted), the uplink the entry's uplink pre-corrected so that the
// satellite hears it on frequency; a frequency or mode the entry lacks is left out, so the
// panel keeps its frequency field and empties its mode. The elevation is rounded down to a
// tenth, so a satellite below the horizon never reads as 0.0 (the badge would call it visible).
QString trackingText(QStringView satelliteName, const LookAngles &look, const SatelliteEntry &entry);

// The same computed for an instant; nothing when the orbit gives no position then.
std::optional<QString> trackingTextAt(QStringView satelliteName, const SatelliteEntry &entry,
                                      const Sgp4 &orbit, const Observer &observer, double utc);

// A satellite with its element set and orbit.
struct TrackedSatellite
{
    QString name; // the name the tracker sends: the list's name, or the chosen text
    std::optional<SatelliteEntry> entry; // its satellite-list entry, when it has one
    OrbitalElements elements;
    std::shared_ptr<const Sgp4> orbit;
};

// A pass of one of the satellite list's satellites.
struct ListedPass
{
    QString satellite;
    Pass pass;
};

class BuiltInTracker
{
public:
    // How long after LOS a satellite followed by itself is still followed: a QSO made at the end
    // of a pass is often typed, or saved, a little after it.
    static constexpr double kGraceSeconds = 120.0;
    // How many positions one tick may compute in its search for the next satellite to rise
    // (the tracker benchmark shows what that costs). A search that needs more goes on at the next ticks, so that no tick
    // keeps the window waiting; the satellite followed meanwhile stays, and with none the
    // tick says it is searching.
    static constexpr qsizetype kSearchLooksPerTick = 800;

    // What the tracker has for the moment asked.
    enum class Status {
        Tracking,    // text holds the tracking text
        NoStation,   // the own locator is not a locator
        NoSatellite, // nothing chosen and none of the list's satellites rises within a day
        NoElements,  // the chosen satellite has no element set
        NoOrbit,     // its orbit gives no position now (it decayed, or the set is broken)
        Searching,   // nothing chosen, and the next to rise is still being looked for
    };

    struct Tick
    {
        Status status = Status::NoSatellite;
        QString satellite;  // the satellite followed (empty for NoSatellite)
        QString text;       // the tracking text to feed the tracking panel
        LookAngles look;
        std::optional<Pass> pass; // its pass in progress, or else its next one within a day
        double elementAgeDays = 0;
        bool stale = false;       // the element set is more than two weeks old
        int catalogueNumber = 0;
    };

    // The own locator; false when it is not a locator (nothing can be tracked then).
    bool setLocator(QStringView locator);
    bool hasStation() const { return m_observer.has_value(); }
    // The element sets (all of a file's, see readOrbitalElements).
    void setElements(const QList<OrbitalElements> &sets);
    // The satellite list's entries: their frequencies and modes, and the satellites among
    // which the next to rise is chosen.
    void setSatellites(const QList<SatelliteEntry> &entries);
    // While held (the operator is typing a QSO), the satellite followed by itself stays
    // followed, however long ago its pass ended and whatever rises meanwhile.
    void setHold(bool hold) { m_hold = hold; }
    void setSearchBudget(qsizetype looksPerTick) { m_searchBudget = looksPerTick; }

    // The list's satellites that have an element set, in list order.
    const QList<TrackedSatellite> &satellites() const { return m_tracked; }

    // The tracking data once a second. chosen is the entry panel's satellite: its element set
    // is found by name or catalogue number, its frequencies and modes by the satellite list
    // (letter case aside). With nothing chosen the tracker follows the list's satellite whose
    // current pass rose first, or else the next to rise (satellites that never rise, such as
    // a geostationary one always in view, are not followed by themselves), and stays with it
    // until kGraceSeconds after its LOS, and longer while held.
    Tick tick(QStringView chosen, double utc);

    // The passes of the list's satellites over the span, by rise time; a satellite up all the
    // time (geostationary) is listed with rises and sets false.
    QList<ListedPass> passList(double from, double span = 86400.0) const;

    // The track of the pass the last tick reported, for a sky plot; empty when there is none.
    QList<SkyPoint> currentTrack(double stepSeconds = 10.0) const;

private:
    // What is known of a satellite's passes from some instant on.
    struct Schedule
    {
        std::optional<Pass> pass; // its current or next pass, once found
        // Without a pass: from `from` on it is below the horizon, and it does not rise before
        // clearUntil.
        double from = 0;
        double clearUntil = 0;
        bool known = false;
    };

    void rebuild();
    // Forgets what no longer holds at utc: a pass that is over, everything when the clock was
    // put back.
    static void age(Schedule &schedule, double utc);
    // Looks on from what is known until the satellite's next pass or until `until`, counting
    // the positions computed into looks.
    void searchOn(Schedule &schedule, const Sgp4 &orbit, double utc, double until, qsizetype &looks) const;
    // The current or next pass within a day, for the satellite followed.
    void ensurePass(Schedule &schedule, const Sgp4 &orbit, double utc) const;
    // The satellite to follow by itself: nothing when none rises within a day, or, with
    // unfinished set, when the search has not yet ruled out every other candidate.
    std::optional<qsizetype> nextToRise(double utc, bool &unfinished);
    qsizetype trackedIndex(const QString &name) const;
    Tick follow(const TrackedSatellite &satellite, double utc);

    std::optional<Observer> m_observer;
    QList<OrbitalElements> m_sets;
    QList<SatelliteEntry> m_entries;
    QList<TrackedSatellite> m_tracked;
    QList<Schedule> m_schedule; // one per tracked satellite
    // The satellite chosen by name, kept while the choice stays the same.
    QString m_chosenText;
    std::optional<TrackedSatellite> m_chosen;
    Schedule m_chosenSchedule;
    // The satellite followed by itself: since when, and the LOS of the pass it was taken for.
    QString m_followed;
    double m_followedSince = 0;
    double m_followedUntil = 0;
    bool m_hold = false;
    qsizetype m_searchBudget = kSearchLooksPerTick;
    // The satellite and pass of the last tick, for the track.
    std::shared_ptr<const Sgp4> m_lastOrbit;
    std::optional<Pass> m_lastPass;
};

} // namespace vorta
