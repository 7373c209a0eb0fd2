// The two steps of an ADIF import, run in the background so that the window that shows them
// stays live on files of any size: reading a file and staging its satellite QSOs in Tabla2 with
// their duplicate marks, then loading the staged rows into Tabla1. The work runs on a thread of
// its own with its own connection to the log; it reports through the signals below, which arrive
// on the thread that owns this object, and stops soon after abort().
#pragma once

#include "config/languages.h"
#include "import/adifreader.h"
#include "import/importstaging.h"
#include "logdb/logfiles.h"

#include <QObject>
#include <QString>

#include <atomic>
#include <functional>
#include <memory>

class QThread;

namespace vorta {

class Dialogs;

class AdifImport : public QObject
{
    Q_OBJECT
public:
    struct Setup
    {
        QString logPath; // the log the QSOs are staged in and later loaded into
        QString logName; // its file name
        QString filePath;
        QString configuredCall;
        Language language = Language::Spanish;
    };

    struct Counts
    {
        int total = 0;      // records in the file
        int staged = 0;     // satellite QSOs staged
        int duplicates = 0; // of them, repeats of logged QSOs
        int undated = 0;    // satellite QSOs left out for want of a real date or time
        QString ownCall;    // of the last staged QSO
    };

    explicit AdifImport(Dialogs &dialogs, QObject *parent = nullptr);
    ~AdifImport() override; // stops the work and waits for it

    // Forgets the previous import: empty text, no progress, nothing to load.
    void reset(Language language);
    // The first step. Ignored while a step runs.
    void read(const Setup &setup);
    // The second step, into the log the first step staged in. Ignored unless canLoad().
    void load();
    // Stops the step that runs: a reading stages no more, a load is rolled back. The operator
    // is told how a load that was running ended, since the window that asked is closing.
    void abort();

    bool busy() const { return m_busy; }
    // A step runs on after abort(), until its next record.
    bool stopping() const { return m_busy && m_abort; }
    // The log the last reading staged in, which a load writes into.
    CurrentLog stagedLog() const { return {m_setup.logPath, m_setup.logName}; }
    // Staged QSOs wait to be loaded (loaded once only).
    bool canLoad() const { return m_canLoad && !m_busy; }
    QString loadCaption() const { return m_loadCaption; }
    // The window's log: progress texts, header summary, counts, the outcome of the load.
    const QString &logText() const { return m_text; }
    // 0 to 1000.
    int progress() const { return m_progress; }
    const Counts &counts() const { return m_counts; }
    const AdifHeader &header() const { return m_header; }

signals:
    // The text, the progress, or what the load button offers changed.
    void changed();
    void readFinished(bool completed);
    void loadFinished(bool loaded);

private:
    class Reporter;
    struct ReadResult;
    void start(std::function<void()> work);
    // Runs action on this object's thread, unless another step has started meanwhile.
    void postToOwner(int generation, std::function<void()> action);
    // These two run on the worker thread and touch no member but the abort flag.
    void runRead(const Setup &setup, int generation, const QString &startText);
    void runLoad(const Setup &setup, const AdifHeader &header, const StagedDefaults &defaults, int generation,
                 const QString &startText);
    void readDone(ReadResult result);
    void failed(const QString &message, bool whileLoading);

    Dialogs &m_dialogs;
    Setup m_setup;
    Language m_language = Language::Spanish;
    QString m_text;
    QString m_loadCaption;
    int m_progress = 0;
    bool m_busy = false;
    bool m_canLoad = false;
    Counts m_counts;
    AdifHeader m_header;
    StagedDefaults m_defaults;
    int m_generation = 0; // counts the steps started, so that late reports of an earlier one are dropped
    std::atomic<bool> m_abort{false};
    std::unique_ptr<QThread> m_worker;
};

} // namespace vorta
