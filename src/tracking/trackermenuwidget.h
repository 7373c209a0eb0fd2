// The main window's "Seguimiento" menu: the passes window ("Próximos pasos") and the update of
// the element sets from the web ("Actualizar elementos orbitales").
#pragma once

#include "config/languages.h"
#include "tracking/elementsdownload.h"

#include <QObject>

#include <functional>

class QAction;
class QMenu;
class QMenuBar;
class QWidget;

namespace vorta {

class BuiltInTrackingSource;
class PassesWindow;
class Session;

class TrackerMenus : public QObject
{
    Q_OBJECT
public:
    // Adds the menu to bar before the menu before; window owns the passes window. fileInUse
    // tells which elements file the program reads now.
    TrackerMenus(Session &session, BuiltInTrackingSource &source, QMenuBar &bar, QAction *before, QWidget *window,
                 std::function<QString()> fileInUse,
                 std::chrono::milliseconds downloadTimeout = ElementsDownload::kDefaultTimeout);

    void retranslate(Language language);

    // The menu entries, as they run.
    void showPasses();
    void updateElements();

    QMenu &menu() { return *m_menu; }
    PassesWindow &passesWindow() { return *m_passes; }
    ElementsDownload &download() { return m_download; }

signals:
    // The passes window chose a satellite for the entry panel.
    void satelliteChosen(const QString &name);
    // The data folder's elements file was replaced; notice says so, for the status line.
    void elementsUpdated(const QString &notice);

private:
    Session &m_session;
    std::function<QString()> m_fileInUse;
    ElementsDownload m_download;
    QMenu *m_menu;
    QAction *m_passesEntry, *m_updateEntry;
    PassesWindow *m_passes;
};

} // namespace vorta
