// The data folder: where Vorta keeps its configuration, satellite list, log template, the Bases
// folder of logs and the Salidas folder of exports.
#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace vorta {

class DataFolder
{
public:
    // path: the data folder; shareDir: where the shipped files (template, default satellite
    // list, manuals) are installed, empty when unknown.
    DataFolder(QString path, QString shareDir);

    // The folder chosen at start: the --home option; else $VORTA_HOME; else the executable's
    // folder when it holds a vortalog.ini (a portable install); else ~/.local/share/Vorta.
    static QString resolve(const std::optional<QString> &homeOption, const QString &envHome,
                           const QString &exeDir);
    // share/vorta beside or above the executable's folder (build tree or installation).
    static QString findShareDir(const QString &exeDir);

    const QString &path() const { return m_path; }
    const QString &shareDir() const { return m_shareDir; }
    QString file(const QString &name) const;
    QString configFile() const { return file(QStringLiteral("vortalog.ini")); }
    QString settingsFile() const { return file(QStringLiteral("ajustes.ini")); }
    QString templateFile() const { return file(QStringLiteral("base0.mdb")); }
    QString basesDir() const { return file(QStringLiteral("Bases")); }
    QString defaultLog() const { return basesDir() + QStringLiteral("/base1.mdb"); }
    QString outputsDir() const { return file(QStringLiteral("Salidas")); }

    // A shipped file as installed with the program when it is there, else the data folder's
    // copy. The manuals are opened from here, so that after an upgrade the new ones show.
    QString shippedFile(const QString &name) const;

    // Creates the folder with Bases and Salidas, and copies in every shipped file it lacks, as
    // an installer would. Existing files are never touched. Returns an error text, empty when
    // all went well. A manual that cannot be copied (a nearly full disk) is no reason not to
    // start, as it is opened where it is installed: its error goes to manualError instead.
    QString prepare(QString *manualError = nullptr) const;

private:
    QString m_path;
    QString m_shareDir;
};

} // namespace vorta
