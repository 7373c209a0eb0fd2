// The three ADIF exports of the log browser: for upload to LoTW, for eQSL, and complete (every
// listed row with its QSL marks, to be read back). Each walks the browser's listing top to
// bottom, builds the whole file in memory and writes it in one piece at the normal end only, so
// a No to a question or an error leaves no file behind and an existing file as it was.
#pragma once

#include "browser/exportcommon.h"

#include <QDateTime>
#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>

#include <optional>

namespace vorta {

enum class AdifTarget { Lotw, Eqsl, Complete };

// The list of satellite names that LoTW accepts, in the data folder. The operator may add the
// names LoTW adds later.
inline const QString kLotwSatellitesFile = QStringLiteral("lotw_satelites.txt");

// The MODE an export writes for an uplink mode: every single-sideband mode ("USB", "LSB",
// "SSB") is "SSB", as LoTW and eQSL know it; other modes stay as they are. A confirmation
// comes back with this mode, so the import compares modes in this form.
QString adifMode(const QString &uplinkMode);

// The header every ADIF export starts with, each line ended by CR LF, "<EOH>" last.
QString adifHeader(const QDateTime &created);

// The names of a satellite list file, one per line, blanks around them dropped; empty lines and
// lines starting with "#" are skipped. Nothing when the file cannot be read.
std::optional<QStringList> readSatelliteNames(const QString &path);

class AdifExport
{
public:
    AdifExport(AdifTarget target, const ExportContext &context);

    // The LoTW export asks before writing QSOs whose satellite is not on this list; without a
    // readable list it does not ask.
    void setLotwList(const QString &path) { m_lotwListPath = path; }
    // The moment the header names; the local time of the run unless set.
    void setCreated(const QDateTime &created) { m_created = created; }

    // The whole export: the save dialog, the questions, the file and the closing message.
    // Returns the file written, nothing when none was.
    std::optional<QString> run(const LogModel &model);

private:
    bool addRow(const ExportRow &row);
    bool askProblem(const ExportRow &row);
    void appendRecord(const ExportRow &row, const QString &band);
    void noteLotwName(const QString &satellite);
    bool confirmLotwNames();
    void reportDone(const QString &path);

    AdifTarget m_target;
    ExportContext m_context;
    QString m_lotwListPath;
    QDateTime m_created;

    // One run's state.
    QString m_text;
    qint64 m_exported = 0;
    qint64 m_listening = 0;
    bool m_problemAsked = false;
    bool m_aborted = false;
    QSet<QString> m_lotwNames; // upper case; empty when there is no list
    QStringList m_unknownNames; // in order of first appearance
    QHash<QString, qint64> m_unknownCounts;
};

} // namespace vorta
