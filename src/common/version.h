// The program's version as the main window's title and the exported files show it.
#pragma once

#include <QString>

namespace vorta {

// "Versión 1.0.15": the version the build was made with.
inline QString versionText()
{
    return QStringLiteral("Versión %1.%2.%3").arg(VORTA_VERSION_MAJOR).arg(VORTA_VERSION_MINOR).arg(VORTA_VERSION_PATCH);
}

} // namespace vorta
