// The check of the installed version against the version file the maker publishes on the web:
// once by itself shortly after start (silent when nothing is due) and on demand from the menu.
// Its only output is one message to the operator.
#pragma once

#include "common/dialogs.h"
#include "config/languages.h"
#include "web/webget.h"

#include <QObject>
#include <QString>

#include <chrono>
#include <optional>

namespace vorta {

// A version written major.minor.revision, each part plain decimal digits.
struct VersionNumber
{
    quint64 major = 0, minor = 0, revision = 0;
};

// The version a text holds: "1.0.16", with blanks around it allowed and a note after it
// ("1.0.16-beta", "1.0.16 (05/07/2025)"). Anything else (an HTML page, "abc", "1.0",
// "v1.0.16") is no version.
std::optional<VersionNumber> parseVersion(QStringView text);

// The message a version file's answer gives: installed is the installed version (for example
// "1.0.15"), body the downloaded bytes. Nothing when the versions are equal and the check is
// silent.
struct CheckMessage
{
    QString text;
    Icon icon;
};
std::optional<CheckMessage> versionMessage(const QString &installed, const QByteArray &body, bool silent);

class VersionCheck : public QObject
{
    Q_OBJECT
public:
    static constexpr std::chrono::milliseconds kDefaultTimeout{10000};
    // The most of an answer that is kept: the version file's first line is all that matters,
    // and a server that keeps sending must not fill the memory.
    static constexpr qsizetype kMaxAnswer = 64 * 1024;

    // installedVersionText: the version text of the window title ("Versión 1.0.15"). A check
    // that gets no complete answer within timeout counts as no connection.
    VersionCheck(Dialogs &dialogs, QString installedVersionText,
                 std::chrono::milliseconds timeout = kDefaultTimeout, QObject *parent = nullptr);

    // Asks address for the version file and tells the operator what it means. silent: the
    // automatic check at start, which keeps quiet when the installed version is the latest
    // and does nothing at all without an address. settingsFile names, for the operator, where
    // an address would be configured. A check asked for while one runs starts nothing: the
    // running one answers, and speaks even when nothing is due if either was asked for.
    void run(const QString &address, bool silent, Language language, const QString &settingsFile);
    bool running() const { return m_get.running(); }

signals:
    // The check ended, with or without a message.
    void finished();

private:
    void answered(const WebAnswer &answer);

    Dialogs &m_dialogs;
    QString m_installed;
    WebGet m_get;
    bool m_silent = false;
};

} // namespace vorta
