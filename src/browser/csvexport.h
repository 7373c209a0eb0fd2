// The browser's "Excel.csv" export: the listed rows, top to bottom, as semicolon-separated lines
// for spreadsheet programs, then the offer to open the file. Built in memory and written in one
// piece, so an error leaves no partial file and an existing file as it was.
#pragma once

#include "browser/exportcommon.h"

#include <QString>

#include <functional>
#include <optional>

namespace vorta {

class CsvExport
{
public:
    // Opens a file with the program the desktop associates with it; true when that worked.
    using Opener = std::function<bool(const QString &path)>;

    CsvExport(const ExportContext &context, Opener opener);

    // The whole export: the save dialog, the file, and the question whether to open it.
    // Returns the file written, nothing when none was.
    std::optional<QString> run(const LogModel &model);

private:
    ExportContext m_context;
    Opener m_opener;
};

} // namespace vorta
