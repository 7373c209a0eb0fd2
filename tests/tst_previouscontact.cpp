// The previous-contact summary: when the log is looked up, and how the joined text of the
// earlier QSO becomes the label, grid and notes.
#include "logdb/logdatabase.h"
#include "logdb/previouscontact.h"
#include "logdb/sqlite.h"
#include "testsupport.h"

#include <QFile>
#include <QTest>

using namespace vorta;
using vorta::test::TempHome;

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

    TempHome m_home;
    QString m_log;

private slots:
    void initTestCase()
    {
        m_log = m_home.folder().defaultLog();
        QVERIFY(QFile::copy(m_home.folder().templateFile(), m_log));
        QFile(m_log).setPermissions(QFile::ReadOwner | QFile::WriteOwner);
        insertQso(m_log, qso("LU1A", "AO-91", "100", "GF05", "four"));
        insertQso(m_log, qso("LU1AB", "SO-50", "12345", "GF05TJ", "first"));
        insertQso(m_log, qso("LU1AB", "AO-7", "999", "FF78", "second"));
        // An imported row may leave columns NULL; they must join as empty texts.
        insertQso(m_log, qso("PY2XYZ", QString(), QString(), QString(), QStringLiteral("hola")));
    }

    void shortCallSignsAreNeverLookedUp()
    {
        QVERIFY(!previousContactText(m_log, "LU1A").isEmpty()); // the row is there
        QCOMPARE(previousContact(m_log, "LU1A"), std::nullopt);
        // Not even opened: a missing log makes no difference below five characters.
        QCOMPARE(previousContact(m_home.path() + "/none.mdb", "LU1A"), std::nullopt);
        QCOMPARE(previousContact(m_log, ""), std::nullopt);
    }

    void fiveCharactersLookUpTheEarliestQso()
    {
        QCOMPARE(previousContactText(m_log, "LU1AB"), QStringLiteral("SO-50;12345;GF05TJ;first"));
        const auto contact = previousContact(m_log, "LU1AB");
        QVERIFY(contact);
        QCOMPARE(*contact, (PreviousContact{"Sat: SO-50 #12345", "GF05TJ", "first"}));
        QCOMPARE(previousContact(m_log, "lu1ab"), contact);
        QCOMPARE(previousContact(m_log, "LU1ABC"), std::nullopt);
    }

    void nullColumnsJoinAsEmpty()
    {
        QCOMPARE(previousContactText(m_log, "PY2XYZ"), QStringLiteral(";;;hola"));
        QCOMPARE(*previousContact(m_log, "PY2XYZ"), (PreviousContact{"Sat: ? #?", "", "hola"}));
    }

    void unreadableLogGivesNoSummary()
    {
        const QString missing = m_home.path() + "/none.mdb";
        QCOMPARE(previousContact(missing, "LU1AB"), std::nullopt);
        QVERIFY_THROWS_EXCEPTION(db::DbError, previousContactText(missing, "LU1AB"));
    }

    void parseJoinedText_data()
    {
        QTest::addColumn<QString>("joined");
        QTest::addColumn<QString>("label");
        QTest::addColumn<QString>("grid");
        QTest::addColumn<QString>("notes");
        QTest::newRow("all parts") << "SO-50;12345;GF05TJ;hola" << "Sat: SO-50 #12345" << "GF05TJ" << "hola";
        QTest::newRow("all empty") << ";;;" << "Sat: ? #?" << "" << "";
        QTest::newRow("empty satellite") << ";12;GF05;" << "Sat: ? #12" << "GF05" << "";
        QTest::newRow("empty orbit") << "AO-7;;;x" << "Sat: AO-7 #?" << "" << "x";
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
        QTest::newRow("long grid")
            << "S;1;" + QString(120, u'G') + ";N" << "Sat: S #1" << QString(98, u'G') << "";
    }
    void parseJoinedText()
    {
        QFETCH(QString, joined);
        QFETCH(QString, label);
        QFETCH(QString, grid);
        QFETCH(QString, notes);
        const auto contact = parsePreviousContact(joined);
        QVERIFY(contact);
        QCOMPARE(contact->label, label);
        QCOMPARE(contact->grid, grid);
        QCOMPARE(contact->notes, notes);
    }

    void emptyTextIsNoContact() { QCOMPARE(parsePreviousContact(QString()), std::nullopt); }
};

QTEST_GUILESS_MAIN(TestPreviousContact)
#include "tst_previouscontact.moc"
