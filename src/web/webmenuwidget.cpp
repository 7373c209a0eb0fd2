#include "web/webmenuwidget.h"

#include "common/appversion.h"
#include "config/extrasettings.h"
#include "mainwindow/session.h"
#include "web/aboutdialog.h"

#include <QMenu>
#include <QMenuBar>

namespace vorta {

WebMenus::WebMenus(Session &session, QMenuBar &bar, QWidget *window, UrlOpener opener,
                   std::chrono::milliseconds checkTimeout)
    : QObject(window), m_session(session), m_opener(session.dialogs(), std::move(opener)),
      m_check(session.dialogs(), versionText(), checkTimeout)
{
    m_internet = bar.addMenu(QString());
    m_checkVersion = m_internet->addAction(QString(), this, &WebMenus::checkNow);
    m_internet->addSeparator();
    for (const WebLink &link : webLinks()) {
        QMenu *menu = m_internet;
        if (link.submenu) {
            if (!m_amsat)
                m_amsat = m_internet->addMenu(QString());
            menu = m_amsat;
        }
        m_links.push_back(menu->addAction(QString(), this, [this, &link] {
            m_opener.openLink(link, m_session.state().language());
        }));
    }
    m_help = bar.addMenu(QString());
    m_helpEntry = m_help->addAction(QString(), this, &WebMenus::showHelp);
    m_aboutEntry = m_help->addAction(QString(), this, &WebMenus::showAbout);
    m_about = new AboutDialog(m_opener, session.state().language(), window);
    retranslate(session.state().language());
}

void WebMenus::retranslate(Language language)
{
    m_internet->setTitle(text(Txt::MenuInternet, language));
    m_checkVersion->setText(text(Txt::MenuCheckVersion, language));
    const auto links = webLinks();
    for (std::size_t i = 0; i < links.size(); ++i) {
        m_links[i]->setText(text(links[i].caption, language));
        if (links[i].submenu)
            m_amsat->setTitle(text(*links[i].submenu, language));
    }
    m_help->setTitle(text(Txt::MenuHelp, language));
    m_helpEntry->setText(text(Txt::MenuHelpEntry, language));
    m_aboutEntry->setText(text(Txt::MenuAbout, language));
    m_about->retranslate(language);
}

void WebMenus::check(bool silent)
{
    // Read at each check, so that an address added to the file counts without a restart.
    const DataFolder &folder = m_session.state().folder();
    m_check.run(loadExtraSettings(folder.settingsFile()).versionAddress, silent, m_session.state().language(),
                folder.settingsFile());
}

void WebMenus::showHelp()
{
    m_opener.openHelp(m_session.state().folder(), m_session.state().language());
}

void WebMenus::showAbout()
{
    m_about->retranslate(m_session.state().language());
    m_about->exec();
}

} // namespace vorta
