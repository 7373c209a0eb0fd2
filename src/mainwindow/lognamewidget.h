// The current log as the main window names it: its file name at a glance, its full path as tool
// tip and, for screen readers, as description. It follows every change of the current log.
#pragma once

#include "config/languages.h"

#include <QWidget>

class QLabel;

namespace vorta {

class AppState;

class LogNameWidget : public QWidget
{
    Q_OBJECT
public:
    explicit LogNameWidget(AppState &state, QWidget *parent = nullptr);

    QString fileName() const;
    QString fullPath() const;

private:
    void showLog();
    void retranslate(Language language);

    AppState &m_state;
    QLabel *m_caption, *m_name;
};

} // namespace vorta
