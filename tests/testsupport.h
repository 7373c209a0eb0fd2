// Shared by the test programs: scripted answers for the dialog interface, a fresh data folder
// with the shipped files for each test, a log made in it, and one run of the program on it.
#pragma once

#include "common/appstate.h"
#include "common/datafolder.h"
#include "common/dialogs.h"
#include "config/configfile.h"
#include "keyer/keyport.h"
#include "mainwindow/session.h"
#include "tracking/sgp4.h"

#include <QHash>
#include <QList>
#include <QTcpServer>
#include <QTcpSocket>
#include <QStringList>
#include <QTemporaryDir>

#include <sys/resource.h>

#include <memory>
#include <optional>

namespace vorta::test {

// Records every message and question, and answers from queues. A question or file dialog
// with an empty queue fails the test: the code asked something the test did not expect.
class ScriptedDialogs : public Dialogs
{
public:
    struct Shown
    {
        QString text;
        Icon icon;
        bool question;
    };

    QList<Shown> shown;
    QList<bool> answers;
    QList<std::optional<QString>> files;
    QStringList fileTitles;
    QStringList proposedPaths; // of the save dialogs, with their filters below
    QStringList saveFilters;

    void inform(const QString &text, Icon icon) override;
    bool ask(const QString &text, Icon icon) override;
    std::optional<QString> openFile(const QString &title, const QString &dir, const QString &filter) override;
    std::optional<QString> saveFile(const QString &title, const QString &proposedPath,
                                    const QString &filter) override;

    QStringList texts() const;
    bool unexpected = false; // set when the code asked more than the script answers
};

// A temporary data folder, prepared as at a first start (shipped files copied in).
class TempHome
{
public:
    TempHome();
    const DataFolder &folder() const { return *m_folder; }
    QString path() const { return m_dir.path(); }

private:
    QTemporaryDir m_dir;
    std::unique_ptr<DataFolder> m_folder;
};

// A configured station: call sign, locator and the default macros.
inline Settings stationSettings(const QString &locator = QStringLiteral("GF05TJ"))
{
    Settings settings;
    settings.callSign = QStringLiteral("LU1ABC");
    settings.gridLocator = locator;
    settings.macros = defaultMacros();
    return settings;
}

// Everything one run of the program holds. With settings, the configuration file is written
// first, so the program starts as on any day after the first.
struct Program
{
    explicit Program(const TempHome &home, const std::optional<Settings> &settings = std::nullopt)
        : state(configured(home, settings)), session(state, dialogs, keyPort)
    {
    }
    AppState state;
    ScriptedDialogs dialogs;
    KeyPort keyPort;
    Session session;

private:
    static const DataFolder &configured(const TempHome &home, const std::optional<Settings> &settings)
    {
        if (settings)
            saveConfig(home.folder().configFile(), *settings);
        return home.folder();
    }
};

// A temporary data folder with a log made from the template, Bases/<name>.
struct TempLog
{
    explicit TempLog(const QString &name = QStringLiteral("base1.mdb"));
    TempHome home;
    QString path;
    // Runs SQL of the test's own on the log.
    void exec(const char *sql) const;
};

// While it lives, no file this process writes may grow beyond the given size (RLIMIT_FSIZE):
// a longer write fails as on a full disk, with the system's "File too large".
class FileSizeLimit
{
public:
    explicit FileSizeLimit(qint64 bytes);
    ~FileSizeLimit();
    FileSizeLimit(const FileSizeLimit &) = delete;
    FileSizeLimit &operator=(const FileSizeLimit &) = delete;

private:
    rlimit m_saved{};
};

// While it lives, the calling thread obeys file permissions even when run as root: the
// capabilities that override them are dropped from its effective set, so a file of mode 000
// cannot be opened, as for any user. active() is false where that cannot be done.
class PermissionsEnforced
{
public:
    PermissionsEnforced();
    ~PermissionsEnforced();
    PermissionsEnforced(const PermissionsEnforced &) = delete;
    PermissionsEnforced &operator=(const PermissionsEnforced &) = delete;
    bool active() const { return m_active; }

private:
    bool m_active = false;
    quint32 m_savedEffective[2] = {};
};

// A small file system of its own (a tmpfs), filled up by fill() so that every further write fails
// with "No space left on device". Mounting needs root; where it cannot be made, path() is empty
// and the test skips.
class SmallDisk
{
public:
    explicit SmallDisk(qint64 bytes = 4 * 1024 * 1024); // room for the shipped files, manuals included
    ~SmallDisk();
    SmallDisk(const SmallDisk &) = delete;
    SmallDisk &operator=(const SmallDisk &) = delete;
    QString path() const { return m_mounted ? m_dir.path() : QString(); }
    // Takes every byte still free.
    void fill();

private:
    QTemporaryDir m_dir;
    bool m_mounted = false;
};

// A pseudo-terminal: a serial device that opens like any other but has no modem lines. path is
// empty where none can be made.
struct Pty
{
    Pty();
    ~Pty();
    Pty(const Pty &) = delete;
    Pty &operator=(const Pty &) = delete;
    int master = -1;
    QString path;
};

// A log made from the template with QSOs enough to fill several pages, then damaged as a disk
// or a copy damages files: cut short in the middle of its pages, or with a run of bytes
// garbled inside a page of QSOs. The path is returned.
enum class Damage { Truncated, Garbled };
QString damagedLog(const DataFolder &folder, const QString &name, Damage damage);

// A web server on this machine that answers every request with one status and body. Told to
// stay mute it takes the connection and never says a word; told to cut, it announces more than
// it sends and closes the connection halfway, as a dropped download does.
class WebServer : public QObject
{
public:
    int status = 200;
    QByteArray body;
    bool mute = false;
    bool cut = false;
    // Told to hold, it answers only when answerHeld() is called.
    bool hold = false;
    // With trailing bytes it sends that much junk after the body, announcing no length, then
    // keeps the connection open without a word more, as a broken server does.
    qint64 trailing = 0;
    int requests = 0;

    WebServer();
    QString address(const QString &path = QStringLiteral("/vorta/version.txt")) const;
    void answerHeld();

private:
    void serve(QTcpSocket *socket);
    void answer(QTcpSocket *socket);

    QTcpServer m_server;
    QHash<QTcpSocket *, QByteArray> m_pending;
    QList<QTcpSocket *> m_held;
};

// Writes a text file as given (bytes), creating folders as needed.
void writeBytes(const QString &path, const QByteArray &bytes);
QByteArray readBytes(const QString &path);

// Element sets as the usual downloads publish them: names padded with blanks, CR LF line ends.
// Near-earth orbits (one of them decaying, one nearly circular), a geostationary one, two with
// the half-day resonance (eccentricities above 0.715 and below 0.65), a non-resonant 12 h orbit
// and an eccentric one near the equator.
inline constexpr char kElementFile[] =
    "ISS (ZARYA)             \r\n"
    "1 25544U 98067A   24061.51736111  .00018720  00000+0  33020-3 0  9996\r\n"
    "2 25544  51.6415 159.0943 0005774 332.6512 150.6094 15.49818357441971\r\n"
    "AO-91                   \r\n"
    "1 43017U 17073E   24061.20012345  .00004385  00000+0  32185-3 0  9994\r\n"
    "2 43017  97.6534 355.1632 0212357 165.4731 195.3012 14.85214962340126\r\n"
    "SAUDISAT 1C (SO-50)     \r\n"
    "1 27607U 02058C   24060.87654321  .00001032  00000+0  13651-3 0  9999\r\n"
    "2 27607  64.5546 102.3348 0045620 289.4517  70.1599 14.81849273188306\r\n"
    "ES'HAIL 2               \r\n"
    "1 43700U 18090A   24061.06313657  .00000139  00000+0  00000+0 0  9997\r\n"
    "2 43700   0.0153 258.8736 0001854 141.0412 125.2143  1.00271843 19155\r\n"
    "MOLNIYA 1-93            \r\n"
    "1 28163U 04005A   24060.38215277  .00000152  00000+0  00000+0 0  9992\r\n"
    "2 28163  64.1286 190.7542 7184526 285.4811  12.6377  2.00578395146320\r\n"
    "NAVSTAR 43 (USA 132)    \r\n"
    "1 24876U 97035A   24061.73216785 -.00000052  00000+0  00000+0 0  9999\r\n"
    "2 24876  55.5216 125.9846 0050138  56.4171 304.0794  2.00562036195601\r\n"
    "DECAYING CUBESAT        \r\n"
    "1 49999U 21088F   24061.25000000  .02341290  12345-4  50000-2 0  9996\r\n"
    "2 49999  51.6310 200.4162 0007125  98.2017 262.0143 16.19287312142358\r\n"
    "CIRCULAR LEO            \r\n"
    "1 40000U 14033A   24061.50000000  .00000912  00000+0  11111-3 0  9992\r\n"
    "2 40000  97.9000  10.0000 0000500  90.0000 270.0000 14.90000000500015\r\n"
    "HEO 12H EQ              \r\n"
    "1 41000U 15077B   24061.10000000  .00000010  00000+0  10000-4 0  9994\r\n"
    "2 41000   6.5000 300.0000 6500000  30.0000  45.0000  2.45000000123450\r\n"
    "HEO 12H RESONANT        \r\n"
    "1 42000U 16041C   24061.90000000  .00000100  00000+0  20000-4 0  9996\r\n"
    "2 42000  63.0000  45.0000 6012345 270.0000  20.0000  2.00612345007772\r\n";

// The lines of kElementFile, as an elements file is read.
QStringList elementFileLines();

// The longitude (degrees, -180 to 180) of the point below a satellite at a UTC instant.
double longitudeBelow(const Sgp4 &orbit, double utc);

} // namespace vorta::test
