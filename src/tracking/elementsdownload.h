// The element sets Vorta keeps in its data folder for the built-in tracker (and for orbit
// numbers when the tracker's folder has none): a standard TLE file, brought up to date from the
// web on demand. What arrives replaces the file only when it really holds element sets, and only
// whole; every failure is told to the operator with its reason, the file staying as it was. An
// answer with far fewer sets than the file (a download cut short where the server gave no
// length) replaces it only when the operator says so. Success is told quietly (updated()), as
// it comes well after the menu entry, when the operator is busy with something else.
#pragma once

#include "common/dialogs.h"
#include "config/languages.h"
#include "web/webget.h"

#include <QObject>
#include <QString>

#include <chrono>

namespace vorta {

class DataFolder;

// The data folder's element sets: elementos.tle.
QString dataElementsFile(const DataFolder &folder);

// The usable element sets in a download, and the sets it holds that cannot be used.
struct ElementsCount
{
    qsizetype usable = 0;
    int rejected = 0;
    // An element sets file: some usable sets, and more usable than damaged ones (an error page
    // that happens to quote an element set is no such file).
    bool acceptable() const { return usable > 0 && usable > rejected; }
};
ElementsCount countElementSets(const QByteArray &bytes);

class ElementsDownload : public QObject
{
    Q_OBJECT
public:
    static constexpr std::chrono::milliseconds kDefaultTimeout{30000};
    // More than any list of amateur satellites needs: a larger answer is not an element file.
    static constexpr qint64 kMaxBytes = 8 * 1024 * 1024;
    // An answer with fewer usable sets than this share of the file's is asked about: groups
    // lose a satellite or two now and then, not a quarter of them.
    static constexpr double kFewerSetsShare = 0.75;

    explicit ElementsDownload(Dialogs &dialogs, std::chrono::milliseconds timeout = kDefaultTimeout,
                              QObject *parent = nullptr);

    // Downloads address into target and tells the operator how it went. fileInUse is the
    // elements file the program reads; when it is another one (the tracker's own), the message
    // says so. A download asked for while one runs is dropped.
    void run(const QString &address, const QString &target, const QString &fileInUse, Language language);
    bool running() const { return m_get.running(); }

signals:
    // The target was replaced; notice says so, for the status line.
    void updated(const QString &notice);
    // The download ended; replaced tells whether the target now holds what arrived.
    void finished(bool replaced);

private:
    void answered(const WebAnswer &answer);
    void fail(const QString &reason);

    Dialogs &m_dialogs;
    WebGet m_get;
    QString m_address, m_target, m_fileInUse;
    Language m_language = Language::Spanish;
};

} // namespace vorta
