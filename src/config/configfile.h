// vortalog.ini: one key=value setting per line, read at start and rewritten whole on save.
#pragma once

#include "config/settings.h"

#include <QStringList>

#include <optional>

namespace vorta {

// The three interface language names, in the order the language list offers them.
QStringList languageNames();

// Applies the lines of a configuration file to the settings, key by key in file order (a key
// given twice takes its last value). Returns true when the file gave no usable F5 macro, so
// that the caller must fill in the default macros and write the file back.
bool applyConfigLines(const QStringList &lines, Settings &settings);

// The file's thirteen lines for these settings, in their fixed order.
QStringList configLines(const Settings &settings);

struct ConfigLoad
{
    bool exists = false;      // false: no file, the first run
    bool unreadable = false;  // the file exists but could not be read: settings unchanged
    bool rewritten = false;   // the default macros were filled in and the file written back
    QString error;            // a failed write-back, empty otherwise
};

// Reads the file into settings. Without a file the settings stay as given.
ConfigLoad loadConfig(const QString &path, Settings &settings);

// Writes the whole file atomically. Returns an error text, empty on success.
QString saveConfig(const QString &path, const Settings &settings);

} // namespace vorta

namespace vorta {

enum class Language;

enum class ConfigField { Locator, CallSign, UtcOffset };

struct ConfigProblem
{
    ConfigField field;
    QString message;
};

// The checks of the configuration window's Accept, in their order: the locator (empty, or
// LLNN / LLNNLL), the call sign (not empty), the UTC offset (a number of hours from -12 to 14).
std::optional<ConfigProblem> checkConfigEntry(const QString &callSign, const QString &locator,
                                              const QString &utcText, Language language);

} // namespace vorta
