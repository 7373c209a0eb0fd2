#include "tracking/trackingwidget.h"

#include "common/captionwidget.h"
#include "common/textvalue.h"
#include "tracking/compasswidget.h"
#include "tracking/locator.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

namespace vorta {

namespace {

QLineEdit *shownValue()
{
    auto *edit = new QLineEdit;
    edit->setReadOnly(true);
    edit->setFocusPolicy(Qt::NoFocus);
    emphasize(edit, 0, true);
    return edit;
}

} // namespace

TrackingWidget::TrackingWidget(TrackingPanelState &state, QWidget *parent) : QGroupBox(parent), m_state(state)
{
    m_satellite = shownValue();
    m_azimuth = shownValue();
    m_elevation = shownValue();
    m_downlink = shownValue();
    m_uplink = shownValue();
    m_downlinkMode = shownValue();
    m_uplinkMode = shownValue();
    m_satelliteCaption = captionFor(m_satellite);
    m_azimuthCaption = captionFor(m_azimuth);
    m_elevationCaption = captionFor(m_elevation);
    m_downlinkCaption = captionFor(m_downlink);
    m_uplinkCaption = captionFor(m_uplink);
    m_downlinkModeCaption = captionFor(m_downlinkMode);
    m_uplinkModeCaption = captionFor(m_uplinkMode);
    m_compassName = new QLabel;
    emphasize(m_compassName, 0, true);
    fitWidth(m_compassName, QStringLiteral("ENEeaste"), Fit::AtLeast);
    m_badge = new QLabel;
    m_badge->setAlignment(Qt::AlignCenter);
    emphasize(m_badge, 0, true);
    fitWidth(m_badge, QStringLiteral("VISIBLE"), Fit::AtLeast, 16);
    // The badge and the compass name keep their room while hidden: the fields beside them stay
    // where the operator's eyes know them.
    for (QLabel *label : {m_badge, m_compassName}) {
        QSizePolicy policy = label->sizePolicy();
        policy.setRetainSizeWhenHidden(true);
        label->setSizePolicy(policy);
    }
    m_badge->hide();
    // Wide enough for what they show, and no wider: a wide window gives its room to the
    // compass side rather than to long strips of field.
    for (QLineEdit *edit : {m_satellite, m_downlink, m_uplink})
        fitWidth(edit, QStringLiteral("0000.000.000  "), Fit::AtMost);
    for (QLineEdit *edit : {m_azimuth, m_elevation, m_downlinkMode, m_uplinkMode})
        fitWidth(edit, QStringLiteral("000.000  "), Fit::AtMost);
    m_compass = new CompassWidget;

    auto *grid = new QGridLayout(this);
    grid->addWidget(m_satelliteCaption, 0, 0);
    grid->addWidget(m_satellite, 0, 1);
    grid->addWidget(m_azimuthCaption, 0, 2);
    grid->addWidget(m_azimuth, 0, 3);
    grid->addWidget(m_compassName, 0, 4);
    grid->addWidget(m_elevationCaption, 1, 2);
    grid->addWidget(m_elevation, 1, 3);
    grid->addWidget(m_badge, 1, 4);
    grid->addWidget(m_downlinkCaption, 1, 0);
    grid->addWidget(m_downlink, 1, 1);
    grid->addWidget(m_uplinkCaption, 2, 0);
    grid->addWidget(m_uplink, 2, 1);
    grid->addWidget(m_downlinkModeCaption, 2, 2);
    grid->addWidget(m_downlinkMode, 2, 3);
    grid->addWidget(m_uplinkModeCaption, 2, 4);
    grid->addWidget(m_uplinkMode, 2, 5);
    grid->setColumnStretch(6, 1);
    grid->addWidget(m_compass, 0, 7, 3, 1);
    grid->setColumnStretch(1, 2);
    grid->setColumnStretch(3, 1);

    connect(&state, &TrackingPanelState::satelliteChanged, m_satellite, &QLineEdit::setText);
    connect(&state, &TrackingPanelState::azimuthChanged, this, &TrackingWidget::showAzimuth);
    connect(&state, &TrackingPanelState::elevationChanged, m_elevation, &QLineEdit::setText);
    connect(&state, &TrackingPanelState::downlinkChanged, m_downlink, &QLineEdit::setText);
    connect(&state, &TrackingPanelState::uplinkChanged, m_uplink, &QLineEdit::setText);
    connect(&state, &TrackingPanelState::downlinkModeChanged, m_downlinkMode, &QLineEdit::setText);
    connect(&state, &TrackingPanelState::uplinkModeChanged, m_uplinkMode, &QLineEdit::setText);
    connect(&state, &TrackingPanelState::badgeChanged, this, &TrackingWidget::showBadge);
    connect(&state, &TrackingPanelState::fieldsReset, this, [this] {
        const TrackingFields &f = m_state.fields();
        m_satellite->setText(f.satellite);
        showAzimuth(f.azimuth);
        m_elevation->setText(f.elevation);
        m_downlink->setText(f.downlink);
        m_uplink->setText(f.uplink);
        m_downlinkMode->setText(f.downlinkMode);
        m_uplinkMode->setText(f.uplinkMode);
    });
    connect(&state, &TrackingPanelState::compassVisibleChanged, m_compassName, &QWidget::setVisible);
    connect(&state, &TrackingPanelState::panelVisibleChanged, this, &QWidget::setVisible);
    setVisible(state.panelVisible());
}

void TrackingWidget::retranslate(Language language)
{
    m_language = language;
    setTitle(text(Txt::TrackingFrame, language));
    m_satelliteCaption->setText(text(Txt::LabelSatellite, language));
    m_azimuthCaption->setText(text(Txt::TrackingAzimuth, language));
    m_elevationCaption->setText(text(Txt::TrackingElevation, language));
    m_downlinkCaption->setText(text(Txt::LabelDownlink, language));
    m_uplinkCaption->setText(text(Txt::LabelUplink, language));
    m_downlinkModeCaption->setText(text(Txt::LabelMode, language));
    m_uplinkModeCaption->setText(text(Txt::LabelMode, language));
    m_downlinkMode->setAccessibleName(text(Txt::AccDownlinkMode, language));
    m_uplinkMode->setAccessibleName(text(Txt::AccUplinkMode, language));
    showAzimuth(m_azimuth->text());
    if (m_state.badge().shown)
        showBadge(visibilityBadge(m_elevation->text(), language));
}

void TrackingWidget::showAzimuth(const QString &azimuth)
{
    m_azimuth->setText(azimuth);
    const QString caption = text(Txt::AccCompass, m_language);
    showValue(m_compassName, caption, compassName(azimuth, m_language));
    m_compass->setAzimuth(azimuth.isEmpty() ? std::nullopt : std::optional<double>(numericValue(azimuth)));
    m_compass->setAccessibleName(m_compassName->accessibleName());
}

void TrackingWidget::addSkyPlot(QWidget *plot, QWidget *line)
{
    // The plot at the far right, in a column of its own, so that it is never drawn over the
    // compass (which gives way to it while it is shown).
    auto *grid = static_cast<QGridLayout *>(layout());
    grid->addWidget(plot, 0, 8, 4, 1);
    grid->addWidget(line, 3, 0, 1, 8);
}

QString TrackingWidget::compassText() const
{
    return m_compassName->isHidden() ? QString() : m_compassName->text();
}

void TrackingWidget::showBadge(const VisibilityBadge &badge)
{
    m_badge->setVisible(badge.shown);
    m_badge->setText(badge.caption);
    m_badge->setStyleSheet(QStringLiteral("QLabel { background: %1; color: white; padding: 2px 6px; }")
                               .arg(badge.colour.name()));
}

} // namespace vorta
