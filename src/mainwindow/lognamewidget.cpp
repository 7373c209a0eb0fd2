#include "mainwindow/lognamewidget.h"

#include "common/appstate.h"
#include "common/captionwidget.h"

#include <QHBoxLayout>
#include <QLabel>

namespace vorta {

LogNameWidget::LogNameWidget(AppState &state, QWidget *parent) : QWidget(parent), m_state(state)
{
    m_caption = new QLabel;
    m_name = new QLabel;
    emphasize(m_name, 1, true);
    m_name->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(6, 0, 0, 0);
    layout->addWidget(m_caption);
    layout->addWidget(m_name);
    layout->addStretch(1);
    connect(&m_state, &AppState::currentLogChanged, this, &LogNameWidget::showLog);
    connect(&m_state, &AppState::languageChanged, this, &LogNameWidget::retranslate);
    retranslate(m_state.language());
    showLog();
}

QString LogNameWidget::fileName() const
{
    return m_name->text();
}

QString LogNameWidget::fullPath() const
{
    return m_name->toolTip();
}

void LogNameWidget::showLog()
{
    const CurrentLog log = m_state.currentLog();
    showValue(m_name, m_caption->text(), log.name);
    m_name->setToolTip(log.path);
    m_name->setAccessibleDescription(log.path);
}

void LogNameWidget::retranslate(Language language)
{
    m_caption->setText(text(Txt::LabelCurrentLog, language));
    showValue(m_name, m_caption->text(), m_name->text());
}

} // namespace vorta
