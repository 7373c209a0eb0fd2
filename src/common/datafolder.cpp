#include "common/datafolder.h"

#include "common/textfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace vorta {

DataFolder::DataFolder(QString path, QString shareDir)
    : m_path(QDir::cleanPath(std::move(path))), m_shareDir(std::move(shareDir))
{
}

QString DataFolder::resolve(const std::optional<QString> &homeOption, const QString &envHome,
                            const QString &exeDir)
{
    if (homeOption && !homeOption->isEmpty())
        return QDir(*homeOption).absolutePath();
    if (!envHome.isEmpty())
        return QDir(envHome).absolutePath();
    if (!exeDir.isEmpty() && QFileInfo::exists(exeDir + QStringLiteral("/vortalog.ini")))
        return QDir(exeDir).absolutePath();
    return QDir::homePath() + QStringLiteral("/.local/share/Vorta");
}

QString DataFolder::findShareDir(const QString &exeDir)
{
    for (const QString &candidate : {exeDir + QStringLiteral("/share/vorta"),
                                     exeDir + QStringLiteral("/../share/vorta")}) {
        if (QFileInfo::exists(candidate + QStringLiteral("/base0.mdb")))
            return QDir(candidate).absolutePath();
    }
    return {};
}

QString DataFolder::file(const QString &name) const
{
    return m_path + u'/' + name;
}

QString DataFolder::shippedFile(const QString &name) const
{
    if (!m_shareDir.isEmpty()) {
        const QString installed = m_shareDir + u'/' + name;
        if (QFileInfo(installed).isFile())
            return installed;
    }
    return file(name);
}

QString DataFolder::prepare(QString *manualError) const
{
    QDir dir;
    for (const QString &folder : {m_path, basesDir(), outputsDir()}) {
        if (!dir.mkpath(folder))
            return QStringLiteral("No se puede crear la carpeta ") + folder;
    }
    if (m_shareDir.isEmpty())
        return {};
    const QDir share(m_shareDir);
    for (const QString &name : share.entryList(QDir::Files)) {
        const QString target = file(name);
        if (QFileInfo::exists(target))
            continue;
        // Written whole or not at all, so a half-copied template is never used.
        QFile source(share.filePath(name));
        const QString error =
            source.open(QIODevice::ReadOnly) ? writeFileAtomically(target, source.readAll()) : source.errorString();
        if (error.isEmpty())
            continue;
        const QString message =
            QStringLiteral("No se puede copiar ") + name + QStringLiteral(" a ") + m_path + QStringLiteral(": ") + error;
        if (!name.endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive))
            return message;
        if (manualError)
            *manualError += (manualError->isEmpty() ? QString() : QStringLiteral("\r\n")) + message;
    }
    return {};
}

} // namespace vorta
