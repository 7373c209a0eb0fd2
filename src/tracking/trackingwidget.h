// The tracking panel ("Orbitron"): what the tracker sends during a pass, shown above the entry
// panel. It only shows; TrackingPanelState decides what changes.
#pragma once

#include "config/languages.h"
#include "tracking/trackingtext.h"

#include <QGroupBox>

class QLabel;
class QLineEdit;

namespace vorta {

class CompassWidget;

class TrackingWidget : public QGroupBox
{
    Q_OBJECT
public:
    explicit TrackingWidget(TrackingPanelState &state, QWidget *parent = nullptr);

    void retranslate(Language language);
    // The built-in tracker's sky plot, at the right of the compass, and its line of texts
    // below the fields.
    void addSkyPlot(QWidget *plot, QWidget *line);
    QString compassText() const;
    CompassWidget &compass() { return *m_compass; }

private:
    void showAzimuth(const QString &azimuth);
    void showBadge(const VisibilityBadge &badge);

    TrackingPanelState &m_state;
    Language m_language = Language::Spanish;
    QLabel *m_satelliteCaption, *m_azimuthCaption, *m_elevationCaption, *m_downlinkCaption, *m_uplinkCaption;
    QLabel *m_downlinkModeCaption, *m_uplinkModeCaption, *m_compassName, *m_badge;
    QLineEdit *m_satellite, *m_azimuth, *m_elevation, *m_downlink, *m_uplink, *m_downlinkMode, *m_uplinkMode;
    CompassWidget *m_compass;
};

} // namespace vorta
