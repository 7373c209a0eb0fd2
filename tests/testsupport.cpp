#include "testsupport.h"

#include "logdb/logfiles.h"
#include "logdb/sqlite.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>

#include <cmath>
#include <csignal>
#include <utility>

#include <fcntl.h>
#include <linux/capability.h>
#include <stdlib.h>
#include <sys/mount.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace vorta::test {

WebServer::WebServer()
{
    if (!m_server.listen(QHostAddress::LocalHost, 0))
        qFatal("the test web server cannot listen");
    connect(&m_server, &QTcpServer::newConnection, this, [this] {
        while (QTcpSocket *socket = m_server.nextPendingConnection()) {
            socket->setParent(this);
            connect(socket, &QTcpSocket::readyRead, this, [this, socket] { serve(socket); });
        }
    });
}

QString WebServer::address(const QString &path) const
{
    return QStringLiteral("http://127.0.0.1:%1").arg(m_server.serverPort()) + path;
}

void WebServer::answerHeld()
{
    for (QTcpSocket *socket : std::exchange(m_held, {}))
        answer(socket);
}

void WebServer::serve(QTcpSocket *socket)
{
    QByteArray &request = m_pending[socket];
    request += socket->readAll();
    if (!request.contains("\r\n\r\n") || mute)
        return;
    request.clear();
    ++requests;
    if (hold)
        m_held << socket;
    else
        answer(socket);
}

void WebServer::answer(QTcpSocket *socket)
{
    const QByteArray head = "HTTP/1.1 " + QByteArray::number(status) + " Status\r\nContent-Type: text/plain\r\n";
    if (trailing == 0) {
        const QByteArray sent = cut ? body.left(body.size() / 2) : body;
        socket->write(head + "Content-Length: " + QByteArray::number(body.size()) + "\r\nConnection: close\r\n\r\n"
                      + sent);
        socket->disconnectFromHost();
        return;
    }
    socket->write(head + "Connection: close\r\n\r\n" + body);
    // The junk goes out as fast as the client takes it, a little at a time.
    auto *left = new qint64(trailing);
    const auto more = [socket, left] {
        while (*left > 0 && socket->bytesToWrite() < 256 * 1024) {
            const qint64 n = qMin<qint64>(*left, 64 * 1024);
            socket->write(QByteArray(n, '7'));
            *left -= n;
        }
    };
    QObject::connect(socket, &QTcpSocket::bytesWritten, socket, more);
    QObject::connect(socket, &QObject::destroyed, [left] { delete left; });
    more();
}

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

FileSizeLimit::FileSizeLimit(qint64 bytes)
{
    // The signal that would end the process at the limit; the write then fails with EFBIG.
    std::signal(SIGXFSZ, SIG_IGN);
    getrlimit(RLIMIT_FSIZE, &m_saved);
    rlimit limit = m_saved;
    limit.rlim_cur = rlim_t(bytes);
    if (setrlimit(RLIMIT_FSIZE, &limit) != 0)
        qFatal("cannot limit the file size");
}

FileSizeLimit::~FileSizeLimit()
{
    setrlimit(RLIMIT_FSIZE, &m_saved);
}

namespace {

struct Capabilities
{
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct data[2]{};
    bool read() { return ::syscall(SYS_capget, &header, data) == 0; }
    bool write() { return ::syscall(SYS_capset, &header, data) == 0; }
};

} // namespace

PermissionsEnforced::PermissionsEnforced()
{
    Capabilities caps;
    if (!caps.read())
        return;
    m_savedEffective[0] = caps.data[0].effective;
    m_savedEffective[1] = caps.data[1].effective;
    caps.data[0].effective &= ~((1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH));
    m_active = caps.write();
}

PermissionsEnforced::~PermissionsEnforced()
{
    if (!m_active)
        return;
    Capabilities caps;
    caps.read();
    caps.data[0].effective = m_savedEffective[0];
    caps.data[1].effective = m_savedEffective[1];
    caps.write();
}

SmallDisk::SmallDisk(qint64 bytes)
{
    const QByteArray options = "size=" + QByteArray::number(bytes);
    m_mounted = m_dir.isValid()
                && ::mount("tmpfs", QFile::encodeName(m_dir.path()).constData(), "tmpfs", MS_NOSUID | MS_NODEV,
                           options.constData())
                       == 0;
}

SmallDisk::~SmallDisk()
{
    if (m_mounted)
        ::umount2(QFile::encodeName(m_dir.path()).constData(), MNT_DETACH);
}

void SmallDisk::fill()
{
    QFile filler(m_dir.path() + QStringLiteral("/filler"));
    if (!filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        qFatal("cannot fill the small disk");
    const QByteArray block(4096, 'x');
    while (filler.write(block) == block.size()) {
    }
    // The last partial block, byte by byte.
    while (filler.write("x", 1) == 1) {
    }
}

Pty::Pty()
{
    master = posix_openpt(O_RDWR | O_NOCTTY);
    if (master >= 0 && grantpt(master) == 0 && unlockpt(master) == 0)
        path = QString::fromLocal8Bit(ptsname(master));
}

Pty::~Pty()
{
    if (master >= 0)
        ::close(master);
}

TempLog::TempLog(const QString &name) : path(home.folder().basesDir() + u'/' + name)
{
    const QString error = copyTemplate(home.folder(), path);
    if (!error.isEmpty())
        qFatal("cannot make the test log: %s", qPrintable(error));
}

void TempLog::exec(const char *sql) const
{
    db::Database database(path, db::Database::Mode::ReadWrite);
    database.exec(sql);
}

QString damagedLog(const DataFolder &folder, const QString &name, Damage damage)
{
    const QString path = folder.basesDir() + u'/' + name;
    if (!copyTemplate(folder, path).isEmpty())
        qFatal("cannot make %s", qPrintable(path));
    {
        db::Database database(path, db::Database::Mode::ReadWrite);
        db::Transaction transaction(database);
        db::Statement insert(database, "INSERT INTO Tabla1 ([Estacion], [Satelite], [Obs], [Fecha], [Hora]) "
                                       "VALUES (?1, 'SO-50', ?2, ?3, '00:00')");
        for (int i = 0; i < 200; ++i) {
            insert.bind(1, QStringLiteral("LU%1ABC").arg(i)).bind(2, QString(300, u'n'));
            insert.bind(3, QStringLiteral("2024-01-01 00:%1:00").arg(i % 60, 2, 10, QLatin1Char('0')));
            insert.run();
            insert.reset();
        }
        transaction.commit();
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadWrite))
        qFatal("cannot damage %s", qPrintable(path));
    const qint64 size = file.size();
    if (damage == Damage::Truncated) {
        file.resize(size / 2 + 100);
    } else {
        // The head of a page in the middle, where its kind and its cells are recorded.
        const QByteArray header = file.read(18);
        const qint64 pageSize = (uchar(header[16]) << 8) | uchar(header[17]);
        file.seek((size / pageSize / 2) * pageSize);
        file.write(QByteArray(64, '\xA5'));
    }
    return path;
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
