#include "config/qttranslations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace vorta {

QStringList qtTranslationNames(Language language)
{
    switch (language) {
    case Language::English:
        return {QStringLiteral("qtbase_en")};
    case Language::Portuguese:
        // Qt ships Brazilian Portuguese; a European file is taken when one is installed instead.
        return {QStringLiteral("qtbase_pt_BR"), QStringLiteral("qtbase_pt")};
    case Language::Spanish:
        break;
    }
    return {QStringLiteral("qtbase_es")};
}

QtTranslations::QtTranslations(QString folder)
    : m_folder(folder.isEmpty() ? QLibraryInfo::path(QLibraryInfo::TranslationsPath) : std::move(folder))
{
}

QtTranslations::~QtTranslations()
{
    if (m_translator)
        QCoreApplication::removeTranslator(m_translator.get());
}

bool QtTranslations::apply(Language language)
{
    if (m_applied == language)
        return m_found;
    m_applied = language;
    if (m_translator) {
        QCoreApplication::removeTranslator(m_translator.get());
        m_translator.reset();
    }
    m_found = false;
    for (const QString &name : qtTranslationNames(language)) {
        auto translator = std::make_unique<QTranslator>();
        if (!translator->load(name, m_folder))
            continue;
        QCoreApplication::installTranslator(translator.get());
        m_translator = std::move(translator);
        m_found = true;
        break;
    }
    return m_found;
}

} // namespace vorta
