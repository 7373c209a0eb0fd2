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
    r.myCall = QStringLiteral("LU1ABC");
    r.qsle = QStringLiteral("0");
    r.qslr = QStringLiteral("0");
    return r;
}

QString day(int d, const char *time = "12:00:00")
{
    return QStringLiteral("2021-06-%1 %2").arg(d, 2, 10, QLatin1Char('0')).arg(QLatin1String(time));
}

struct Log
{
    test::TempHome home;
    QString path;
    QList<qint64> ids;

    explicit Log(const QList<QsoRecord> &rows = {})
    {
        path = home.folder().basesDir() + QStringLiteral("/grilla.mdb");
        const QString error = copyTemplate(home.folder(), path);
        if (!error.isEmpty())
            qFatal("%s", qPrintable(error));
        add(rows);
    }
    void add(const QList<QsoRecord> &rows)
    {
        for (const QsoRecord &r : rows)
            ids << insertQso(path, r);
    }
    // Many rows in one transaction.
    void addMany(const QList<QsoRecord> &rows)
    {
        QStringList names, marks;
        for (std::size_t i = 1; i < kQsoColumns.size(); ++i) {
            names << u'[' + QString::fromLatin1(kQsoColumns[i]) + u']';
            marks << QStringLiteral("?%1").arg(i);
        }
        const QByteArray sql =
            QStringLiteral("INSERT INTO Tabla1 (%1) VALUES (%2)").arg(names.join(u','), marks.join(u',')).toUtf8();
        db::Database database(path, db::Database::Mode::ReadWrite);
        db::Transaction transaction(database);
        db::Statement insert(database, sql.constData());
        for (const QsoRecord &r : rows) {
            const auto values = recordValues(r);
            for (int i = 0; i < 20; ++i)
                insert.bind(i + 1, values[i]);
            insert.run();
            insert.reset();
            ids << database.lastInsertId();
        }
        transaction.commit();
    }
    void run(const char *sql)
    {
        db::Database database(path, db::Database::Mode::ReadWrite);
        database.exec(sql);
    }
};

QList<qint64> listedIds(const LogModel &model)
{
    QList<qint64> list;
    for (int row = 0; row < model.rowCount(); ++row)
        list << model.idAt(row);
    return list;
}

QList<qint64> reversed(QList<qint64> list)
{
    std::reverse(list.begin(), list.end());
    return list;
}

} // namespace

class TestLogModel : public QObject
{
    Q_OBJECT
private slots:
    void columnsAndCells()
    {
        LogModel model;
        QCOMPARE(model.columnCount(), 18);
        QCOMPARE(model.headerData(14, Qt::Horizontal).toString(), QStringLiteral("GridLoc"));
        QCOMPARE(model.headerData(17, Qt::Horizontal).toString(), QStringLiteral("Mi Grid"));

        QsoRecord r;
        r.id = 42;
        r.modoU = QStringLiteral("FM");
        r.frecU = QStringLiteral("145.900");
        r.myCall = QStringLiteral("LU1ABC");
        r.estacion = QStringLiteral("PY2XYZ");
        r.fecha = QStringLiteral("2020-03-15 00:05:00");
        r.hora = QStringLiteral("0:05");
        r.rste = QStringLiteral("59");
        r.frecD = QStringLiteral("435.800");
        r.rstr = QStringLiteral("57");
        r.modoD = QStringLiteral("FM");
        r.obs = QStringLiteral("hola");
        r.qsle = QStringLiteral("1");
        r.modalidad = QStringLiteral("FF78");
        r.nombreLog = QStringLiteral("GF05TJ");
        r.operador = QStringLiteral("GG66");
        r.satelite = QStringLiteral("SO-50");
        r.orbita = QStringLiteral("12345");
        r.m2 = QStringLiteral("254");
        r.m3 = QString(); // NULL
        const auto cells = LogModel::cells(r);
        const QStringList expected = {"42", "FM", "145.900", "LU1ABC", "PY2XYZ", "15/03/2020", "00:05", "59",
                                      "435.800", "57", "FM", "hola", "SO-50", "12345", "GG66", "254", "", "GF05TJ"};
        for (int c = 0; c < 18; ++c)
            QCOMPARE(cells[std::size_t(c)], expected[c]);
    }

    void fullListingInOrder()
    {
        // The third row is an older QSO stored later (as an import does); two share an instant.
        Log log({qso("A1", day(2)), qso("B2", day(3)), qso("C3", day(1)), qso("D4", day(2))});
        LogModel model;
        QCOMPARE(model.listAll(log.path, false), QString());
        const QList<qint64> ascending = {log.ids[2], log.ids[0], log.ids[3], log.ids[1]};
        QCOMPARE(listedIds(model), ascending);
        QCOMPARE(model.caption(), QStringLiteral("4 QSO(s)"));
        QCOMPARE(model.data(model.index(0, 4)).toString(), QStringLiteral("C3"));
        QCOMPARE(model.data(model.index(0, 5)).toString(), QStringLiteral("01/06/2021"));
        QCOMPARE(model.data(model.index(0, 6)).toString(), QStringLiteral("12:00"));
        QCOMPARE(model.data(model.index(0, 0)).toString(), QString::number(log.ids[2]));
        QCOMPARE(model.data(model.index(0, 0), LogModel::IdRole).toLongLong(), log.ids[2]);
        QCOMPARE(model.rowCells(3)[4], QStringLiteral("B2"));
        QCOMPARE(model.rowOfId(log.ids[1]), 3);
        QCOMPARE(model.idAt(4), qint64(0));
        QCOMPARE(model.rowCells(4)[0], QString());

        QCOMPARE(model.listAll(log.path, true), QString());
        QCOMPARE(listedIds(model), reversed(ascending));
        QVERIFY(model.isReversed());
    }

    void filteredListingKeepsTheLists()
    {
        Log log({qso("LU1AA", day(1)), qso("PY2BB", day(2), "AO-91"), qso("LU3CC", day(3)),
                 qso("LU4DD", day(4), "AO-91")});
        LogModel model;
        QCOMPARE(model.listAll(log.path, false), QString());
        const FilterLists lists = model.filterLists();
        QCOMPARE(lists.satellites, QStringList({"SO-50", "AO-91"}));

        LogFilter f;
        f.satellite = QStringLiteral("SO-50");
        QSignalSpy resets(&model, &QAbstractItemModel::modelReset);
        QCOMPARE(model.listFiltered(log.path, f), QString());
        QCOMPARE(resets.size(), 1);
        QCOMPARE(listedIds(model), QList<qint64>({log.ids[0], log.ids[2]}));
        QCOMPARE(model.caption(), QStringLiteral("Filtro >Satélite: SO-50  <2 QSO(s)>"));
        QVERIFY(model.isFiltered());

        f.station = QStringLiteral(" lu ");
        f.reverse = true;
        QCOMPARE(model.listFiltered(log.path, f), QString());
        QCOMPARE(listedIds(model), QList<qint64>({log.ids[2], log.ids[0]}));
        QCOMPARE(model.filterLists(), lists);

        // A full listing after a deletion elsewhere.
        log.run("DELETE FROM Tabla1 WHERE Estacion = 'PY2BB'");
        QCOMPARE(model.listAll(log.path, false), QString());
        QCOMPARE(listedIds(model), QList<qint64>({log.ids[0], log.ids[2], log.ids[3]}));
        QCOMPARE(model.caption(), QStringLiteral("3 QSO(s)"));
    }

    void filterListsInOrderOfFirstAppearance()
    {
        QsoRecord nullSatellite = qso("E5", day(5), "");
        nullSatellite.satelite = QString();
        nullSatellite.operador = QStringLiteral("GF05");
        QsoRecord older = qso("F6", day(1), "so-50"); // stored last, listed first
        older.orbita = QStringLiteral("200");
        older.myCall = QStringLiteral("LU9ZZ");
        QsoRecord b = qso("B2", day(2), "AO-91");
        b.operador = QStringLiteral("FF78");
        b.orbita = QStringLiteral("100");
        QsoRecord c = qso("C3", day(3), "");
        c.operador = QStringLiteral("");
        c.orbita = QStringLiteral("200");
        QsoRecord d = qso("D4", day(4), "SO-50");
        d.operador = QStringLiteral("FF78");
        Log log({b, c, d, nullSatellite, older});

        LogModel model;
        QCOMPARE(model.listAll(log.path, false), QString());
        FilterLists ascending;
        ascending.satellites = QStringList({"so-50", "AO-91", "", "SO-50"});
        ascending.locators = QStringList({"FF78", "GF05"});
        ascending.orbits = QStringList({"200", "100"});
        ascending.myStations = QStringList({"LU9ZZ", "LU1ABC"});
        QCOMPARE(model.filterLists(), ascending);
        QCOMPARE(readFilterLists(log.path, false), ascending);

        QCOMPARE(model.listAll(log.path, true), QString());
        FilterLists descending;
        descending.satellites = QStringList({"", "SO-50", "AO-91", "so-50"});
        descending.locators = QStringList({"GF05", "FF78"});
        descending.orbits = QStringList({"200", "100"});
        descending.myStations = QStringList({"LU1ABC", "LU9ZZ"});
        QCOMPARE(model.filterLists(), descending);
        QCOMPARE(readFilterLists(log.path, true), descending);
    }

    void valuesStoredTogetherKeepTheirEarliestPlace()
    {
        // Stored one after the other, but the second AO-91 is the newest QSO.
        Log log({qso("A1", day(1), "AO-91"), qso("B2", day(3), "AO-91"), qso("C3", day(2), "SO-50")});
        QCOMPARE(readFilterLists(log.path, false).satellites, QStringList({"AO-91", "SO-50"}));
        QCOMPARE(readFilterLists(log.path, true).satellites, QStringList({"AO-91", "SO-50"}));
        Log other({qso("A1", day(3), "AO-91"), qso("B2", day(1), "AO-91"), qso("C3", day(2), "SO-50")});
        QCOMPARE(readFilterLists(other.path, false).satellites, QStringList({"AO-91", "SO-50"}));
        QCOMPARE(readFilterLists(other.path, true).satellites, QStringList({"AO-91", "SO-50"}));
    }

    void listsOfManyDistinctValues()
    {
        // Enough values to make the lists' lookup tables grow several times; stored in a
        // scrambled order, so that storage order and listing order differ throughout.
        constexpr int kRows = 3000;
        const QDateTime start(QDate(2020, 1, 1), QTime(0, 0), Qt::UTC);
        QList<QsoRecord> rows;
        for (int i = 0; i < kRows; ++i) {
            const int minute = (i * 1237) % kRows; // a permutation: 1237 and 3000 share no factor
            const QDateTime when = start.addSecs(qint64(minute) * 60);
            QsoRecord r = qso("A1", when.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")));
            r.hora = when.toString(QStringLiteral("HH:mm"));
            r.operador = minute % 11 == 0 ? QString() : QStringLiteral("L%1").arg(minute % 900);
            r.orbita = QString::number(minute / 3);
            const QString satellite = QStringLiteral("sat%1").arg(minute % 50);
            r.satelite = (minute / 50) % 2 ? satellite : satellite.toUpper(); // case tells apart
            rows << r;
        }
        Log log;
        log.addMany(rows);

        // What the lists must hold, from the rows in listing order.
        std::vector<const QsoRecord *> listed;
        for (const QsoRecord &r : rows)
            listed.push_back(&r);
        std::sort(listed.begin(), listed.end(),
                  [](const QsoRecord *a, const QsoRecord *b) { return a->fecha < b->fecha; });
        const auto expected = [&](bool reverse) {
            FilterLists lists;
            const auto add = [](QStringList &list, const QString &value) {
                if (!value.isEmpty() && !list.contains(value))
                    list << value;
            };
            for (std::size_t i = 0; i < listed.size(); ++i) {
                const QsoRecord &r = *listed[reverse ? listed.size() - 1 - i : i];
                add(lists.satellites, r.satelite);
                add(lists.locators, r.operador);
                add(lists.orbits, r.orbita);
                add(lists.myStations, r.myCall);
            }
            return lists;
        };
        const FilterLists ascending = expected(false);
        QCOMPARE(ascending.satellites.size(), 100);
        QCOMPARE(ascending.locators.size(), 900);
        QCOMPARE(ascending.orbits.size(), 1000);
        QCOMPARE(readFilterLists(log.path, false), ascending);
        QCOMPARE(readFilterLists(log.path, true), expected(true));
    }

    void malformedTextIsListedOnce()
    {
        // Bytes that are not UTF-8 read as the replacement character: two different ones show
        // the same text and are listed once, in the first place.
        Log log({qso("A1", day(1)), qso("B2", day(2)), qso("C3", day(3)), qso("D4", day(4))});
        log.run("UPDATE Tabla1 SET Operador = CAST(X'FF41' AS TEXT) WHERE Estacion = 'B2'");
        log.run("UPDATE Tabla1 SET Operador = CAST(X'FE41' AS TEXT) WHERE Estacion = 'A1'");
        log.run("UPDATE Tabla1 SET Operador = 'FF78' WHERE Estacion = 'C3'");
        log.run("UPDATE Tabla1 SET Operador = CAST(X'FF41' AS TEXT) WHERE Estacion = 'D4'");
        const QString malformed = QString(QChar::ReplacementCharacter) + u'A';
        QCOMPARE(readFilterLists(log.path, false).locators, QStringList({malformed, "FF78"}));
        QCOMPARE(readFilterLists(log.path, true).locators, QStringList({malformed, "FF78"}));
    }

    void sparseIdsStillGiveTheLists()
    {
        Log log({qso("A1", day(2), "AO-91"), qso("B2", day(1), "SO-50")});
        log.run("UPDATE Tabla1 SET Id = 9000000000 WHERE Estacion = 'A1'");
        LogModel model;
        QCOMPARE(model.listAll(log.path, false), QString());
        QCOMPARE(model.filterLists().satellites, QStringList({"SO-50", "AO-91"}));
        QCOMPARE(model.idAt(1), qint64(9000000000));
    }

    void rowsAreReadInPagesAnywhere()
    {
        // Enough rows for many pages, stored newest first so that Id order differs from listing order.
        Log log;
        QList<QsoRecord> rows;
        const QDateTime start(QDate(2015, 1, 1), QTime(0, 0), Qt::UTC);
        const int count = 5000;
        for (int i = 0; i < count; ++i) {
            const QDateTime t = start.addSecs(qint64(count - i) * 600);
            QsoRecord r = qso("X", t.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")));
            r.estacion = QStringLiteral("ST%1").arg(count - i);
            rows << r;
        }
        log.addMany(rows);
        LogModel model;
        QCOMPARE(model.listAll(log.path, false), QString());
        QCOMPARE(model.rowCount(), count);
        for (int row : {0, 4999, 127, 128, 2500, 1, 4990, 3000, 129, 4500, 200, 2600, 100, 4000, 10, 3500, 20, 50,
                        700, 900, 1100, 1300, 1500, 0, 4999}) {
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

    void savedQsoInAFilteredView()
    {
        Log log({qso("LU1AA", day(1)), qso("PY2BB", day(2), "AO-91")});
        LogModel model;
        LogFilter f;
        f.satellite = QStringLiteral("SO-50");
        f.station = QStringLiteral("lu");
        QCOMPARE(model.listFiltered(log.path, f), QString());
        QCOMPARE(model.rowCount(), 1);

        log.add({qso("LU5EE", day(5), "AO-91"), qso("LU6FF", day(6))});
        QCOMPARE(model.appendQso(log.ids[2]), -1);
        QCOMPARE(model.appendQso(log.ids[3]), 1);
        QCOMPARE(model.caption(), QStringLiteral("Filtro >Estación: LU Satélite: SO-50  <2 QSO(s)>"));
    }

    void staleListingIsReloaded()
    {
        Log log({qso("A1", day(1)), qso("C3", day(3))});
        LogModel model;
        QCOMPARE(model.listAll(log.path, false), QString());
        log.run("DELETE FROM Tabla1 WHERE Estacion = 'A1'");
        log.add({qso("B2", day(2))});
        const int row = model.appendQso(log.ids[2]);
        QCOMPARE(listedIds(model), QList<qint64>({log.ids[2], log.ids[1]}));
        QCOMPARE(row, 0);
    }

    void unreadableFilesAreReported()
    {
        test::TempHome home;
        LogModel model;
        QVERIFY(!model.listAll(home.path() + QStringLiteral("/Bases/falta.mdb"), false).isEmpty());
        QCOMPARE(model.rowCount(), 0);
        const QString notALog = home.path() + QStringLiteral("/Bases/texto.mdb");
        test::writeBytes(notALog, "esto no es una base");
        QVERIFY(!model.listFiltered(notALog, LogFilter()).isEmpty());
        QCOMPARE(model.rowCount(), 0);
        QCOMPARE(model.appendQso(1), -1);

        // The current log changes: the next listing reads the new file.
        Log log;
        QCOMPARE(model.listAll(log.path, false), QString());
        QCOMPARE(model.caption(), QStringLiteral("0 QSO(s)"));
        QCOMPARE(model.filterLists(), FilterLists());
        log.add({qso("A1", day(1))});
        QCOMPARE(model.reload(), QString());
        QCOMPARE(model.caption(), QStringLiteral("1 QSO(s)"));
        model.clear();
        QCOMPARE(model.rowCount(), 0);
    }
};

QTEST_GUILESS_MAIN(TestLogModel)
#include "tst_logmodel.moc"
