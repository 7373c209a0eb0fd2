// The built-in tracker's part of the tracking panel: a sky plot (the station's sky seen from
// above, north up, the horizon at the rim and the zenith at the centre) with the whole current
// or next pass and the satellite now, and a line with the time to AOS or LOS, the pass's times
// and, when the tracker follows nothing, why. The panel puts the plot beside its fields and the
// line below them. Everything shown is also text a screen reader reads.
#pragma once

#include "config/languages.h"
#include "tracking/passes.h"

#include <QWidget>

#include <optional>

class QLabel;

namespace vorta {

class AppState;
class BuiltInTrackingSource;

// The polar plot alone.
class SkyPlot : public QWidget
{
    Q_OBJECT
public:
    explicit SkyPlot(QWidget *parent = nullptr);

    void setCardinals(const QStringList &names); // north, east, south, west
    void setTrack(const QList<SkyPoint> &track);
    // The satellite now; nothing, or an elevation below the horizon, shows no satellite.
    void setSatellite(std::optional<SkyPoint> now);
    const QList<SkyPoint> &track() const { return m_track; }
    std::optional<SkyPoint> satellite() const { return m_now; }

    QSize sizeHint() const override { return {150, 150}; }
    QSize minimumSizeHint() const override { return {110, 110}; }

    // Where a point of the sky is drawn on a plot of that centre and radius: north up, east to
    // the right, as on a map of the sky around the station.
    static QPointF position(double azimuth, double elevation, const QPointF &centre, double radius);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QStringList m_cardinals{QStringLiteral("N"), QStringLiteral("E"), QStringLiteral("S"), QStringLiteral("W")};
    QList<SkyPoint> m_track;
    std::optional<SkyPoint> m_now;
};

// The line of texts, which also keeps the plot up to date.
class SkyPlotWidget : public QWidget
{
    Q_OBJECT
public:
    SkyPlotWidget(BuiltInTrackingSource &source, AppState &state, QWidget *parent = nullptr);

    // The plot, laid out apart from the line.
    SkyPlot &plot() { return *m_plot; }
    // Shows or hides the line and the plot together.
    void setShown(bool shown);
    // The countdown line ("AOS en 05:12"), the pass times, and what keeps the tracker from
    // following a satellite (empty while it follows one).
    QString countdown() const;
    QString passTimes() const;
    QString problem() const;

    // Shows the source's last tick.
    void refresh();
    void retranslate(Language language);

private:
    BuiltInTrackingSource &m_source;
    AppState &m_state;
    SkyPlot *m_plot;
    QLabel *m_countdown, *m_times, *m_problem;
    // The pass whose track the plot shows, so it is drawn once per pass, not once a second.
    QString m_trackSatellite;
    std::optional<Pass> m_trackPass;
};

} // namespace vorta
