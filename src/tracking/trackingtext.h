// The live tracking link as the main window's tracking panel sees it: the parser of one
// "TrackingData" text from the tracker, and the panel state that turns the successive texts,
// the 1-second clock and the 30-second watchdog into field changes, notices and the state of
// the "Usar Orbitron" check box. Nothing here needs a window; the panel connects its widgets to
// the signals of TrackingPanelState.
#pragma once

#include "config/languages.h"

#include <QColor>
#include <QObject>
#include <QString>
#include <QStringList>

#include <optional>

namespace vorta {

class Dialogs;
class TrackingSource;

// One parsed text. The tracker writes
//   SNAO-91 AZ123.4 EL10.5 DN145960000 UP435250000 DMFM UMFM
// name, azimuth and elevation first, the other tokens optional and in any order.
struct TrackingText
{
    // False when the text held no space at all: then every field of the panel (both
    // frequencies included) is emptied and the visibility badge hidden.
    bool hasTokens = false;
    QString satellite; // token 1 with every "SN" removed
    QString azimuth;   // token 2 with every "AZ" removed
    QString elevation; // token 3 with every "EL" removed
    // False when the text ends before an elevation token: the badge is then hidden.
    bool hasElevation = false;
    // Reformatted "145.960.000"; nothing when the text has no "DN" / "UP": the panel field
    // keeps what it had.
    std::optional<QString> downlink;
    std::optional<QString> uplink;
    // The mode texts; empty when the text has no "DM" / "UM" (the panel field is emptied).
    QString downlinkMode;
    QString uplinkMode;

    bool operator==(const TrackingText &) const = default;
};

TrackingText parseTrackingText(QStringView text);

// Hz digits as the panel shows them, "MHz.kHz.Hz": "145800000" gives "145.800.000",
// "2401200000" gives "2401.200.000", "29400000" gives "29.400.000"; a text of fewer than seven
// digits is cut from the left ("0" gives "0..").
QString trackingFrequency(QStringView hzDigits);

// The visibility badge of the panel.
struct VisibilityBadge
{
    bool shown = false;
    QString caption;
    QColor colour;

    bool operator==(const VisibilityBadge &) const = default;
};

// The badge's white words read on both colours: a red darker than pure red, on which white
// reaches only 4:1.
inline const QColor kBadgeVisibleColour(0, 128, 0);
inline const QColor kBadgeHiddenColour(200, 0, 0);

// "VISIBLE" on green when the numeric value of the elevation is 0 or more; otherwise the hidden
// word of the language ("OCULTO", in English "HIDE") on red.
VisibilityBadge visibilityBadge(QStringView elevation, Language language);

// True for the tracked names the watchdog leaves alone: the Sun and the Moon move so slowly that
// a tracker may well send nothing new about them for a long time.
bool isUnwatchedBody(QStringView trackedName);

// Decides when the link counts as lost. The 30-second timer calls tick(); the source feeds
// textArrived() for every text and connectionClosed() when an established connection drops.
// Contact is lost when, at a tick, no text has arrived since the previous tick or the connection
// is closed (and no text has come since). Equal azimuths prove nothing: a geostationary
// satellite keeps one azimuth for ever while the link is alive.
class LinkWatchdog
{
public:
    void textArrived();
    void connectionClosed();
    // True when contact is lost. Nothing is watched while the tracked name is empty or names
    // the Sun or the Moon. Every tick starts a new interval.
    bool tick(QStringView trackedName);

private:
    bool m_textSeen = false;
    bool m_closed = false;
};

// The panel fields in the order the link fills them.
struct TrackingFields
{
    QString satellite, azimuth, elevation, downlink, uplink, downlinkMode, uplinkMode;
    bool operator==(const TrackingFields &) const = default;
};

// The tracking panel's logic: field values, the visibility badge, the panel's and the compass
// label's visibility, the data-wait notice, the watchdog and the "Usar Orbitron" check box.
// Operator messages go through the dialogs. Every change of a field is passed on once, and only
// when its text really changes (the same text arriving again passes nothing on), so a value the
// operator typed into the entry panel stays until the tracker sends a different one.
// Texts are taken only while the box is ticked: clearing it (by hand, after a failed start or
// when contact is lost) ends the link and forgets the panel's values without passing that on,
// so the entry panel never takes values from a panel the operator cannot see.
class TrackingPanelState : public QObject
{
    Q_OBJECT
public:
    explicit TrackingPanelState(Dialogs &dialogs, QObject *parent = nullptr);

    void setLanguage(Language language);
    Language language() const { return m_language; }
    // The entries of the entry panel's downlink and uplink mode lists, in list order.
    void setModeLists(const QStringList &downlinkModes, const QStringList &uplinkModes);
    // Whether the tracker's installation was found (its installed marker is not empty).
    void setOrbitronInstalled(bool installed) { m_installed = installed; }

    // The source whose texts and Start link outcomes drive the panel. Not owned; may be null.
    // The panel starts it when the box is ticked and stops it when the box is cleared.
    void attachSource(TrackingSource *source);
    // Replaces the source while the program runs: the old link ends (the panel's values are
    // forgotten quietly, as when the box is cleared) and, with the box ticked, the new one is
    // started as at start-up. A source computed inside Vorta needs no installation, so a box
    // disabled for want of one is enabled again.
    void switchSource(TrackingSource *source);

    const TrackingFields &fields() const { return m_fields; }
    const VisibilityBadge &badge() const { return m_badge; }
    bool panelVisible() const { return m_panelVisible; }
    bool compassVisible() const { return m_compassVisible; }
    bool useOrbitron() const { return m_useOrbitron; }
    bool checkBoxEnabled() const { return m_checkBoxEnabled; }
    bool dataWaitShown() const { return m_dataWait; }

    // At start, once the configuration is read (and again when a saved configuration changes
    // the option): shows or hides the panel as the option says and starts or ends the link.
    void startUp(bool useOrbitronOption);
    // The operator ticked or cleared "Usar Orbitron".
    void setUseOrbitron(bool ticked);

    // One text from the tracker (also reachable through the attached source); ignored while
    // the box is cleared.
    void receiveText(const QString &text);
    // The connection of the attached source dropped.
    void connectionClosed();
    // The outcome of a Start link: false when no tracker answered.
    void linkStarted(bool connected);

    // The 1-second clock tick: the data-wait notice.
    void clockTick();
    // The 30-second watchdog tick. True when it declared contact lost.
    bool watchdogTick();

signals:
    // Per field, emitted only when its text changes, and for another satellite also when a
    // frequency or mode its text carries stays the same (see setDownlink).
    void satelliteChanged(const QString &trackingName); // → satellite field and orbit
    void azimuthChanged(const QString &azimuth);        // → compass label
    void elevationChanged(const QString &elevation);
    void downlinkChanged(const QString &frequency);     // → downlink frequency field
    void uplinkChanged(const QString &frequency);       // → uplink frequency field
    void downlinkModeChanged(const QString &mode);
    void uplinkModeChanged(const QString &mode);
    // A changed mode that equals an entry of the mode list exactly: the list shows that entry.
    void downlinkModeSelected(int index);
    void uplinkModeSelected(int index);
    void badgeChanged(const vorta::VisibilityBadge &badge);
    // The link ended and every field was emptied at once, without a change of its own: only
    // the panel's display follows (fields()).
    void fieldsReset();
    void panelVisibleChanged(bool visible);   // with it the frame below moves
    void compassVisibleChanged(bool visible);
    // The logic set the check box (a failed start, the watchdog); the box shows this value.
    void useOrbitronChanged(bool ticked);
    // The check box stays ticked and disabled until the program restarts (or a source that
    // needs no installation is chosen: checkBoxReenabled()).
    void checkBoxDisabled();
    void checkBoxReenabled();
    void focusCallSign();

private:
    enum class StartContext { None, StartUp, CheckBox };

    void startLink(StartContext context);
    void stopLink();
    void applyCheckBox(bool ticked);
    void apply(const TrackingText &text);
    void emptyFields();
    void setSatellite(const QString &value);
    void setAzimuth(const QString &value);
    void setElevation(const QString &value);
    // again passes the value on even unchanged: with another satellite the entry panel gives its
    // fields back to tracking, and takes a value the new satellite shares with the old one (FM
    // and FM) too. What the text does not carry is not set, so nothing of the satellite before
    // reaches the fields.
    void setDownlink(const QString &value, bool again = false);
    void setUplink(const QString &value, bool again = false);
    void setDownlinkMode(const QString &value, bool again = false);
    void setUplinkMode(const QString &value, bool again = false);
    void setBadge(const VisibilityBadge &badge);
    void setPanelVisible(bool visible);
    void setCompassVisible(bool visible);

    Dialogs &m_dialogs;
    TrackingSource *m_source = nullptr;
    Language m_language = Language::Spanish;
    QStringList m_downlinkModes, m_uplinkModes;
    bool m_installed = false;

    TrackingFields m_fields;
    VisibilityBadge m_badge;
    bool m_panelVisible = false;
    bool m_compassVisible = true;
    bool m_useOrbitron = false;
    bool m_checkBoxEnabled = true;
    bool m_dataWait = false;
    StartContext m_pendingStart = StartContext::None;
    LinkWatchdog m_watchdog;
};

} // namespace vorta
