#include "config/extrasettings.h"

#include "common/textfile.h"
#include "tracking/trackingsource.h"

namespace vorta {

ExtraSettings loadExtraSettings(const QString &path)
{
    ExtraSettings settings{kDefaultTrackingPort, {}, {}};
    const auto lines = readTextLines(path);
    if (!lines)
        return settings;
    for (const QString &line : *lines) {
        const qsizetype equals = line.indexOf(u'=');
        if (equals < 0)
            continue;
        const QString key = line.left(equals).trimmed();
        const QString value = line.mid(equals + 1).trimmed();
        if (key == QLatin1String("PuertoSeguimiento")) {
            bool ok = false;
            const uint port = value.toUInt(&ok);
            if (ok && port > 0 && port < 65536)
                settings.trackingPort = quint16(port);
        } else if (key == QLatin1String("CarpetaOrbitron")) {
            settings.orbitronFolder = value;
        } else if (key == QLatin1String("DireccionVersion")) {
            settings.versionAddress = value;
        }
    }
    return settings;
}

} // namespace vorta
