#include "import/importwindow.h"

#include "common/dialogs.h"
#include "mainwindow/session.h"

#include <QCloseEvent>
#include <QEventLoop>
#include <QFileInfo>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace vorta {

ImportWindow::ImportWindow(Session &session, QWidget *parent)
    : QWidget(parent, Qt::Window), m_session(session), m_import(new AdifImport(session.dialogs(), this)),
      m_log(new QPlainTextEdit), m_progress(new QProgressBar), m_load(new QPushButton)
{
    m_log->setReadOnly(true);
    m_log->setLineWrapMode(QPlainTextEdit::NoWrap);
    QFont fixed(QStringLiteral("monospace"));
    fixed.setStyleHint(QFont::TypeWriter);
    m_log->setFont(fixed);
    m_progress->setRange(0, 1000);
    m_progress->setTextVisible(false);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_log, 1);
    layout->addWidget(m_progress);
    layout->addWidget(m_load);
    resize(460, 380);

    m_hideTimer.setSingleShot(true);
    m_hideTimer.setInterval(3000);
    connect(&m_hideTimer, &QTimer::timeout, this, &QWidget::hide);
    connect(m_import, &AdifImport::changed, this, &ImportWindow::showState);
    connect(m_import, &AdifImport::loadFinished, this, &ImportWindow::loadFinished);
    connect(m_import, &AdifImport::readFinished, this, [this] {
        if (m_load->isEnabled())
            m_load->setFocus();
    });
    connect(m_load, &QPushButton::clicked, this, [this] {
        // The log the file was staged in may have been found damaged since, and may no longer
        // be the current one.
        if (m_session.state().mayWriteLog(m_import->stagedLog(), m_session.dialogs()))
            m_import->load();
    });
    showState();
}

void ImportWindow::start()
{
    if (m_import->stopping()) {
        // The window was closed on a running step, which ends at its next record: the import
        // asked for now begins once it has.
        QEventLoop wait;
        connect(m_import, &AdifImport::changed, &wait, [this, &wait] {
            if (!m_import->busy())
                wait.quit();
        });
        wait.exec();
    }
    if (m_import->busy()) {
        show();
        raise();
        activateWindow();
        return;
    }
    AppState &state = m_session.state();
    // Staging writes into the log as well: a damaged log takes nothing until another is chosen.
    if (!state.mayWriteLog(m_session.dialogs()))
        return;
    const Language language = state.language();
    m_hideTimer.stop();
    m_import->reset(language);
    m_log->setAccessibleName(text(Txt::ImportLogText, language));
    m_progress->setAccessibleName(text(Txt::ImportProgress, language));
    setWindowTitle(text(Txt::MenuImportAdif, language));
    show();
    raise();
    activateWindow();

    const auto path = m_session.dialogs().openFile(text(Txt::ImportFileTitle, language), state.folder().outputsDir(),
                                                   QStringLiteral("*.adi (*.adi *.ADI)"));
    if (!path) {
        hide();
        return;
    }
    setWindowTitle(QFileInfo(*path).fileName());
    AdifImport::Setup setup;
    setup.logPath = state.currentLog().path;
    setup.logName = state.currentLog().name;
    setup.filePath = *path;
    setup.configuredCall = state.settings().callSign;
    setup.language = language;
    m_import->read(setup);
}

void ImportWindow::showState()
{
    if (m_log->toPlainText() != m_import->logText()) {
        m_log->setPlainText(m_import->logText());
        m_log->moveCursor(QTextCursor::End);
    }
    m_progress->setValue(m_import->progress());
    m_load->setText(m_import->loadCaption());
    m_load->setEnabled(m_import->canLoad());
}

void ImportWindow::loadFinished(bool loaded)
{
    if (!loaded)
        return;
    m_session.state().announceLogChanged();
    m_hideTimer.start();
}

void ImportWindow::closeEvent(QCloseEvent *event)
{
    m_hideTimer.stop();
    m_import->abort();
    QWidget::closeEvent(event);
}

void ImportWindow::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && m_load->isEnabled()) {
        m_load->click();
        return;
    }
    QWidget::keyPressEvent(event);
}

} // namespace vorta
