// A small compass dial: a circle with north up and a needle pointing at the antenna azimuth. Its
// accessible description is the azimuth in degrees; the panel that shows it gives its name.
#pragma once

#include <QWidget>

#include <optional>

namespace vorta {

class CompassWidget : public QWidget
{
    Q_OBJECT
public:
    explicit CompassWidget(QWidget *parent = nullptr);
    // Degrees clockwise from north; nothing hides the needle.
    void setAzimuth(std::optional<double> degrees);
    std::optional<double> azimuth() const { return m_azimuth; }
    // Grows with the type, so that a larger font size enlarges the dial too.
    QSize sizeHint() const override
    {
        const int side = qMax(64, fontMetrics().height() * 4);
        return {side, side};
    }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    std::optional<double> m_azimuth;
};

} // namespace vorta
