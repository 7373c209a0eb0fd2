// The previous-contact summary: when the log is looked up, how the earlier QSO becomes the label,
// grid and notes, what the lookup may write into the entry panel's fields, and whether the
// station was already worked in this pass.
#include "logdb/logdatabase.h"
#include "logdb/previouscontact.h"
#include "logdb/sqlite.h"
#include "testsupport.h"

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

Q_DECLARE_METATYPE(PreviousQso)

class TestPreviousContact : public QObject
{
    Q_OBJECT
private slots:
    void lookupInTheLog()
    {
        const test::TempLog temp;
        const QString &log = temp.path;
        insertQso(log, qso("LU1A", "AO-91", "100", "GF05", "four"));
        insertQso(log, qso("LU1AB", "SO-50", "12345", "GF05TJ", "first"));
        insertQso(log, qso("LU1AB", "AO-7", "999", "FF78", "second"));
        // An imported row may leave columns NULL; they read as empty texts.
        insertQso(log, qso("PY2XYZ", QString(), QString(), QString(), QStringLiteral("hola")));
        // A ";" in a stored value is a character of that value, nothing more.
        insertQso(log, qso("CE3ABC", "SO;50", "12;3", "GF05", "a;b"));

        // Four characters never look up, though the row is there.
        QCOMPARE(previousContact(log, "LU1A"), std::nullopt);
        // Five do, case-insensitively, and the earliest stored QSO is the one shown.
        QCOMPARE(previousContact(log, "lu1ab"), (PreviousContact{"Sat: SO-50 #12345", "GF05TJ", "first"}));
        QCOMPARE(previousContact(log, "LU1ABC"), std::nullopt);
        QCOMPARE(findPreviousQso(log, "PY2XYZ"), (PreviousQso{"", "", "", "hola"}));
        QCOMPARE(*previousContact(log, "PY2XYZ"), (PreviousContact{"Sat: ? #?", "", "hola"}));
        QCOMPARE(*previousContact(log, "CE3ABC"), (PreviousContact{"Sat: SO;50 #12;3", "GF05", "a;b"}));

        // A log that cannot be read gives no summary rather than interrupting the typing.
        const QString missing = temp.home.path() + "/none.mdb";
        QCOMPARE(previousContact(missing, "LU1AB"), std::nullopt);
        QVERIFY_THROWS_EXCEPTION(db::DbError, findPreviousQso(missing, "LU1AB"));
    }

    void summaryOfAnEarlierQso_data()
    {
        QTest::addColumn<PreviousQso>("qso");
        QTest::addColumn<QString>("label");
        QTest::addColumn<QString>("grid");
        QTest::addColumn<QString>("notes");
        QTest::newRow("all empty") << PreviousQso{} << "Sat: ? #?" << "" << "";
        QTest::newRow("all there") << PreviousQso{"AO-7", "1", "GF05", "hola"} << "Sat: AO-7 #1" << "GF05" << "hola";
        // Orbit, grid and notes share 100 characters, each with one for its gap: the notes of
        // 200 characters keep 100 - 1 - 1 - 4 - 1 = 93.
        QTest::newRow("notes cut") << PreviousQso{"SO-50", "1", "GF05", QString(200, u'n')} << "Sat: SO-50 #1"
                                   << "GF05" << QString(93, u'n');
        QTest::newRow("grid fills the room") << PreviousQso{"S", "1", QString(120, u'G'), "N"} << "Sat: S #1"
                                             << QString(98, u'G') << "";
        QTest::newRow("grid leaves no room for notes") << PreviousQso{"S", "1", QString(97, u'G'), "N"}
                                                       << "Sat: S #1" << QString(97, u'G') << "";
        QTest::newRow("one character left for notes") << PreviousQso{"S", "1", QString(96, u'G'), "NO"}
                                                      << "Sat: S #1" << QString(96, u'G') << "N";
        // An orbit that leaves no room for its gap hides everything after the satellite.
        QTest::newRow("long orbit") << PreviousQso{"S", QString(100, u'9'), "G", "N"} << "Sat: S #?" << "" << "";
        QTest::newRow("longest orbit") << PreviousQso{"S", QString(99, u'9'), "G", "N"}
                                       << "Sat: S #" + QString(99, u'9') << "" << "";
    }
    void summaryOfAnEarlierQso()
    {
        QFETCH(PreviousQso, qso);
        QFETCH(QString, label);
        QFETCH(QString, grid);
        QFETCH(QString, notes);
        QCOMPARE(summarize(qso), (PreviousContact{label, grid, notes}));
    }

    void lookupWritesOnlyWhatItWroteBefore()
    {
        using Fields = PreviousContactFill::Fields;
        const PreviousContact lu2xyz{"Sat: SO-50 #1", "FF78AB", "first one"};
        const PreviousContact ce3abc{"Sat: AO-7 #2", "FF78", ""};
        PreviousContactFill fill;

        // Empty fields take what the lookup finds; a changed call that finds nothing empties
        // them again, and another station's values replace them.
        QCOMPARE(fill.apply({}, lu2xyz, false), (Fields{"FF78AB", "first one"}));
        QCOMPARE(fill.apply({"FF78AB", "first one"}, std::nullopt, false), (Fields{}));
        QCOMPARE(fill.apply({}, lu2xyz, false), (Fields{"FF78AB", "first one"}));
        QCOMPARE(fill.apply({"FF78AB", "first one"}, ce3abc, false), (Fields{"FF78", ""}));

        // Notes the operator typed stay while the lookup's locator follows the call; a locator
        // typed over the found one stays too, whatever the call; emptied, it is the lookup's again.
        QCOMPARE(fill.apply({"FF78", "mine"}, lu2xyz, false), (Fields{"FF78AB", "mine"}));
        QCOMPARE(fill.apply({"GF05", "mine"}, std::nullopt, false), (Fields{"GF05", "mine"}));
        QCOMPARE(fill.apply({"GF05", "mine"}, ce3abc, false), (Fields{"GF05", "mine"}));
        QCOMPARE(fill.apply({"", "mine"}, ce3abc, false), (Fields{"FF78", "mine"}));
        // A typed text equal to one found earlier but no longer shown is still the operator's.
        QCOMPARE(fill.apply({"FF78", "first one"}, std::nullopt, false), (Fields{"", "first one"}));

        // Kept notes are never replaced nor emptied, not even notes a lookup wrote before the box
        // was ticked, and empty kept notes stay empty.
        PreviousContactFill kept;
        QCOMPARE(kept.apply({}, lu2xyz, false), (Fields{"FF78AB", "first one"}));
        QCOMPARE(kept.apply({"FF78AB", "first one"}, ce3abc, true), (Fields{"FF78", "first one"}));
        QCOMPARE(kept.apply({"FF78", "first one"}, std::nullopt, true), (Fields{"", "first one"}));
        QCOMPARE(kept.apply({"", "first one"}, lu2xyz, false), (Fields{"FF78AB", "first one"}));
        QCOMPARE(kept.apply({"FF78AB", ""}, lu2xyz, true), (Fields{"FF78AB", ""}));
    }
    // The earliest QSO gives the summary, but any QSO on the satellite and orbit being entered
    // means the station is already in the log for this pass.
    void workedBeforeInThisPass()
    {
        const test::TempLog temp;
        const QString &log = temp.path;
        insertQso(log, qso("LU1AB", "SO-50", "12345", "GF05TJ", "first"));
        insertQso(log, qso("LU1AB", "AO-91", " 4567 ", "GF05TJ", "second"));
        insertQso(log, qso("LU1A", "AO-91", "4567", "", ""));
        insertQso(log, qso("PY2XYZ", QString(), QString(), QString(), QString()));

        QVERIFY(workedInPass(log, "LU1AB", "SO-50", "12345"));
        QVERIFY(workedInPass(log, "lu1ab", " ao-91", "4567")); // the later QSO counts as well
        QVERIFY(!workedInPass(log, "LU1AB", "SO-50", "12346"));  // the next pass
        QVERIFY(!workedInPass(log, "LU1AB", "AO-7", "12345"));
        QVERIFY(!workedInPass(log, "LU1ABC", "SO-50", "12345"));
        // Without an orbit (or a satellite) the pass is unknown: nothing is claimed, not even
        // for a stored QSO whose columns are empty or NULL.
        QVERIFY(!workedInPass(log, "LU1AB", "SO-50", " "));
        QVERIFY(!workedInPass(log, "PY2XYZ", "", ""));
        // Too short for a lookup, as for the summary; an unreadable log claims nothing.
        QVERIFY(!workedInPass(log, "LU1A", "AO-91", "4567"));
        QVERIFY(!workedInPass(temp.home.path() + "/none.mdb", "LU1AB", "SO-50", "12345"));
    }
};

QTEST_GUILESS_MAIN(TestPreviousContact)
#include "tst_previouscontact.moc"
