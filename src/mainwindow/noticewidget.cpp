#include "mainwindow/noticewidget.h"

#include "common/captionwidget.h"

namespace vorta {

NoticeWidget::NoticeWidget(QWidget *parent) : QLabel(parent)
{
    emphasize(this, 0, true);
    setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, &QLabel::clear);
}

void NoticeWidget::showNotice(const QString &text, std::chrono::milliseconds shownFor)
{
    setText(text);
    m_timer.start(shownFor);
}

} // namespace vorta
