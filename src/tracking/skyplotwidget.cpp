#include "tracking/skyplotwidget.h"

#include "common/appstate.h"
#include "common/captionwidget.h"
#include "tracking/builtintrackingsource.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QtMath>

#include <cmath>

namespace vorta {

namespace {

bool samePass(const std::optional<Pass> &a, const std::optional<Pass> &b)
{
    if (!a || !b)
        return !a && !b;
    return a->aos == b->aos && a->los == b->los && a->rises == b->rises && a->sets == b->sets;
}

const QColor kTrackColour(28, 113, 216);
const QColor kSatelliteColour(200, 0, 0);

} // namespace

SkyPlot::SkyPlot(QWidget *parent) : QWidget(parent)
{
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Preferred);
}

void SkyPlot::setCardinals(const QStringList &names)
{
    if (names.size() == 4)
        m_cardinals = names;
    update();
}

void SkyPlot::setTrack(const QList<SkyPoint> &track)
{
    m_track = track;
    update();
}

void SkyPlot::setSatellite(std::optional<SkyPoint> now)
{
    m_now = now;
    update();
}

QPointF SkyPlot::position(double azimuth, double elevation, const QPointF &centre, double radius)
{
    // The horizon at the rim, the zenith at the centre, linear in elevation between them.
    const double r = radius * (90.0 - std::clamp(elevation, 0.0, 90.0)) / 90.0;
    const double a = qDegreesToRadians(azimuth);
    return {centre.x() + r * std::sin(a), centre.y() - r * std::cos(a)};
}

void SkyPlot::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    QFont font = p.font();
    font.setBold(true);
    p.setFont(font);
    const qreal label = p.fontMetrics().height();
    const QPointF centre(width() / 2.0, height() / 2.0);
    const qreal radius = std::max<qreal>(10, std::min(width(), height()) / 2.0 - label - 2);

    const QColor ink = palette().color(QPalette::WindowText);
    p.setPen(QPen(ink, 1.5));
    p.setBrush(palette().color(QPalette::Base));
    p.drawEllipse(centre, radius, radius);
    // Rings at 30° and 60° of elevation and the four directions, faint, to read the track by.
    QColor faint = ink;
    faint.setAlpha(90);
    p.setPen(QPen(faint, 1, Qt::DashLine));
    p.setBrush(Qt::NoBrush);
    for (const double elevation : {30.0, 60.0}) {
        const qreal r = radius * (90.0 - elevation) / 90.0;
        p.drawEllipse(centre, r, r);
    }
    p.drawLine(QPointF(centre.x(), centre.y() - radius), QPointF(centre.x(), centre.y() + radius));
    p.drawLine(QPointF(centre.x() - radius, centre.y()), QPointF(centre.x() + radius, centre.y()));

    p.setPen(ink);
    for (int i = 0; i < 4; ++i) {
        const QPointF at = position(i * 90.0, 0, centre, radius + label / 2.0 + 1);
        p.drawText(QRectF(at.x() - label, at.y() - label / 2.0, 2 * label, label), Qt::AlignCenter, m_cardinals[i]);
    }

    if (!m_track.isEmpty()) {
        QPainterPath path;
        for (qsizetype i = 0; i < m_track.size(); ++i) {
            const QPointF at = position(m_track[i].azimuth, m_track[i].elevation, centre, radius);
            i == 0 ? path.moveTo(at) : path.lineTo(at);
        }
        p.setPen(QPen(kTrackColour, 2.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawPath(path);
        // The rise end hollow, the set end filled: the way the satellite goes reads at a glance.
        p.setBrush(palette().color(QPalette::Base));
        p.drawEllipse(position(m_track.first().azimuth, m_track.first().elevation, centre, radius), 3.5, 3.5);
        p.setBrush(kTrackColour);
        p.drawEllipse(position(m_track.last().azimuth, m_track.last().elevation, centre, radius), 3.5, 3.5);
    }
    if (m_now && m_now->elevation >= 0) {
        p.setPen(QPen(palette().color(QPalette::Base), 1.5));
        p.setBrush(kSatelliteColour);
        p.drawEllipse(position(m_now->azimuth, m_now->elevation, centre, radius), 6, 6);
    }
}

SkyPlotWidget::SkyPlotWidget(BuiltInTrackingSource &source, AppState &state, QWidget *parent)
    : QWidget(parent), m_source(source), m_state(state), m_plot(new SkyPlot(this))
{
    m_countdown = new QLabel;
    emphasize(m_countdown, 2, true);
    m_times = new QLabel;
    m_problem = new QLabel;
    m_problem->hide();
    for (QLabel *label : {m_countdown, m_times, m_problem})
        label->setTextInteractionFlags(Qt::TextSelectableByMouse);

    // The line takes the width the panel's fields give it, so that what it says never moves the
    // fields above it; it stays one line high for the same reason.
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_countdown);
    layout->addSpacing(16);
    layout->addWidget(m_times);
    layout->addWidget(m_problem, 1);
    layout->addStretch(1);

    connect(&source, &BuiltInTrackingSource::ticked, this, &SkyPlotWidget::refresh);
    connect(&state, &AppState::languageChanged, this, &SkyPlotWidget::retranslate);
    retranslate(state.language());
}

void SkyPlotWidget::setShown(bool shown)
{
    setVisible(shown);
    m_plot->setVisible(shown);
}

QString SkyPlotWidget::countdown() const
{
    return m_countdown->isHidden() ? QString() : m_countdown->text();
}

QString SkyPlotWidget::passTimes() const
{
    return m_times->isHidden() ? QString() : m_times->text();
}

QString SkyPlotWidget::problem() const
{
    return m_problem->isHidden() ? QString() : m_problem->text();
}

void SkyPlotWidget::retranslate(Language language)
{
    m_plot->setCardinals(text(Txt::SkyCardinals, language).split(u' '));
    m_plot->setAccessibleName(text(Txt::SkyPlotName, language));
    refresh();
}

void SkyPlotWidget::refresh()
{
    const Language language = m_state.language();
    const BuiltInTracker::Tick &tick = m_source.lastTick();
    const double utc = m_source.lastTickTime();
    const QString problem = trackerProblem(tick, m_source.elementCount() > 0, language);
    m_problem->setText(problem);
    m_problem->setVisible(!problem.isEmpty());
    m_countdown->setVisible(problem.isEmpty());
    m_times->setVisible(problem.isEmpty() && tick.pass);
    if (!problem.isEmpty()) {
        m_plot->setTrack({});
        m_plot->setSatellite(std::nullopt);
        m_trackSatellite.clear();
        m_trackPass.reset();
        m_plot->setAccessibleDescription(problem);
        return;
    }
    m_countdown->setText(passCountdown(tick.pass, utc, language));
    m_times->setText(vorta::passTimes(tick.pass, language));
    if (tick.satellite != m_trackSatellite || !samePass(tick.pass, m_trackPass)) {
        m_trackSatellite = tick.satellite;
        m_trackPass = tick.pass;
        // Some 300 points whatever the pass lasts: a low orbit's ten minutes and a high one's
        // hours are drawn alike smoothly and cheaply.
        const double span = tick.pass ? tick.pass->los - tick.pass->aos : 0;
        m_plot->setTrack(m_source.currentTrack(std::max(10.0, span / 300.0)));
    }
    m_plot->setSatellite(SkyPoint{utc, tick.look.azimuth, tick.look.elevation});
    QStringList description{text(Txt::SkyPlotNow, language,
                                 {{"$nombre$", tick.satellite},
                                  {"$az$", QString::number(std::lround(tick.look.azimuth) % 360)},
                                  {"$el$", QString::number(std::lround(tick.look.elevation))}}),
                            m_countdown->text()};
    if (!m_times->isHidden())
        description << m_times->text();
    m_plot->setAccessibleDescription(description.join(QStringLiteral(". ")));
}

} // namespace vorta
