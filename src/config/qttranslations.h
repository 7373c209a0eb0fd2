// Qt's own texts (the buttons of message boxes, the file dialogs, the fields' context menus) in
// the interface language, from the translations Qt ships (Debian: qt6-translations-l10n). A
// language whose file is missing leaves Qt's English.
#pragma once

#include "config/languages.h"

#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

class QTranslator;

namespace vorta {

// The names of Qt's translation files for a language, the preferred first.
QStringList qtTranslationNames(Language language);

class QtTranslations
{
public:
    // folder: where the files lie; by default Qt's own translations folder.
    explicit QtTranslations(QString folder = QString());
    ~QtTranslations();
    QtTranslations(const QtTranslations &) = delete;
    QtTranslations &operator=(const QtTranslations &) = delete;

    // Makes Qt's texts follow language, in place of the language applied before. False when no
    // translation of it was found (Qt then speaks English). Applying the language in force
    // again does nothing.
    bool apply(Language language);

private:
    QString m_folder;
    std::optional<Language> m_applied;
    bool m_found = false;
    std::unique_ptr<QTranslator> m_translator;
};

} // namespace vorta
