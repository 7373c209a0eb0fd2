// The main window's "Internet" and "Ayuda" menus: the version check (also run once by the
// start-up timer), the community web sites, the manual and the About window.
#pragma once

#include "config/languages.h"
#include "web/versioncheck.h"
#include "web/weblinks.h"

#include <QObject>

#include <vector>

class QAction;
class QMenu;
class QMenuBar;
class QWidget;

namespace vorta {

class AboutDialog;
class Session;

class WebMenus : public QObject
{
    Q_OBJECT
public:
    // Adds the two menus to bar; window is the main window the About window belongs to.
    WebMenus(Session &session, QMenuBar &bar, QWidget *window, UrlOpener opener = openWithDesktop,
             std::chrono::milliseconds checkTimeout = VersionCheck::kDefaultTimeout);

    void retranslate(Language language);

    // The start-up timer's check: silent when nothing is due, nothing without an address.
    void checkAtStart() { check(true); }
    // "Verificar Versión".
    void checkNow() { check(false); }
    void showHelp();
    void showAbout();

    VersionCheck &versionCheck() { return m_check; }
    QMenu &internetMenu() { return *m_internet; }
    QMenu &helpMenu() { return *m_help; }
    AboutDialog &aboutDialog() { return *m_about; }

private:
    void check(bool silent);

    Session &m_session;
    WebOpener m_opener;
    VersionCheck m_check;
    QMenu *m_internet = nullptr, *m_amsat = nullptr, *m_help = nullptr;
    QAction *m_checkVersion = nullptr, *m_helpEntry = nullptr, *m_aboutEntry = nullptr;
    std::vector<QAction *> m_links; // in the order of webLinks()
    AboutDialog *m_about = nullptr;
};

} // namespace vorta
