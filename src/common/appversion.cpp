#include "common/appversion.h"

namespace vorta {

QString versionText()
{
    return QStringLiteral("Versión %1.%2.%3").arg(VORTA_VERSION_MAJOR).arg(VORTA_VERSION_MINOR).arg(VORTA_VERSION_PATCH);
}

} // namespace vorta
