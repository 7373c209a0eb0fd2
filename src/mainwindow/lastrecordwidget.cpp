#include "mainwindow/lastrecordwidget.h"

#include "common/captionwidget.h"

#include <QGridLayout>
#include <QLabel>

namespace vorta {

namespace {

constexpr std::array<Txt, 6> kCaptions{Txt::LastStation,  Txt::LastDate,      Txt::LastTime,
                                       Txt::LastUplink,   Txt::LastSatellite, Txt::LastOrbit};

// The longest text each value shows, with room after it: a call with a portable suffix, the
// date, the time, a frequency in the 3 cm band, a long satellite designator, an orbit number.
const std::array<QString, 6> kLongest{QStringLiteral("WW0WWW/WW  "), QStringLiteral("00/00/0000  "),
                                      QStringLiteral("00:00  "),     QStringLiteral("00000.000  "),
                                      QStringLiteral("WWWWW-WW  "),  QStringLiteral("000000  ")};

} // namespace

LastRecordWidget::LastRecordWidget(QWidget *parent) : QGroupBox(parent)
{
    auto *grid = new QGridLayout(this);
    for (int i = 0; i < 6; ++i) {
        m_captions[i] = new QLabel;
        m_values[i] = valueLabel(1, true);
        fitWidth(m_values[i], kLongest[i], Fit::AtLeast);
        grid->addWidget(m_captions[i], 0, i);
        grid->addWidget(m_values[i], 1, i);
        grid->setColumnStretch(i, i == 0 || i == 4 ? 2 : 1);
    }
}

void LastRecordWidget::showRecord(const LastRecordView &view)
{
    const QString values[6] = {view.station, view.date, view.time, view.uplink, view.satellite, view.orbit};
    for (int i = 0; i < 6; ++i) {
        showValue(m_values[i], m_captions[i]->text(), values[i]);
        m_values[i]->setToolTip(values[i]);
    }
}

QStringList LastRecordWidget::values() const
{
    QStringList values;
    for (const QLabel *label : m_values)
        values << label->text();
    return values;
}

void LastRecordWidget::retranslate(Language language)
{
    setTitle(text(Txt::FrameLastRecord, language));
    for (int i = 0; i < 6; ++i) {
        m_captions[i]->setText(text(kCaptions[i], language));
        showValue(m_values[i], m_captions[i]->text(), m_values[i]->text());
    }
}

} // namespace vorta
