#include "tracking/compasswidget.h"

#include <QPainter>
#include <QtMath>

namespace vorta {

CompassWidget::CompassWidget(QWidget *parent) : QWidget(parent)
{
    setMinimumSize(48, 48);
}

void CompassWidget::setAzimuth(std::optional<double> degrees)
{
    if (degrees == m_azimuth)
        return;
    m_azimuth = degrees;
    setAccessibleDescription(degrees ? QString::number(*degrees, 'f', 0) + QStringLiteral("º") : QString());
    update();
}

void CompassWidget::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal side = qMin(width(), height()) - 4;
    const QPointF centre(width() / 2.0, height() / 2.0);
    const qreal radius = side / 2.0;
    p.setPen(QPen(palette().color(QPalette::WindowText), 1.5));
    p.setBrush(palette().color(QPalette::Base));
    p.drawEllipse(centre, radius, radius);
    // North mark, so the dial reads at a glance.
    QFont font = p.font();
    font.setPixelSize(qMax(8, int(radius / 2.5)));
    font.setBold(true);
    p.setFont(font);
    p.drawText(QRectF(centre.x() - radius, centre.y() - radius + 1, 2 * radius, radius), Qt::AlignHCenter | Qt::AlignTop,
               QStringLiteral("N"));
    if (!m_azimuth)
        return;
    const qreal angle = qDegreesToRadians(*m_azimuth);
    const QPointF tip(centre.x() + std::sin(angle) * radius * 0.85, centre.y() - std::cos(angle) * radius * 0.85);
    p.setPen(QPen(QColor(200, 0, 0), 3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(centre, tip);
    p.setBrush(QColor(200, 0, 0));
    p.drawEllipse(centre, 3, 3);
}

} // namespace vorta
