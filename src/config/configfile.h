// vortalog.ini: one key=value setting per line, read at start and rewritten whole on save.
#pragma once

#include "config/settings.h"

#include <QStringList>

#include <optional>

namespace vorta {

// The three interface language names, in the order the language list offers them.
QStringList languageNames();

struct ConfigRead
{
    bool anyKey = false;         // some line held one of the file's keys
    bool defaultsFilled = false; // a macro got its default: the file should be written back
};

// Applies the lines of a configuration file to the settings, key by key in file order (a key
// given twice takes its last value). A macro left without caption and text (its line missing
// or empty) gets its default; the operator's other macros stay as they are.
ConfigRead applyConfigLines(const QStringList &lines, Settings &settings);

// The file's thirteen lines for these settings, in their fixed order.
QStringList configLines(const Settings &settings);

struct ConfigLoad
{
    bool exists = false;      // false: no file, the first run
    bool unreadable = false;  // the file exists but could not be read: settings unchanged
    bool noKnownKey = false;  // the file holds none of its keys: settings unchanged, file untouched
    bool rewritten = false;   // default macros were filled in and the file written back
    QString error;            // a failed write-back, empty otherwise
};

// Reads the file into settings. Without a file the settings stay as given.
ConfigLoad loadConfig(const QString &path, Settings &settings);

// Moves a configuration file out of the way, to its name + ".bad" (".bad2", ".bad3", ... when
// one was kept aside before), so that a fresh one can be written while the operator keeps the
// old bytes. Returns the new name, empty when the file could not be moved.
QString keepConfigAside(const QString &path);

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
