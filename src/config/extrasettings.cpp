#include "config/extrasettings.h"

#include "common/textfile.h"
#include "tracking/trackingsource.h"

#include <algorithm>
#include <utility>

namespace vorta {

namespace {

const QString kFontScaleKey = QStringLiteral("EscalaLetra");

QString keyOf(const QString &line)
{
    const qsizetype equals = line.indexOf(u'=');
    return equals < 0 ? QString() : line.left(equals).trimmed();
}

} // namespace

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
        } else if (key == kFontScaleKey) {
            bool ok = false;
            const int percent = value.toInt(&ok);
            if (ok)
                settings.fontScale = std::clamp(percent, kMinFontScale, kMaxFontScale);
        }
    }
    return settings;
}

int steppedFontScale(int percent, int steps)
{
    if (steps == 0)
        return kDefaultFontScale;
    // To the next step up or down; a size typed into the file between steps comes onto them.
    const int next = steps > 0 ? (percent / kFontScaleStep + 1) * kFontScaleStep
                               : ((percent + kFontScaleStep - 1) / kFontScaleStep - 1) * kFontScaleStep;
    return std::clamp(next, kMinFontScale, kMaxFontScale);
}

QString saveFontScale(const QString &path, int percent)
{
    const QString line = kFontScaleKey + u'=' + QString::number(percent);
    QStringList lines;
    bool written = false;
    // One line of the key, in the place of the first: the file names one size.
    for (const QString &old : readTextLines(path).value_or(QStringList())) {
        if (keyOf(old) != kFontScaleKey)
            lines << old;
        else if (!std::exchange(written, true))
            lines << line;
    }
    if (!written)
        lines << line;
    return writeTextLines(path, lines);
}

} // namespace vorta
