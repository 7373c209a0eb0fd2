// The web sites of the Internet menu, the manual of each interface language, and the desktop's
// "open" action that shows them (browser, document viewer, mail program).
#pragma once

#include "common/dialogs.h"
#include "config/languages.h"

#include <QString>
#include <QUrl>

#include <functional>
#include <optional>
#include <span>

namespace vorta {

class DataFolder;

struct WebLink
{
    std::optional<Txt> submenu; // the submenu the entry sits in; none: the menu itself
    Txt caption;
    const char *address;
};

// The Internet menu's sites, in menu order.
std::span<const WebLink> webLinks();

// "Ayuda.pdf", "Ayuda_eng.pdf" or "Ayuda_por.pdf".
QString helpFileName(Language language);

// Hands a link to the desktop; false when nothing could open it.
using UrlOpener = std::function<bool(const QUrl &)>;
bool openWithDesktop(const QUrl &url);

// Opens links, manuals and mail through the opener, and tells the operator, in the interface
// language, when that is not possible.
class WebOpener
{
public:
    explicit WebOpener(Dialogs &dialogs, UrlOpener opener = openWithDesktop);

    void openLink(const WebLink &link, Language language);
    // The manual of the language, as installed with the program (else the data folder's copy).
    void openHelp(const DataFolder &folder, Language language);
    void writeMail(const QString &address, Language language);

private:
    void open(const QUrl &url, const QString &shownName, Language language);

    Dialogs &m_dialogs;
    UrlOpener m_opener;
};

} // namespace vorta
