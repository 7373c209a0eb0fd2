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
    QSize sizeHint() const override { return {64, 64}; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    std::optional<double> m_azimuth;
};

} // namespace vorta
