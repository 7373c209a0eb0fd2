// Shared by the test programs: scripted answers for the dialog interface, and a fresh data
// folder with the shipped files for each test.
#pragma once

#include "common/datafolder.h"
#include "common/dialogs.h"

#include <QList>
#include <QStringList>
#include <QTemporaryDir>

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

// Writes a text file as given (bytes), creating folders as needed.
void writeBytes(const QString &path, const QByteArray &bytes);
QByteArray readBytes(const QString &path);

} // namespace vorta::test
