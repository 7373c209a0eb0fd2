// The program's own version, as the window title, the About window, the exports and the version
// check show it.
#pragma once

#include <QString>

namespace vorta {

// "Versión " + major.minor.revision, for example "Versión 1.0.15".
QString versionText();

} // namespace vorta
