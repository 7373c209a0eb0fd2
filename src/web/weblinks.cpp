#include "web/weblinks.h"

#include "common/datafolder.h"

#include <QDesktopServices>
#include <QFileInfo>

namespace vorta {

namespace {

constexpr WebLink kLinks[] = {
    {Txt::LinkAmsatUsa, Txt::LinkAmsatStatus, "https://www.amsat.org/status/"},
    {Txt::LinkAmsatUsa, Txt::LinkAmsatPasses, "https://www.amsat.org/track/"},
    {std::nullopt, Txt::LinkAriss, "https://www.ariss.org/"},
    {std::nullopt, Txt::LinkAmsatArgentina, "https://www.amsat.org.ar/"},
    {std::nullopt, Txt::LinkNeaa, "https://www.neaa.org/"},
};

} // namespace

std::span<const WebLink> webLinks()
{
    return kLinks;
}

QString helpFileName(Language language)
{
    switch (language) {
    case Language::English:
        return QStringLiteral("Ayuda_eng.pdf");
    case Language::Portuguese:
        return QStringLiteral("Ayuda_por.pdf");
    case Language::Spanish:
        break;
    }
    return QStringLiteral("Ayuda.pdf");
}

bool openWithDesktop(const QUrl &url)
{
    return QDesktopServices::openUrl(url);
}

WebOpener::WebOpener(Dialogs &dialogs, UrlOpener opener) : m_dialogs(dialogs), m_opener(std::move(opener)) {}

void WebOpener::openLink(const WebLink &link, Language language)
{
    const QString address = QString::fromLatin1(link.address);
    open(QUrl(address), address, language);
}

void WebOpener::openHelp(const DataFolder &folder, Language language)
{
    const QString path = folder.shippedFile(helpFileName(language));
    // The viewer would fail on a missing file with a message of its own, or silently.
    if (!QFileInfo(path).isFile()) {
        m_dialogs.inform(text(Txt::MsgHelpMissing, language, {{"$arch$", path}}), Icon::Exclamation);
        return;
    }
    open(QUrl::fromLocalFile(path), path, language);
}

void WebOpener::writeMail(const QString &address, Language language)
{
    open(QUrl(QStringLiteral("mailto:") + address), address, language);
}

void WebOpener::open(const QUrl &url, const QString &shownName, Language language)
{
    if (!m_opener(url))
        m_dialogs.inform(text(Txt::MsgCannotOpen, language, {{"$arch$", shownName}}), Icon::Exclamation);
}

} // namespace vorta
