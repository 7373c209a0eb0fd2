#include "tracking/trackermenuwidget.h"

#include "config/extrasettings.h"
#include "mainwindow/session.h"
#include "tracking/passeswindow.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

namespace vorta {

TrackerMenus::TrackerMenus(Session &session, BuiltInTrackingSource &source, QMenuBar &bar, QAction *before,
                           QWidget *window, std::function<QString()> fileInUse,
                           std::chrono::milliseconds downloadTimeout)
    : QObject(window), m_session(session), m_fileInUse(std::move(fileInUse)),
      m_download(session.dialogs(), downloadTimeout), m_menu(new QMenu(window)),
      m_passes(new PassesWindow(session, source, window))
{
    bar.insertMenu(before, m_menu);
    m_passesEntry = m_menu->addAction(QString(), this, &TrackerMenus::showPasses);
    // The passes are looked at in mid-session with both hands on the keyboard.
    m_passesEntry->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
    m_updateEntry = m_menu->addAction(QString(), this, &TrackerMenus::updateElements);
    connect(m_passes, &PassesWindow::satelliteChosen, this, &TrackerMenus::satelliteChosen);
    connect(&m_download, &ElementsDownload::updated, this, &TrackerMenus::elementsUpdated);
    connect(&m_download, &ElementsDownload::finished, this, [this] { m_updateEntry->setEnabled(true); });
    retranslate(session.state().language());
}

void TrackerMenus::retranslate(Language language)
{
    m_menu->setTitle(text(Txt::MenuTracking, language));
    m_passesEntry->setText(text(Txt::MenuPasses, language));
    m_updateEntry->setText(text(Txt::MenuUpdateElements, language));
}

void TrackerMenus::showPasses()
{
    if (m_passes->isVisible())
        m_passes->refresh();
    m_passes->show();
    m_passes->raise();
    m_passes->activateWindow();
}

void TrackerMenus::updateElements()
{
    if (m_download.running())
        return;
    // Read at each update, so that an address put into the file counts without a restart.
    const DataFolder &folder = m_session.state().folder();
    m_updateEntry->setEnabled(false);
    m_download.run(loadExtraSettings(folder.settingsFile()).elementsAddress, dataElementsFile(folder), m_fileInUse(),
                   m_session.state().language());
}

} // namespace vorta
