#include "tracking/builtintracker.h"

#include "common/textvalue.h"

#include <algorithm>
#include <cmath>

namespace vorta {

namespace {

// A day ahead is as far as the tracker looks for a satellite's next pass.
constexpr double kLookAheadSeconds = 86400.0;

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
    m_lastOrbit.reset();
    m_lastPass.reset();
}

void BuiltInTracker::refresh(Schedule &schedule, const Sgp4 &orbit, double utc) const
{
    // A pass stays the current or next one until it has set; without a pass the satellite
    // cannot rise before the day searched is over. A clock put back starts over.
    if (schedule.known && utc < schedule.recheckAt && utc >= schedule.computedAt)
        return;
    schedule.pass = PassPredictor(orbit, *m_observer).nextPass(utc, kLookAheadSeconds);
    schedule.recheckAt = schedule.pass ? std::max(schedule.pass->los, utc + 1.0) : utc + kLookAheadSeconds;
    schedule.computedAt = utc;
    schedule.known = true;
}

std::optional<qsizetype> BuiltInTracker::nextToRise(double utc)
{
    std::optional<qsizetype> best;
    for (qsizetype i = 0; i < m_tracked.size(); ++i) {
        const Schedule &s = m_schedule[i];
        refresh(m_schedule[i], *m_tracked[i].orbit, utc);
        if (s.pass && s.pass->rises && (!best || s.pass->aos < m_schedule[*best].pass->aos))
            best = i;
    }
    return best;
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
    const Schedule *schedule = nullptr;
    if (chosen.isEmpty()) {
        const std::optional<qsizetype> next = nextToRise(utc);
        if (!next)
            return tick;
        satellite = &m_tracked[*next];
        schedule = &m_schedule[*next];
    } else {
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
        refresh(m_chosenSchedule, *satellite->orbit, utc);
        schedule = &m_chosenSchedule;
    }
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
