// The notice of the main window's status line: a short message (which QSO was just saved) shown
// for a few seconds beside the current log's name, which stays in view. Screen readers are told
// of each new notice as a change of the status line's name.
#pragma once

#include <QLabel>
#include <QTimer>

#include <chrono>

namespace vorta {

class NoticeWidget : public QLabel
{
    Q_OBJECT
public:
    static constexpr std::chrono::milliseconds kShownFor{8000};

    explicit NoticeWidget(QWidget *parent = nullptr);

    // Shows text, replacing the notice before it, for shownFor.
    void showNotice(const QString &text, std::chrono::milliseconds shownFor = kShownFor);
    QString notice() const { return text(); }

private:
    QTimer m_timer;
};

} // namespace vorta
