// The previous-contact summary: when the log is looked up, and how the joined text of the
// earlier QSO becomes the label, grid and notes.
#include "logdb/logdatabase.h"
#include "logdb/previouscontact.h"
#include "logdb/sqlite.h"
#include "testsupport.h"

#include <QFile>
#include <QTest>

using namespace vorta;

namespace {

QsoRecord qso(const QString &station, const QString &satellite, const QString &orbit,
              const QString &locator, const QString &notes)
{
    QsoRecord r;
    r.estacion = station;
    r.satelite = satellite;
    r.orbita = orbit;
    r.operador = locator;
    r.obs = notes;
    r.fecha = QStringLiteral("2024-03-01 12:00:00");
    r.hora = QStringLiteral("12:00");
    return r;
}

} // namespace

class TestPreviousContact : public QObject
{
    Q_OBJECT
private slots:
    void lookupInTheLog()
    {
        test::TempHome home;
        const QString log = home.folder().defaultLog();
        QVERIFY(QFile::copy(home.folder().templateFile(), log));
        QFile(log).setPermissions(QFile::ReadOwner | QFile::WriteOwner);
        insertQso(log, qso("LU1A", "AO-91", "100", "GF05", "four"));
        insertQso(log, qso("LU1AB", "SO-50", "12345", "GF05TJ", "first"));
        insertQso(log, qso("LU1AB", "AO-7", "999", "FF78", "second"));
        // An imported row may leave columns NULL; they must join as empty texts.
        insertQso(log, qso("PY2XYZ", QString(), QString(), QString(), QStringLiteral("hola")));

        // Four characters never look up, though the row is there.
        QCOMPARE(previousContact(log, "LU1A"), std::nullopt);
        // Five do, case-insensitively, and the earliest stored QSO is the one shown.
        QCOMPARE(previousContact(log, "lu1ab"), (PreviousContact{"Sat: SO-50 #12345", "GF05TJ", "first"}));
        QCOMPARE(previousContact(log, "LU1ABC"), std::nullopt);
        QCOMPARE(previousContactText(log, "PY2XYZ"), QStringLiteral(";;;hola"));
        QCOMPARE(*previousContact(log, "PY2XYZ"), (PreviousContact{"Sat: ? #?", "", "hola"}));

        // A log that cannot be read gives no summary rather than interrupting the typing.
        const QString missing = home.path() + "/none.mdb";
        QCOMPARE(previousContact(missing, "LU1AB"), std::nullopt);
        QVERIFY_THROWS_EXCEPTION(db::DbError, previousContactText(missing, "LU1AB"));
    }

    void parseJoinedText_data()
    {
        QTest::addColumn<QString>("joined");
        QTest::addColumn<QString>("label");
        QTest::addColumn<QString>("grid");
        QTest::addColumn<QString>("notes");
        QTest::newRow("all empty") << ";;;" << "Sat: ? #?" << "" << "";
        QTest::newRow("notes keep their semicolons") << "AO-7;1;GF05;a;b;c" << "Sat: AO-7 #1" << "GF05" << "a;b;c";
        QTest::newRow("no semicolon at all") << "AO-7" << "Sat: AO-7 #?" << "" << "";
        QTest::newRow("one semicolon after the satellite") << "AO-7;12" << "Sat: AO-7 #?" << "" << "";
        QTest::newRow("grid without notes separator") << "AO-7;12;GF05" << "Sat: AO-7 #12" << "GF05" << "";
        // The part after the satellite is read to 100 characters: the notes lose their end.
        QTest::newRow("notes cut")
            << "SO-50;1;GF05;" + QString(200, u'n') << "Sat: SO-50 #1" << "GF05" << QString(93, u'n');
        // A part longer than the 100 characters hides everything after it.
        QTest::newRow("long orbit")
            << "S;" + QString(150, u'9') + ";G;N" << "Sat: S #?" << "" << "";
    }
    void parseJoinedText()
    {
        QFETCH(QString, joined);
        QFETCH(QString, label);
        QFETCH(QString, grid);
        QFETCH(QString, notes);
        QCOMPARE(parsePreviousContact(joined), (PreviousContact{label, grid, notes}));
        QCOMPARE(parsePreviousContact(QString()), std::nullopt);
    }
};

QTEST_GUILESS_MAIN(TestPreviousContact)
#include "tst_previouscontact.moc"
