#include "tracking/trackingtext.h"

#include "common/dialogs.h"
#include "common/textvalue.h"
#include "tracking/trackingsource.h"

namespace vorta {

namespace {

// The tracker's texts are short; anything after this many characters is not looked at.
constexpr qsizetype kMaxRest = 1000;
// A tagged value is at most this long.
constexpr qsizetype kMaxValue = 100;

// The text up to its first space, or the whole text when it has none.
QStringView firstToken(QStringView s)
{
    const qsizetype space = s.indexOf(u' ');
    return space < 0 ? s : s.left(space);
}

QString without(QStringView token, QStringView tag)
{
    QString out = token.toString();
    out.remove(tag.toString());
    return out;
}

// The value after the first occurrence of a tag anywhere in s, cut at the next space.
std::optional<QString> taggedValue(QStringView s, QStringView tag)
{
    const qsizetype at = s.indexOf(tag);
    if (at < 0)
        return std::nullopt;
    return firstToken(s.mid(at + tag.size(), kMaxValue)).toString();
}

} // namespace

QString trackingFrequency(QStringView hz)
{
    // Grouped from the right, so the first group is always whole MHz: a 13 cm downlink
    // (2401200000) reads 2401.200.000 and a 10 m one (29400000) 29.400.000, and the entry
    // fields that take this text get the right band. A text too short to hold the kHz and Hz
    // groups is cut from the left as it comes.
    if (hz.size() < 7)
        return hz.left(3).toString() + u'.' + hz.mid(3, 3).toString() + u'.' + hz.mid(6).toString();
    const qsizetype mhz = hz.size() - 6;
    return hz.left(mhz).toString() + u'.' + hz.mid(mhz, 3).toString() + u'.' + hz.mid(mhz + 3).toString();
}

TrackingText parseTrackingText(QStringView text)
{
    TrackingText out;
    QString s = text.toString();
    s.remove(QStringLiteral("\r\n"));

    const qsizetype space = s.indexOf(u' ');
    if (space < 0)
        return out;
    out.hasTokens = true;
    out.satellite = without(QStringView(s).left(space), u"SN");

    const QStringView rest = QStringView(s).mid(space + 1, kMaxRest);
    out.azimuth = without(firstToken(rest), u"AZ");
    if (const auto hz = taggedValue(rest, u"DN"))
        out.downlink = trackingFrequency(*hz);
    if (const auto hz = taggedValue(rest, u"UP"))
        out.uplink = trackingFrequency(*hz);
    out.downlinkMode = taggedValue(rest, u"DM").value_or(QString());
    out.uplinkMode = taggedValue(rest, u"UM").value_or(QString());

    // A text that ends after the azimuth has no elevation; an elevation token may end the text.
    const qsizetype second = rest.indexOf(u' ');
    if (second >= 0) {
        out.hasElevation = true;
        out.elevation = without(firstToken(rest.mid(second + 1, kMaxRest)), u"EL");
    }
    return out;
}

VisibilityBadge visibilityBadge(QStringView elevation, Language language)
{
    if (numericValue(elevation) >= 0)
        return {true, text(Txt::BadgeVisible, language), kBadgeVisibleColour};
    return {true, text(Txt::BadgeHidden, language), kBadgeHiddenColour};
}

bool isUnwatchedBody(QStringView name)
{
    return name == u"Moon" || name == u"Sun" || name == u"Luna" || name == u"Sol";
}

void LinkWatchdog::textArrived()
{
    m_textSeen = true;
    m_closed = false; // a text proves the link is up again
}

void LinkWatchdog::connectionClosed()
{
    m_closed = true;
}

bool LinkWatchdog::tick(QStringView trackedName)
{
    const bool silent = !m_textSeen;
    m_textSeen = false;
    if (trackedName.isEmpty() || isUnwatchedBody(trackedName))
        return false;
    return m_closed || silent;
}

TrackingPanelState::TrackingPanelState(Dialogs &dialogs, QObject *parent)
    : QObject(parent), m_dialogs(dialogs)
{
}

void TrackingPanelState::setLanguage(Language language)
{
    m_language = language;
    if (m_badge.shown)
        setBadge(visibilityBadge(m_fields.elevation, language));
}

void TrackingPanelState::setModeLists(const QStringList &downlinkModes, const QStringList &uplinkModes)
{
    m_downlinkModes = downlinkModes;
    m_uplinkModes = uplinkModes;
}

void TrackingPanelState::attachSource(TrackingSource *source)
{
    if (m_source)
        m_source->disconnect(this);
    m_source = source;
    if (!source)
        return;
    connect(source, &TrackingSource::textReceived, this, &TrackingPanelState::receiveText);
    connect(source, &TrackingSource::connectionClosed, this, &TrackingPanelState::connectionClosed);
    connect(source, &TrackingSource::gaveUp, this, &TrackingPanelState::connectionClosed);
    connect(source, &TrackingSource::startFinished, this, [this](TrackingSource::StartOutcome outcome) {
        linkStarted(outcome == TrackingSource::StartOutcome::Connected);
    });
}

void TrackingPanelState::switchSource(TrackingSource *source)
{
    if (source == m_source)
        return;
    stopLink();
    attachSource(source);
    if (source && !source->isExternal() && !m_checkBoxEnabled) {
        m_checkBoxEnabled = true;
        emit checkBoxReenabled();
    }
    if (m_useOrbitron)
        startUp(true);
}

void TrackingPanelState::startUp(bool useOrbitronOption)
{
    m_dataWait = false;
    m_useOrbitron = useOrbitronOption;
    setPanelVisible(useOrbitronOption);
    if (useOrbitronOption)
        startLink(StartContext::StartUp);
    else
        stopLink();
}

void TrackingPanelState::setUseOrbitron(bool ticked)
{
    if (!m_checkBoxEnabled || ticked == m_useOrbitron)
        return; // the box only echoes a value the logic set
    applyCheckBox(ticked);
}

void TrackingPanelState::applyCheckBox(bool ticked)
{
    m_useOrbitron = ticked;
    if (ticked && !m_installed && (!m_source || m_source->isExternal())) {
        m_checkBoxEnabled = false;
        emit checkBoxDisabled();
        m_dialogs.inform(text(Txt::MsgOrbitronNotInstalled, Language::Spanish), Icon::Critical);
        return;
    }
    emit focusCallSign();
    if (ticked) {
        setPanelVisible(true);
        startLink(StartContext::CheckBox);
    } else {
        setPanelVisible(false);
        m_dataWait = false;
        stopLink();
    }
}

void TrackingPanelState::startLink(StartContext context)
{
    m_pendingStart = context;
    m_watchdog = {};
    if (m_source)
        m_source->start();
}

void TrackingPanelState::stopLink()
{
    m_pendingStart = StartContext::None;
    if (m_source)
        m_source->stop();
    // What the panel still shows came from a link that is gone. Forgotten quietly, the values
    // stay out of the entry panel now, and the first text of the next link passes every
    // field on afresh.
    m_watchdog = {};
    setBadge({});
    if (m_fields == TrackingFields{})
        return;
    m_fields = {};
    emit fieldsReset();
}

void TrackingPanelState::linkStarted(bool connected)
{
    const StartContext context = m_pendingStart;
    m_pendingStart = StartContext::None;
    if (connected || context == StartContext::None)
        return;
    setBadge({});
    if (context == StartContext::StartUp) {
        // Vorta is often started before the tracker: the box stays ticked and the link is
        // made as soon as the tracker answers.
        if (m_source)
            m_source->keepTrying();
        m_dialogs.inform(text(Txt::MsgOrbitronNotRunningAtStart, Language::Spanish), Icon::Critical);
        return;
    }
    setPanelVisible(false);
    // The box is cleared before the message is shown, so events handled while the message is
    // open already see the link off.
    m_useOrbitron = false;
    emit useOrbitronChanged(false);
    applyCheckBox(false);
    m_dialogs.inform(text(Txt::MsgOrbitronNotRunning, m_language), Icon::Critical);
}

void TrackingPanelState::receiveText(const QString &text)
{
    if (!m_useOrbitron)
        return;
    m_watchdog.textArrived();
    apply(parseTrackingText(text));
}

void TrackingPanelState::connectionClosed()
{
    m_watchdog.connectionClosed();
}

void TrackingPanelState::apply(const TrackingText &t)
{
    if (!t.hasTokens) {
        emptyFields();
        setBadge({});
        return;
    }
    const bool another = !t.satellite.isEmpty() && t.satellite != m_fields.satellite;
    setSatellite(t.satellite);
    setAzimuth(t.azimuth);
    if (t.downlink)
        setDownlink(*t.downlink, another);
    if (t.uplink)
        setUplink(*t.uplink, another);
    setDownlinkMode(t.downlinkMode, another);
    setUplinkMode(t.uplinkMode, another);
    setElevation(t.elevation);
    setBadge(t.hasElevation ? visibilityBadge(t.elevation, m_language) : VisibilityBadge{});
}

void TrackingPanelState::emptyFields()
{
    setSatellite({});
    setAzimuth({});
    setElevation({});
    setDownlink({});
    setUplink({});
    setDownlinkMode({});
    setUplinkMode({});
}

void TrackingPanelState::clockTick()
{
    if (!m_panelVisible)
        return;
    if (!m_fields.satellite.isEmpty()) {
        m_dataWait = false;
        setCompassVisible(true);
        return;
    }
    // Only a tracking program beside Vorta has to be told to send; a source inside Vorta says
    // in its own panel why it has nothing to show.
    if (m_dataWait || (m_source && !m_source->isExternal()))
        return;
    // The flag is set before the notice is shown: the clock keeps ticking while it is open and
    // must not stack a second notice on it.
    m_dataWait = true;
    setCompassVisible(false);
    m_dialogs.inform(text(Txt::MsgOrbitronWaiting, m_language), Icon::Information);
}

bool TrackingPanelState::watchdogTick()
{
    if (!m_watchdog.tick(m_fields.satellite))
        return false;
    // The stale values leave the entry panel too, so that no QSO is logged with them.
    emptyFields();
    if (m_useOrbitron) { // clearing the box ends the link
        m_useOrbitron = false;
        emit useOrbitronChanged(false);
        applyCheckBox(false);
    }
    m_dialogs.inform(text(Txt::MsgOrbitronLost, m_language), Icon::Critical);
    return true;
}

namespace {

int firstEqual(const QStringList &list, const QString &value)
{
    for (qsizetype i = 0; i < list.size(); ++i)
        if (list[i] == value)
            return int(i);
    return -1;
}

} // namespace

void TrackingPanelState::setSatellite(const QString &value)
{
    if (value == m_fields.satellite)
        return;
    m_fields.satellite = value;
    emit satelliteChanged(value);
}

void TrackingPanelState::setAzimuth(const QString &value)
{
    if (value == m_fields.azimuth)
        return;
    m_fields.azimuth = value;
    emit azimuthChanged(value);
}

void TrackingPanelState::setElevation(const QString &value)
{
    if (value == m_fields.elevation)
        return;
    m_fields.elevation = value;
    emit elevationChanged(value);
}

void TrackingPanelState::setDownlink(const QString &value, bool again)
{
    if (value == m_fields.downlink && !again)
        return;
    m_fields.downlink = value;
    emit downlinkChanged(value);
}

void TrackingPanelState::setUplink(const QString &value, bool again)
{
    if (value == m_fields.uplink && !again)
        return;
    m_fields.uplink = value;
    emit uplinkChanged(value);
}

void TrackingPanelState::setDownlinkMode(const QString &value, bool again)
{
    const bool changed = value != m_fields.downlinkMode;
    if (changed) {
        m_fields.downlinkMode = value;
        emit downlinkModeChanged(value);
    }
    if (const int index = firstEqual(m_downlinkModes, value); index >= 0 && (changed || again))
        emit downlinkModeSelected(index);
}

void TrackingPanelState::setUplinkMode(const QString &value, bool again)
{
    const bool changed = value != m_fields.uplinkMode;
    if (changed) {
        m_fields.uplinkMode = value;
        emit uplinkModeChanged(value);
    }
    if (const int index = firstEqual(m_uplinkModes, value); index >= 0 && (changed || again))
        emit uplinkModeSelected(index);
}

void TrackingPanelState::setBadge(const VisibilityBadge &badge)
{
    if (badge == m_badge)
        return;
    m_badge = badge;
    emit badgeChanged(badge);
}

void TrackingPanelState::setPanelVisible(bool visible)
{
    if (visible == m_panelVisible)
        return;
    m_panelVisible = visible;
    emit panelVisibleChanged(visible);
}

void TrackingPanelState::setCompassVisible(bool visible)
{
    if (visible == m_compassVisible)
        return;
    m_compassVisible = visible;
    emit compassVisibleChanged(visible);
}

} // namespace vorta
