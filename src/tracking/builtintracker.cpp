#include "tracking/builtintracker.h"

#include "common/textvalue.h"

#include <algorithm>
#include <cmath>

namespace vorta {

namespace {

// A day ahead is as far as the tracker looks for a satellite's next pass.
constexpr double kLookAheadSeconds = 86400.0;
// How far the search for the next to rise looks past a limit that moves on with the clock, so
// that the ticks after it have nothing more to search for a while.
constexpr double kSearchMarginSeconds = 600.0;

QString modeToken(QStringView tag, const QString &mode)
{
    QString value = mode.simplified();
    value.remove(u' '); // a space would end the token
    return value.isEmpty() ? QString() : u' ' + tag.toString() + value;
}

} // namespace

std::optional<qint64> frequencyHz(QStringView megahertz)
{
    const double value = frequencyValue(megahertz);
    if (!(value > 0))
        return std::nullopt;
    return qint64(std::llround(value * 1e6));
}

QString trackingText(QStringView satelliteName, const LookAngles &look, const SatelliteEntry &entry)
{
    QString name = satelliteName.toString();
    name.replace(u' ', u'_');
    double azimuth = std::round(look.azimuth * 10.0) / 10.0;
    if (azimuth >= 360.0)
        azimuth -= 360.0;
    const double elevation = std::floor(look.elevation * 10.0 + 1e-9) / 10.0;

    QString text = QStringLiteral("SN") + name + QStringLiteral(" AZ") + QString::number(azimuth, 'f', 1)
                   + QStringLiteral(" EL") + QString::number(elevation, 'f', 1);
    if (const std::optional<qint64> hz = frequencyHz(entry.downlink))
        text += QStringLiteral(" DN")
                + QString::number(std::llround(dopplerDownlink(double(*hz), look.rangeRateKmS)));
    if (const std::optional<qint64> hz = frequencyHz(entry.uplink))
        text += QStringLiteral(" UP")
                + QString::number(std::llround(dopplerUplink(double(*hz), look.rangeRateKmS)));
    text += modeToken(u"DM", entry.downlinkMode);
    text += modeToken(u"UM", entry.uplinkMode);
    return text;
}

std::optional<QString> trackingTextAt(QStringView satelliteName, const SatelliteEntry &entry,
                                      const Sgp4 &orbit, const Observer &observer, double utc)
{
    const Sgp4Result result = orbit.at(utc);
    if (!result.ok())
        return std::nullopt;
    return trackingText(satelliteName, lookAngles(observer, result.state, utc), entry);
}

bool BuiltInTracker::setLocator(QStringView locator)
{
    const std::optional<Observer> observer = observerAtLocator(locator);
    const bool moved = observer.has_value() != m_observer.has_value()
                       || (observer && (observer->latitude != m_observer->latitude
                                        || observer->longitude != m_observer->longitude));
    m_observer = observer;
    if (moved)
        rebuild();
    return observer.has_value();
}

void BuiltInTracker::setElements(const QList<OrbitalElements> &sets)
{
    m_sets = sets;
    rebuild();
}

void BuiltInTracker::setSatellites(const QList<SatelliteEntry> &entries)
{
    m_entries = entries;
    rebuild();
}

void BuiltInTracker::rebuild()
{
    m_tracked.clear();
    for (const SatelliteEntry &entry : m_entries) {
        const qsizetype found = findOrbitalElements(m_sets, entry.name.trimmed());
        if (found < 0)
            continue;
        auto orbit = std::make_shared<const Sgp4>(m_sets[found]);
        if (orbit->valid())
            m_tracked.append({entry.name.trimmed(), entry, m_sets[found], std::move(orbit)});
    }
    m_schedule = QList<Schedule>(m_tracked.size());
    m_chosenText.clear();
    m_chosen.reset();
    m_chosenSchedule = Schedule();
    // Another list or station makes another next to rise, except for a QSO being typed: its
    // satellite stays followed, when it is still among them.
    if (!m_hold)
        m_followed.clear();
    m_lastOrbit.reset();
    m_lastPass.reset();
}

void BuiltInTracker::age(Schedule &schedule, double utc)
{
    if (!schedule.known)
        return;
    if (utc < schedule.from) {
        schedule = Schedule(); // the clock was put back
        return;
    }
    if (!schedule.pass || utc < schedule.pass->los)
        return;
    // After a pass that set, the satellite is below the horizon from its LOS on; one that was
    // still up where the search ended is looked at afresh.
    const Pass over = *schedule.pass;
    schedule.pass.reset();
    schedule.known = over.sets;
    schedule.from = schedule.clearUntil = over.los;
}

void BuiltInTracker::searchOn(Schedule &schedule, const Sgp4 &orbit, double utc, double until,
                              qsizetype &looks) const
{
    // What is known ends at clearUntil; a gap between then and now is in the past, so the
    // search starts now, and finds a pass in progress too.
    const bool fresh = !schedule.known || schedule.clearUntil <= utc;
    const double from = fresh ? utc : schedule.clearUntil;
    if (fresh)
        schedule.from = from;
    schedule.known = true;
    schedule.clearUntil = std::max(from, until);
    if (until <= from)
        return;
    const PassPredictor predictor(orbit, *m_observer);
    schedule.pass = predictor.nextPass(from, until - from);
    looks += predictor.looks();
}

void BuiltInTracker::ensurePass(Schedule &schedule, const Sgp4 &orbit, double utc) const
{
    age(schedule, utc);
    qsizetype looks = 0;
    if (!schedule.pass && (!schedule.known || schedule.clearUntil < utc + kLookAheadSeconds))
        searchOn(schedule, orbit, utc, utc + kLookAheadSeconds, looks);
}

std::optional<qsizetype> BuiltInTracker::nextToRise(double utc, bool &unfinished)
{
    // The first to rise is found without every satellite's next pass: once one is known to
    // rise at some instant, the others need only be searched up to that instant. What a
    // search finds stays known until that pass is over.
    for (Schedule &schedule : m_schedule)
        age(schedule, utc);
    qsizetype looks = 0;
    for (;;) {
        std::optional<qsizetype> best;
        for (qsizetype i = 0; i < m_schedule.size(); ++i) {
            const std::optional<Pass> &pass = m_schedule[i].pass;
            if (pass && pass->rises && (!best || pass->aos < m_schedule[*best].pass->aos))
                best = i;
        }
        // A satellite that rose before a pass in progress would be up now: the others need
        // only be known to be down now.
        const double limit = best ? std::max(m_schedule[*best].pass->aos, utc + 1.0) : utc + kLookAheadSeconds;
        std::optional<qsizetype> open; // the satellite known least far ahead, short of the limit
        for (qsizetype i = 0; i < m_schedule.size(); ++i) {
            const Schedule &s = m_schedule[i];
            if (s.pass || (s.known && s.clearUntil >= limit))
                continue;
            if (!open || (m_schedule[*open].known && (!s.known || s.clearUntil < m_schedule[*open].clearUntil)))
                open = i;
        }
        if (!open)
            return best;
        if (looks >= m_searchBudget) {
            unfinished = true;
            return std::nullopt;
        }
        const bool moving = !best || m_schedule[*best].pass->aos <= utc + 1.0;
        searchOn(m_schedule[*open], *m_tracked[*open].orbit, utc, moving ? limit + kSearchMarginSeconds : limit, looks);
    }
}

qsizetype BuiltInTracker::trackedIndex(const QString &name) const
{
    if (name.isEmpty())
        return -1;
    for (qsizetype i = 0; i < m_tracked.size(); ++i)
        if (m_tracked[i].name == name)
            return i;
    return -1;
}

BuiltInTracker::Tick BuiltInTracker::follow(const TrackedSatellite &satellite, double utc)
{
    Tick tick;
    tick.satellite = satellite.name;
    tick.elementAgeDays = elementAgeDays(satellite.elements, utc);
    tick.stale = elementsStale(satellite.elements, utc);
    tick.catalogueNumber = satellite.elements.catalogueNumber;
    const Sgp4Result result = satellite.orbit->at(utc);
    if (!result.ok()) {
        tick.status = Status::NoOrbit;
        return tick;
    }
    tick.status = Status::Tracking;
    tick.look = lookAngles(*m_observer, result.state, utc);
    tick.text = trackingText(satellite.name, tick.look, satellite.entry.value_or(SatelliteEntry()));
    return tick;
}

BuiltInTracker::Tick BuiltInTracker::tick(QStringView chosenText, double utc)
{
    m_lastOrbit.reset();
    m_lastPass.reset();
    Tick tick;
    if (!m_observer) {
        tick.status = Status::NoStation;
        return tick;
    }
    const QString chosen = chosenText.trimmed().toString();
    const TrackedSatellite *satellite = nullptr;
    Schedule *schedule = nullptr;
    if (chosen.isEmpty()) {
        qsizetype index = trackedIndex(m_followed);
        const bool stays = index >= 0 && utc >= m_followedSince && (m_hold || utc < m_followedUntil + kGraceSeconds);
        if (!stays) {
            bool unfinished = false;
            if (const std::optional<qsizetype> next = nextToRise(utc, unfinished)) {
                index = *next;
                m_followed = m_tracked[index].name;
                m_followedSince = utc;
                m_followedUntil = m_schedule[index].pass->los;
            } else if (!unfinished) {
                m_followed.clear();
                return tick;
            } else if (index < 0) {
                tick.status = Status::Searching;
                return tick;
            } // else the satellite followed stays until the search is done
        }
        satellite = &m_tracked[index];
        schedule = &m_schedule[index];
    } else {
        // The operator's choice ends what was followed by itself: emptied again, the field
        // takes the next to rise from then on, not a satellite followed hours before.
        m_followed.clear();
        if (chosen != m_chosenText) {
            m_chosenText = chosen;
            m_chosen.reset();
            m_chosenSchedule = Schedule();
            const qsizetype found = findOrbitalElements(m_sets, chosen);
            if (found >= 0) {
                std::optional<SatelliteEntry> entry;
                for (const SatelliteEntry &e : m_entries)
                    if (e.name.trimmed().compare(chosen, Qt::CaseInsensitive) == 0) {
                        entry = e;
                        break;
                    }
                // The name sent is the satellite field's own text, so that feeding the text
                // back into the panel leaves the field as the operator chose it.
                m_chosen = TrackedSatellite{chosen, entry, m_sets[found], std::make_shared<const Sgp4>(m_sets[found])};
            }
        }
        if (!m_chosen) {
            tick.status = Status::NoElements;
            tick.satellite = chosen;
            return tick;
        }
        satellite = &*m_chosen;
        schedule = &m_chosenSchedule;
    }
    ensurePass(*schedule, *satellite->orbit, utc);
    tick = follow(*satellite, utc);
    tick.pass = schedule->pass;
    m_lastOrbit = satellite->orbit;
    m_lastPass = schedule->pass;
    return tick;
}

QList<ListedPass> BuiltInTracker::passList(double from, double span) const
{
    QList<ListedPass> list;
    if (!m_observer)
        return list;
    for (const TrackedSatellite &satellite : m_tracked) {
        const PassPredictor predictor(*satellite.orbit, *m_observer);
        for (const Pass &pass : predictor.passes(from, from + span))
            list.append({satellite.name, pass});
    }
    std::stable_sort(list.begin(), list.end(),
                     [](const ListedPass &a, const ListedPass &b) { return a.pass.aos < b.pass.aos; });
    return list;
}

QList<SkyPoint> BuiltInTracker::currentTrack(double stepSeconds) const
{
    if (!m_observer || !m_lastOrbit || !m_lastPass)
        return {};
    return PassPredictor(*m_lastOrbit, *m_observer).track(*m_lastPass, stepSeconds);
}

} // namespace vorta
