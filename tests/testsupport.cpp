#include "testsupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>

#include <cmath>

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

std::optional<QString> ScriptedDialogs::saveFile(const QString &title, const QString &, const QString &)
{
    fileTitles << title;
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

QStringList elementFileLines()
{
    QStringList lines = QString::fromLatin1(kElementFile).split(QStringLiteral("\r\n"));
    if (lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

double longitudeBelow(const Sgp4 &orbit, double utc)
{
    const StateVector state = orbit.at(utc).state;
    const double ra = std::atan2(state.position[1], state.position[0]);
    return std::remainder((ra - greenwichSiderealTime(utc)) * 180.0 / M_PI, 360.0);
}

} // namespace vorta::test
