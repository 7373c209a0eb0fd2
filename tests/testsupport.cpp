#include "testsupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>

namespace vorta::test {

void ScriptedDialogs::inform(const QString &text, Icon icon)
{
    shown.append({text, icon, false});
}

bool ScriptedDialogs::ask(const QString &text, Icon icon)
{
    shown.append({text, icon, true});
    if (answers.isEmpty()) {
        unexpected = true;
        return false;
    }
    return answers.takeFirst();
}

std::optional<QString> ScriptedDialogs::openFile(const QString &title, const QString &, const QString &)
{
    fileTitles << title;
    if (files.isEmpty()) {
        unexpected = true;
        return std::nullopt;
    }
    return files.takeFirst();
}

std::optional<QString> ScriptedDialogs::saveFile(const QString &title, const QString &proposedPath,
                                                 const QString &filter)
{
    fileTitles << title;
    proposedPaths << proposedPath;
    saveFilters << filter;
    if (files.isEmpty()) {
        unexpected = true;
        return std::nullopt;
    }
    return files.takeFirst();
}

QStringList ScriptedDialogs::texts() const
{
    QStringList list;
    for (const Shown &s : shown)
        list << s.text;
    return list;
}

TempHome::TempHome()
{
    m_folder = std::make_unique<DataFolder>(m_dir.path(), QStringLiteral(VORTA_TEST_SHARE_DIR));
    const QString error = m_folder->prepare();
    if (!error.isEmpty())
        qFatal("cannot prepare the test data folder: %s", qPrintable(error));
}

void writeBytes(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
}

QByteArray readBytes(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

} // namespace vorta::test
