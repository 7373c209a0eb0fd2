// Vorta: a logbook for QSOs worked through amateur satellites.
#include "common/appstate.h"
#include "common/qtdialog.h"
#include "keyer/keyport.h"
#include "mainwindow/mainwindow.h"
#include "mainwindow/session.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QMessageBox>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Vorta"));
    QApplication::setApplicationVersion(
        QStringLiteral("%1.%2.%3").arg(VORTA_VERSION_MAJOR).arg(VORTA_VERSION_MINOR).arg(VORTA_VERSION_PATCH));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Vorta: log de QSOs vía satélite"));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption home(QStringLiteral("home"),
                                  QStringLiteral("Carpeta de datos (configuración, satélites, Bases, Salidas)."),
                                  QStringLiteral("DIR"));
    parser.addOption(home);
    parser.process(app);

    const QString exeDir = QApplication::applicationDirPath();
    std::optional<QString> homeOption;
    if (parser.isSet(home))
        homeOption = parser.value(home);
    vorta::DataFolder folder(vorta::DataFolder::resolve(homeOption, qEnvironmentVariable("VORTA_HOME"), exeDir),
                             vorta::DataFolder::findShareDir(exeDir));
    QString manualError;
    if (const QString error = folder.prepare(&manualError); !error.isEmpty()) {
        QMessageBox::critical(nullptr, QStringLiteral("Vorta"), error);
        return 1;
    }
    // The manuals are opened where they are installed: a copy that failed is worth a word,
    // not the start.
    if (!manualError.isEmpty())
        QMessageBox::warning(nullptr, QStringLiteral("Vorta"), manualError);

    vorta::AppState state(folder);
    vorta::QtDialogs dialogs;
    vorta::KeyPort keyPort;
    vorta::Session session(state, dialogs, keyPort);
    vorta::MainWindow window(session);
    dialogs.setParent(&window);
    window.show();
    return app.exec();
}
