// Shared by the test programs: scripted answers for the dialog interface, and a fresh data
// folder with the shipped files for each test.
#pragma once

#include "common/datafolder.h"
#include "common/dialogs.h"

#include <QList>
#include <QStringList>
#include <QTemporaryDir>

#include <sys/resource.h>

#include <memory>
#include <optional>

namespace vorta::test {

// Records every message and question, and answers from queues. A question or file dialog
// with an empty queue fails the test: the code asked something the test did not expect.
class ScriptedDialogs : public Dialogs
{
public:
    struct Shown
    {
        QString text;
        Icon icon;
        bool question;
    };

    QList<Shown> shown;
    QList<bool> answers;
    QList<std::optional<QString>> files;
    QStringList fileTitles;
    QStringList proposedPaths; // of the save dialogs, with their filters below
    QStringList saveFilters;

    void inform(const QString &text, Icon icon) override;
    bool ask(const QString &text, Icon icon) override;
    std::optional<QString> openFile(const QString &title, const QString &dir, const QString &filter) override;
    std::optional<QString> saveFile(const QString &title, const QString &proposedPath,
                                    const QString &filter) override;

    QStringList texts() const;
    bool unexpected = false; // set when the code asked more than the script answers
};

// A temporary data folder, prepared as at a first start (shipped files copied in).
class TempHome
{
public:
    TempHome();
    const DataFolder &folder() const { return *m_folder; }
    QString path() const { return m_dir.path(); }

private:
    QTemporaryDir m_dir;
    std::unique_ptr<DataFolder> m_folder;
};

// While it lives, no file this process writes may grow beyond the given size (RLIMIT_FSIZE):
// a longer write fails as on a full disk, with the system's "File too large".
class FileSizeLimit
{
public:
    explicit FileSizeLimit(qint64 bytes);
    ~FileSizeLimit();
    FileSizeLimit(const FileSizeLimit &) = delete;
    FileSizeLimit &operator=(const FileSizeLimit &) = delete;

private:
    rlimit m_saved{};
};

// A small file system of its own (a tmpfs), filled up by fill() so that every further write fails
// with "No space left on device". Mounting needs root; where it cannot be made, path() is empty
// and the test skips.
class SmallDisk
{
public:
    explicit SmallDisk(qint64 bytes = 4 * 1024 * 1024); // room for the shipped files, manuals included
    ~SmallDisk();
    SmallDisk(const SmallDisk &) = delete;
    SmallDisk &operator=(const SmallDisk &) = delete;
    QString path() const { return m_mounted ? m_dir.path() : QString(); }
    // Takes every byte still free.
    void fill();

private:
    QTemporaryDir m_dir;
    bool m_mounted = false;
};

// A log made from the template with QSOs enough to fill several pages, then damaged as a disk
// or a copy damages files: cut short in the middle of its pages, or with a run of bytes
// garbled inside a page of QSOs. The path is returned.
enum class Damage { Truncated, Garbled };
QString damagedLog(const DataFolder &folder, const QString &name, Damage damage);

// Writes a text file as given (bytes), creating folders as needed.
void writeBytes(const QString &path, const QByteArray &bytes);
QByteArray readBytes(const QString &path);

} // namespace vorta::test
