#include "config/configfile.h"

#include "common/textfile.h"
#include "common/textvalue.h"
#include "config/languages.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

namespace vorta {

namespace {

constexpr qsizetype kValueLimit = 100;
constexpr qsizetype kMacroLimit = 200;

void applyMacro(const QString &value, Macro &macro)
{
    const qsizetype semicolon = value.indexOf(u';');
    if (semicolon < 0)
        return; // a macro without ";" is ignored
    macro.caption = value.left(semicolon);
    macro.text = value.mid(semicolon + 1).left(kValueLimit);
}

} // namespace

QStringList languageNames()
{
    return {languageName(Language::Spanish), languageName(Language::English),
            languageName(Language::Portuguese)};
}

ConfigRead applyConfigLines(const QStringList &lines, Settings &s)
{
    ConfigRead read;
    // Every key is looked for anywhere in the line (exact case), in this order, and its value
    // is the rest of the line after it. Paths are never cut: a cut path would name a missing
    // file and silently switch the operator to another log. A macro line is the exception: its
    // text is the operator's own, and "Base=" or "MiCall=" typed into a macro must not change
    // the log or the call at the next start, so in it only its own key, in front, counts.
    for (const QString &line : lines) {
        const bool macroLine = line.startsWith(QLatin1String("Macro"));
        auto valueOf = [&line, &read, macroLine](QLatin1String key, qsizetype limit) -> std::optional<QString> {
            const qsizetype at = macroLine ? -1 : line.indexOf(key);
            if (at < 0)
                return std::nullopt;
            read.anyKey = true;
            const QString value = line.mid(at + key.size());
            return limit > 0 ? value.left(limit) : value;
        };
        if (auto v = valueOf(QLatin1String("MiCall="), kValueLimit))
            s.callSign = v->toUpper();
        if (auto v = valueOf(QLatin1String("Orbitron="), kValueLimit))
            s.useOrbitron = numericValue(*v) != 0;
        // An offset no time zone has (a hand-edited file) is refused as the settings window
        // refuses it: the default stands, and the clock's warning shows what is off.
        if (auto v = valueOf(QLatin1String("UTC_DIF="), kValueLimit)) {
            const int minutes = utcOffsetMinutesOf(*v);
            if (minutes >= kMinUtcOffsetMinutes && minutes <= kMaxUtcOffsetMinutes)
                s.utcText = utcOffsetText(minutes);
        }
        if (auto v = valueOf(QLatin1String("Base="), 0))
            s.basePath = *v;
        if (auto v = valueOf(QLatin1String("BaseN="), 0))
            s.baseName = *v;
        if (auto v = valueOf(QLatin1String("GridLoc="), kValueLimit))
            s.gridLocator = *v;
        if (auto v = valueOf(QLatin1String("Idioma="), kValueLimit))
            s.language = *v;
        if (auto v = valueOf(QLatin1String("Puerto="), kValueLimit); v && !v->isEmpty())
            s.port = *v;
        if (auto v = valueOf(QLatin1String("Pin="), kValueLimit); v && !v->isEmpty())
            s.pin = *v;
        for (int i = 0; i < 4; ++i) {
            const QString key = QStringLiteral("Macro%1=").arg(i + 5);
            const qsizetype at = line.indexOf(key);
            if (at >= 0 && (!macroLine || at == 0)) {
                read.anyKey = true;
                applyMacro(line.mid(at + key.size()).left(kMacroLimit), s.macros[i]);
            }
        }
    }
    if (!languageNames().contains(s.language))
        s.language = languageNames().first();
    // Only a macro with nothing of its own gets its default: a cleared F5 text must not cost the
    // operator the F6 to F8 macros.
    const std::array<Macro, 4> defaults = defaultMacros();
    for (std::size_t i = 0; i < s.macros.size(); ++i) {
        if (s.macros[i].caption.isEmpty() && s.macros[i].text.isEmpty()) {
            s.macros[i] = defaults[i];
            read.defaultsFilled = true;
        }
    }
    return read;
}

QStringList configLines(const Settings &s)
{
    QStringList lines{
        QStringLiteral("MiCall=") + s.callSign.toUpper(),
        QStringLiteral("Orbitron=") + (s.useOrbitron ? u'1' : u'0'),
        QStringLiteral("UTC_DIF=") + s.utcText,
        QStringLiteral("Base=") + s.basePath,
        QStringLiteral("BaseN=") + s.baseName,
        QStringLiteral("GridLoc=") + s.gridLocator,
        QStringLiteral("Idioma=") + s.language,
        QStringLiteral("Puerto=") + s.port,
        QStringLiteral("Pin=") + s.pin,
    };
    for (int i = 0; i < 4; ++i)
        lines << QStringLiteral("Macro%1=%2;%3").arg(i + 5).arg(s.macros[i].caption, s.macros[i].text);
    return lines;
}

ConfigLoad loadConfig(const QString &path, Settings &settings)
{
    ConfigLoad result;
    if (!QFileInfo::exists(path))
        return result;
    result.exists = true;
    const auto lines = readTextLines(path);
    if (!lines) {
        result.unreadable = true;
        return result;
    }
    Settings read = settings;
    const ConfigRead found = applyConfigLines(*lines, read);
    if (!found.anyKey) {
        result.noKnownKey = true;
        return result;
    }
    settings = read;
    if (found.defaultsFilled) {
        result.error = saveConfig(path, settings);
        result.rewritten = result.error.isEmpty();
    }
    return result;
}

QString keepConfigAside(const QString &path)
{
    QString aside = path + QStringLiteral(".bad");
    for (int n = 2; QFileInfo::exists(aside); ++n)
        aside = path + QStringLiteral(".bad%1").arg(n);
    return QFile::rename(path, aside) ? aside : QString();
}

QString saveConfig(const QString &path, const Settings &settings)
{
    return writeTextLines(path, configLines(settings));
}

} // namespace vorta

namespace vorta {

std::optional<ConfigProblem> checkConfigEntry(const QString &callSign, const QString &locator,
                                              const QString &utcText, Language language)
{
    if (!locator.isEmpty() && !isLocatorFormat(locator))
        return ConfigProblem{ConfigField::Locator, text(Txt::MsgBadLocator, language)};
    if (callSign.trimmed().isEmpty())
        return ConfigProblem{ConfigField::CallSign, text(Txt::MsgMustGiveCall, language)};
    // Every logged time depends on this number, so a text that is not one is refused rather
    // than read as 0 (which would log local time as UTC).
    static const QRegularExpression number(QStringLiteral("^\\s*[+-]?\\d{1,2}(\\.\\d+)?\\s*$"));
    const int minutes = utcOffsetMinutesOf(utcText);
    if (!number.match(utcText).hasMatch() || minutes < kMinUtcOffsetMinutes || minutes > kMaxUtcOffsetMinutes)
        return ConfigProblem{ConfigField::UtcOffset, text(Txt::MsgBadUtcOffset, language)};
    return std::nullopt;
}

} // namespace vorta
