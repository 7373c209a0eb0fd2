// What the ADIF and CSV exports share: the rows they walk (the browser's listing, top to bottom),
// the save dialog with its overwrite question, and the writing of the finished file.
#pragma once

#include "browser/logmodel.h"
#include "config/languages.h"

#include <QString>

#include <array>
#include <functional>
#include <optional>

namespace vorta {

class Dialogs;

// What an export needs besides its rows.
struct ExportContext
{
    Dialogs &dialogs;
    Language language = Language::Spanish;
    QString outputsDir; // where the save dialog starts
    QString ownCall;    // names the proposed file
};

// One listed QSO as the exports read it: the cells the grid shows and the two QSL marks.
struct ExportRow
{
    std::array<QString, LogModel::kColumns> cells;
    bool qslSent = false;     // QSLe has the numeric value 1
    bool qslReceived = false; // QSLr likewise

    const QString &operator[](LogModel::Column column) const { return cells[std::size_t(column)]; }
};

// Hands the model's listed rows to visit in listing order, all of them, with one query; visit
// returns false to stop. Rows stored or deleted since the listing by someone else are passed
// over, so exactly the listed QSOs that still exist are seen. False, after telling the
// operator, when the log cannot be read.
bool forEachListedRow(const ExportContext &context, const LogModel &model,
                      const std::function<bool(const ExportRow &)> &visit);

// The save dialog of an export: it starts in the outputs folder with the own call sign plus the
// suffix as the proposed name. A chosen file that exists is written only after the operator
// agrees; No shows the dialog again, and so does choosing the log being exported, which is never
// written over. Nothing when the operator cancels.
std::optional<QString> chooseExportFile(const ExportContext &context, const LogModel &model, const QString &title,
                                        const QString &suffix, const QString &filter);

// Writes the finished text to path in one piece: Windows-1252 when every character fits, else
// UTF-8 (with a byte-order mark when utf8Mark is set, for programs that would otherwise take
// the bytes for the system's code page). A failure is told to the operator with the file name
// and the system's reason, and leaves an existing file as it was; false then.
bool writeExportFile(const ExportContext &context, const QString &path, const QString &text, bool utf8Mark);

// The file name without its folder, as the messages name it.
QString exportFileName(const QString &path);

} // namespace vorta
