#include "config/extrasettings.h"

#include "common/textfile.h"
#include "tracking/trackingsource.h"

#include <QFileInfo>

#include <algorithm>
#include <optional>
#include <utility>

namespace vorta {

namespace {

const QString kFontScaleKey = QStringLiteral("EscalaLetra");

// The key of a key=value line; nothing for a line without "=".
std::optional<QString> keyOf(const QString &line)
{
    const qsizetype equals = line.indexOf(u'=');
    if (equals < 0)
        return std::nullopt;
    return line.left(equals).trimmed();
}

} // namespace

ExtraSettings loadExtraSettings(const QString &path)
{
    ExtraSettings settings{kDefaultTrackingPort, {}, {}};
    const auto lines = readTextLines(path);
    if (!lines)
        return settings;
    for (const QString &line : *lines) {
        const std::optional<QString> key = keyOf(line);
        if (!key)
            continue;
        const QString value = line.mid(line.indexOf(u'=') + 1).trimmed();
        if (*key == QLatin1String("PuertoSeguimiento")) {
            bool ok = false;
            const uint port = value.toUInt(&ok);
            if (ok && port > 0 && port < 65536)
                settings.trackingPort = quint16(port);
        } else if (*key == QLatin1String("CarpetaOrbitron")) {
            settings.orbitronFolder = value;
        } else if (*key == QLatin1String("DireccionVersion")) {
            settings.versionAddress = value;
        } else if (*key == kFontScaleKey) {
            bool ok = false;
            const int percent = value.toInt(&ok);
            if (ok)
                settings.fontScale = std::clamp(percent, kMinFontScale, kMaxFontScale);
        } else if (*key == QStringView(kTrackingChoiceKey)) {
            // Anything but the built-in tracker's value keeps the link, as before the choice
            // existed.
            settings.tracking = value.compare(trackingChoiceValue(TrackingChoice::BuiltIn), Qt::CaseInsensitive) == 0
                                    ? TrackingChoice::BuiltIn
                                    : TrackingChoice::Link;
        } else if (*key == QLatin1String("DireccionElementos")) {
            if (!value.isEmpty())
                settings.elementsAddress = value;
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
    return saveExtraSetting(path, kFontScaleKey, QString::number(percent));
}

QString trackingChoiceValue(TrackingChoice choice)
{
    return choice == TrackingChoice::BuiltIn ? QStringLiteral("integrado") : QStringLiteral("enlace");
}

QString saveExtraSetting(const QString &path, QStringView key, const QString &value)
{
    QStringList lines;
    if (QFileInfo::exists(path)) {
        const std::optional<QStringList> read = readTextLines(path);
        if (!read)
            return QStringLiteral("No se puede leer el archivo");
        lines = *read;
    }
    const QString line = key.toString() + u'=' + value;
    QStringList kept;
    bool written = false;
    // One line of the key, in the place of the first: the file names one value.
    for (const QString &old : std::as_const(lines)) {
        const std::optional<QString> k = keyOf(old);
        if (!k || *k != key)
            kept << old;
        else if (!std::exchange(written, true))
            kept << line;
    }
    if (!written)
        kept << line;
    return writeTextLines(path, kept);
}

} // namespace vorta
