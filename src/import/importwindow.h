// The import window: the log of an ADIF import with its progress and the load button. It only
// shows what the import (AdifImport) reports and hands it the operator's requests; closing the
// window stops the step that runs.
#pragma once

#include "import/adifimport.h"

#include <QTimer>
#include <QWidget>

class QPlainTextEdit;
class QProgressBar;
class QPushButton;

namespace vorta {

class Session;

class ImportWindow : public QWidget
{
    Q_OBJECT
public:
    explicit ImportWindow(Session &session, QWidget *parent = nullptr);

    // "Importar ADIF": shows the window, asks for a file and reads it. While a step runs the
    // window is only brought forward.
    void start();

    AdifImport &import() { return *m_import; }
    QPlainTextEdit &logView() { return *m_log; }
    QProgressBar &progressBar() { return *m_progress; }
    QPushButton &loadButton() { return *m_load; }

protected:
    void closeEvent(QCloseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void showState();
    void loadFinished(bool loaded);

    Session &m_session;
    AdifImport *m_import;
    QPlainTextEdit *m_log;
    QProgressBar *m_progress;
    QPushButton *m_load;
    QTimer m_hideTimer;
};

} // namespace vorta
