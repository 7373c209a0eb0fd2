// The log browser's grid model: listings, cells, paging, the filter lists and a QSO saved while
// the browser is open.
#include "browser/logmodel.h"
#include "logdb/logdatabase.h"
#include "logdb/logfiles.h"
#include "logdb/sqlite.h"
#include "testsupport.h"

#include <QSignalSpy>
#include <QTest>

using namespace vorta;

namespace {

QsoRecord qso(const char *station, const QString &fecha, const char *satellite = "SO-50")
{
    QsoRecord r;
    r.estacion = QString::fromUtf8(station);
    r.fecha = fecha;
    r.hora = fecha.mid(11, 5);
    r.satelite = QString::fromUtf8(satellite);
    return r;
}

QString day(int d)
{
    return QStringLiteral("2021-06-%1 12:00:00").arg(d, 2, 10, QLatin1Char('0'));
}

struct Log : test::TempLog
{
    QList<qint64> ids;
    explicit Log(const QList<QsoRecord> &rows = {}) { add(rows); }
    void add(const QList<QsoRecord> &rows)
    {
        for (const QsoRecord &r : rows)
            ids << insertQso(path, r);
    }
};

// 3000 QSOs stored in a scrambled order (1237 and 3000 share no factor), so that storage order
// and listing order differ throughout. Minute m of the listing has orbit m / 3, satellite m / 6
// in upper case when m is even, lower case when odd.
void addScrambled(Log &log)
{
    log.exec("WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i < 2999), "
            "r(i, m) AS (SELECT i, (i * 1237) % 3000 FROM n) "
            "INSERT INTO Tabla1 (Estacion, Fecha, MyCall, Orbita, Satelite) "
            "SELECT 'A1', datetime('2020-01-01', '+' || m || ' minutes'), 'LU1ABC', m / 3, "
            "CASE m % 2 WHEN 0 THEN 'SAT' ELSE 'sat' END || (m / 6) FROM r ORDER BY i");
}

QList<qint64> listedIds(const LogModel &model)
{
    QList<qint64> list;
    for (int row = 0; row < model.rowCount(); ++row)
        list << model.idAt(row);
    return list;
}

} // namespace

class TestLogModel : public QObject
{
    Q_OBJECT
private slots:
    void cellsInColumnOrder()
    {
        // Every column a different value, so that two columns swapped show.
        const QsoRecord r = recordFromValues(
            42, {"FM", "145.900", "LU1ABC", "PY2XYZ", "2020-03-15 00:05:00", "0:05", "59", "435.800", "57", "FM2",
                 "hola", "1", "0", "FF78", "GF05TJ", "GG66", "SO-50", "12345", "254", QString()});
        const auto cells = LogModel::cells(r);
        const QStringList expected = {"42", "FM", "145.900", "LU1ABC", "PY2XYZ", "15/03/2020", "00:05", "59",
                                      "435.800", "57", "FM2", "hola", "SO-50", "12345", "GG66", "254", "", "GF05TJ"};
        QCOMPARE(QStringList(cells.begin(), cells.end()), expected);
    }

    void fullAndFilteredListingsInOrder()
    {
        // The third row is an older QSO stored later (as an import does); two share an instant.
        Log log({qso("LU1AA", day(2)), qso("B2", day(3), "AO-91"), qso("LU3CC", day(1)), qso("LU4DD", day(2))});
        LogModel model;
        QCOMPARE(model.listAll(log.path, false), QString());
        QCOMPARE(listedIds(model), QList<qint64>({log.ids[2], log.ids[0], log.ids[3], log.ids[1]}));
        QCOMPARE(model.caption(), QStringLiteral("4 QSO(s)"));
        QCOMPARE(model.data(model.index(0, 4)).toString(), QStringLiteral("LU3CC"));
        QCOMPARE(model.data(model.index(0, 0), LogModel::IdRole).toLongLong(), log.ids[2]);
        QCOMPARE(model.rowOfId(log.ids[1]), 3);
        QCOMPARE(model.idAt(4), qint64(0));
        QCOMPARE(model.listAll(log.path, true), QString());
        QCOMPARE(listedIds(model), QList<qint64>({log.ids[1], log.ids[3], log.ids[0], log.ids[2]}));
        const FilterLists lists = model.filterLists();

        // A filtered listing keeps the lists of the full one.
        LogFilter f;
        f.satellite = QStringLiteral("SO-50");
        f.station = QStringLiteral(" lu ");
        f.reverse = true;
        QSignalSpy resets(&model, &QAbstractItemModel::modelReset);
        QCOMPARE(model.listFiltered(log.path, f), QString());
        QCOMPARE(resets.size(), 1);
        QCOMPARE(listedIds(model), QList<qint64>({log.ids[3], log.ids[0], log.ids[2]}));
        QCOMPARE(model.filterLists(), lists);
    }

    void filterListsInOrderOfFirstAppearance()
    {
        // E5's satellite is NULL; F6 is an older QSO stored last, so listed first.
        Log log;
        log.exec("INSERT INTO Tabla1 (Estacion, Fecha, Satelite, Operador, Orbita, MyCall) VALUES "
                "('B2', '2021-06-02', 'AO-91', 'FF78', '100', 'LU1ABC'), ('C3', '2021-06-03', '', '', '200', 'LU1ABC'), "
                "('D4', '2021-06-04', 'SO-50', 'FF78', NULL, 'LU1ABC'), ('E5', '2021-06-05', NULL, 'GF05', '', 'LU1ABC'), "
                "('F6', '2021-06-01', 'so-50', NULL, '200', 'LU9ZZ')");
        LogModel model;
        QCOMPARE(model.listAll(log.path, false), QString());
        const FilterLists ascending{{"so-50", "AO-91", "", "SO-50"}, {"FF78", "GF05"}, {"200", "100"}, {"LU9ZZ", "LU1ABC"}};
        QCOMPARE(model.filterLists(), ascending);
        QCOMPARE(readFilterLists(log.path, false), ascending);
        QCOMPARE(model.listAll(log.path, true), QString());
        const FilterLists descending{{"", "SO-50", "AO-91", "so-50"}, {"GF05", "FF78"}, {"200", "100"}, {"LU1ABC", "LU9ZZ"}};
        QCOMPARE(model.filterLists(), descending);

        // Stored one after the other, the same value keeps its earliest listing place.
        Log together({qso("A1", day(1), "AO-91"), qso("B2", day(3), "AO-91"), qso("C3", day(2), "SO-50")});
        QCOMPARE(readFilterLists(together.path, false).satellites, QStringList({"AO-91", "SO-50"}));
        QCOMPARE(readFilterLists(together.path, true).satellites, QStringList({"AO-91", "SO-50"}));
    }

    // Enough values to make the lists' lookup tables grow several times, read in slices that
    // follow the listing.
    void listsOfManyValuesFollowTheListingInSlices()
    {
        Log log;
        addScrambled(log);
        FilterLists ascending;
        for (int i = 0; i < 1000; ++i)
            ascending.orbits << QString::number(i);
        for (int i = 0; i < 500; ++i)
            ascending.satellites << QStringLiteral("SAT%1").arg(i) << QStringLiteral("sat%1").arg(i);
        ascending.myStations = QStringList{"LU1ABC"};
        QCOMPARE(readFilterLists(log.path, false), ascending);
        FilterLists descending = ascending;
        std::reverse(descending.orbits.begin(), descending.orbits.end());
        std::reverse(descending.satellites.begin(), descending.satellites.end());
        QCOMPARE(readFilterLists(log.path, true), descending);

        LogModel model;
        model.setFilterListSlice(7);
        QSignalSpy ready(&model, &LogModel::filterListsReady);

        // The listing is there at once, its lists follow from the event loop.
        QCOMPARE(model.listAll(log.path, false), QString());
        QCOMPARE(model.rowCount(), 3000);
        QVERIFY(!model.filterListsComplete());
        QCoreApplication::processEvents();
        QVERIFY(!model.filterListsComplete());
        // Nothing holds the log between slices: a QSO can be saved meanwhile. Not being listed,
        // it is not in the lists either.
        log.add({qso("B2", day(1), "NEW-SAT")});
        QVERIFY(ready.wait(5000));
        QCOMPARE(ready.size(), 1);
        QVERIFY(model.filterListsComplete());
        QCOMPARE(model.filterLists(), ascending);

        // A listing started while the lists of another are read starts them afresh; a model
        // cleared meanwhile announces none.
        const FilterLists withNew = readFilterLists(log.path, true);
        QVERIFY(withNew.satellites.contains(QStringLiteral("NEW-SAT")));
        QCOMPARE(model.listAll(log.path, false), QString());
        QCoreApplication::processEvents();
        QCOMPARE(model.listAll(log.path, true), QString());
        QVERIFY(ready.wait(5000));
        QCOMPARE(ready.size(), 2);
        QCOMPARE(model.filterLists(), withNew);
        QCOMPARE(model.listAll(log.path, true), QString());
        model.clear();
        QVERIFY(model.filterListsComplete());
        QCoreApplication::processEvents();
        QCOMPARE(ready.size(), 2);
    }

    void malformedTextAndSparseIds()
    {
        // Bytes that are not UTF-8 read as the replacement character: two different ones show
        // the same text and are listed once, in the first place.
        Log log({qso("A1", day(1)), qso("B2", day(2)), qso("C3", day(3)), qso("D4", day(4))});
        log.exec("UPDATE Tabla1 SET Operador = CAST(X'FF41' AS TEXT) WHERE Estacion IN ('B2', 'D4')");
        log.exec("UPDATE Tabla1 SET Operador = CAST(X'FE41' AS TEXT) WHERE Estacion = 'A1'");
        log.exec("UPDATE Tabla1 SET Operador = 'FF78' WHERE Estacion = 'C3'");
        const QString malformed = QString(QChar::ReplacementCharacter) + u'A';
        QCOMPARE(readFilterLists(log.path, false).locators, QStringList({malformed, "FF78"}));
        QCOMPARE(readFilterLists(log.path, true).locators, QStringList({malformed, "FF78"}));

        // Ids far apart still give the lists.
        log.exec("UPDATE Tabla1 SET Id = 9000000000, Satelite = 'AO-91' WHERE Estacion = 'A1'");
        LogModel model;
        QCOMPARE(model.listAll(log.path, false), QString());
        QCOMPARE(model.filterLists().satellites, QStringList({"AO-91", "SO-50"}));
        QCOMPARE(model.idAt(0), qint64(9000000000));
    }

    void rowsAreReadInPagesAnywhere()
    {
        // Enough rows for many pages, stored newest first so that Id order differs from listing
        // order: row r of the listing shows ST<r + 1>.
        Log log;
        log.exec("WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i < 4999) "
                "INSERT INTO Tabla1 (Estacion, Fecha) "
                "SELECT 'ST' || (5000 - i), datetime('2015-01-01', '+' || ((5000 - i) * 10) || ' minutes') FROM n ORDER BY i");
        LogModel model;
        QCOMPARE(model.listAll(log.path, false), QString());
        QCOMPARE(model.rowCount(), 5000);
        // Jumps back and forth, across page edges, and more pages than are kept.
        for (int row : {0, 4999, 127, 128, 2500, 1, 4990, 129, 200, 100, 700, 900, 1100, 1300, 1500, 1700, 1900,
                        2100, 2300, 2700, 3100, 3500, 0, 4999}) {
            QCOMPARE(model.data(model.index(row, 4)).toString(), QStringLiteral("ST%1").arg(row + 1));
            QCOMPARE(model.data(model.index(row, 0)).toString(), QString::number(model.idAt(row)));
        }
    }

    void savedQsoAppearsInPlace()
    {
        Log log({qso("A1", day(1)), qso("C3", day(3)), qso("E5", day(5))});
        LogModel model;
        QCOMPARE(model.appendQso(log.ids[0]), -1); // nothing listed yet
        QCOMPARE(model.listAll(log.path, false), QString());
        QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);

        log.add({qso("F6", day(6))});
        QCOMPARE(model.appendQso(log.ids[3]), 3);
        QCOMPARE(model.data(model.index(3, 4)).toString(), QStringLiteral("F6"));
        QCOMPARE(model.caption(), QStringLiteral("4 QSO(s)"));
        QCOMPARE(model.appendQso(log.ids[3]), 3); // already listed: no second row
        QCOMPARE(model.rowCount(), 4);

        log.add({qso("B2", day(2))}); // an older QSO goes between
        QCOMPARE(model.appendQso(log.ids[4]), 1);
        QCOMPARE(listedIds(model), QList<qint64>({log.ids[0], log.ids[4], log.ids[1], log.ids[2], log.ids[3]}));
        QCOMPARE(model.data(model.index(4, 4)).toString(), QStringLiteral("F6"));
        QCOMPARE(inserted.size(), 2);

        QCOMPARE(model.listAll(log.path, true), QString());
        log.add({qso("G7", day(7)), qso("D4", day(4))});
        QCOMPARE(model.appendQso(log.ids[5]), 0);
        QCOMPARE(model.appendQso(log.ids[6]), 3);
        QCOMPARE(model.data(model.index(3, 4)).toString(), QStringLiteral("D4"));
        QCOMPARE(model.appendQso(9999), -1);
    }

    void savedQsoInAFilteredOrStaleView()
    {
        Log log({qso("LU1AA", day(1)), qso("PY2BB", day(2), "AO-91")});
        LogModel model;
        LogFilter f;
        f.satellite = QStringLiteral("SO-50");
        f.station = QStringLiteral("lu");
        QCOMPARE(model.listFiltered(log.path, f), QString());
        log.add({qso("LU5EE", day(5), "AO-91"), qso("LU6FF", day(6))});
        QCOMPARE(model.appendQso(log.ids[2]), -1);
        QCOMPARE(model.appendQso(log.ids[3]), 1);
        QCOMPARE(model.caption(), QStringLiteral("Filtro >Estación: LU Satélite: SO-50  <2 QSO(s)>"));

        // Rows deleted elsewhere since the listing: it is read again.
        QCOMPARE(model.listAll(log.path, false), QString());
        log.exec("DELETE FROM Tabla1 WHERE Estacion = 'PY2BB'");
        log.add({qso("B2", day(3))});
        QCOMPARE(model.appendQso(log.ids[4]), 1);
        QCOMPARE(listedIds(model), QList<qint64>({log.ids[0], log.ids[4], log.ids[2], log.ids[3]}));
    }

    void unreadableFilesAreReported()
    {
        test::TempHome home;
        LogModel model;
        const QString notALog = home.path() + QStringLiteral("/Bases/texto.mdb");
        test::writeBytes(notALog, "esto no es una base");
        QVERIFY(!model.listFiltered(notALog, LogFilter()).isEmpty());
        QCOMPARE(model.rowCount(), 0);
        QCOMPARE(model.appendQso(1), -1);

        // The current log changes: the next listing reads the new file, not the one kept open.
        Log log({qso("A1", day(1))});
        QCOMPARE(model.listAll(log.path, false), QString());
        log.add({qso("B2", day(2))});
        QCOMPARE(model.reload(), QString());
        QCOMPARE(model.caption(), QStringLiteral("2 QSO(s)"));
    }
};

QTEST_GUILESS_MAIN(TestLogModel)
#include "tst_logmodel.moc"
