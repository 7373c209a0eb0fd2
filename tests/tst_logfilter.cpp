// The log browser's filters: the conditions they give and the rows those select, the caption
// that describes them, and the from-date field.
#include "browser/logfilter.h"
#include "common/charfilter.h"
#include "common/textvalue.h"
#include "logdb/logfiles.h"
#include "logdb/sqlite.h"
#include "testsupport.h"

#include <QTest>

using namespace vorta;

namespace {

// A log made from the template, holding the given rows of (Estacion, Fecha, Satelite, QSLe, QSLr,
// Operador, Orbita, MyCall); their Ids in the same order.
struct Log : test::TempLog
{
    QList<qint64> ids;

    explicit Log(const char *values = nullptr)
    {
        if (!values)
            return;
        db::Database database(path, db::Database::Mode::ReadWrite);
        const QByteArray insert = QByteArray("INSERT INTO Tabla1 (Estacion, Fecha, Satelite, QSLe, QSLr, Operador, "
                                             "Orbita, MyCall) VALUES ") + values;
        database.exec(insert.constData());
        db::Statement statement(database, "SELECT [Id] FROM Tabla1 ORDER BY [Id]");
        while (statement.step())
            ids << statement.integer(0);
    }

    // The Ids a filter selects, in its order.
    QList<qint64> select(const LogFilter &filter) const
    {
        const LogQuery query = filteredQuery(filter);
        db::Database database(path, db::Database::Mode::ReadOnly);
        const QByteArray sql = query.select(QStringLiteral("[Id]")).toUtf8();
        db::Statement statement(database, sql.constData());
        for (int i = 0; i < query.values.size(); ++i)
            statement.bind(i + 1, query.values[i]);
        QList<qint64> found;
        while (statement.step())
            found << statement.integer(0);
        return found;
    }
    QList<qint64> pick(std::initializer_list<int> rows) const
    {
        QList<qint64> list;
        for (int row : rows)
            list << ids[row];
        return list;
    }
};

LogFilter everyFilter()
{
    LogFilter f;
    f.station = QStringLiteral("lu");
    f.satellite = QStringLiteral("AO-91");
    f.locator = QStringLiteral("GF05");
    f.orbit = QStringLiteral("123");
    f.qslSent = QslChoice::Yes;
    f.qslReceived = QslChoice::No;
    f.fromDate = QStringLiteral("15/03/2020");
    f.myStation = QStringLiteral("LU1ABC");
    return f;
}

} // namespace

class TestLogFilter : public QObject
{
    Q_OBJECT
private slots:
    // The database must read the station pattern exactly as the program's own pattern match does.
    void stationGlobAgreesWithPatternMatch()
    {
        QCOMPARE(stationGlob(QStringLiteral("  ab1cd ")), QStringLiteral("*AB1CD*"));
        QCOMPARE(stationGlob(QStringLiteral("py#[!l]")), QStringLiteral("*PY[0-9][^L]*"));
        const Log log;
        db::Database database(log.path, db::Database::Mode::ReadOnly);
        db::Statement statement(database, "SELECT upper(?1) GLOB ?2");
        const QStringList stations = {"LU1ABC", "lu1abc", "PY2XYZ", "A^B", "X-Y", "AB[C", "S]T", "?", "", "K1A", "O'HARA"};
        const QStringList patterns = {"lu1", "L?1", "#a", "[K-M]", "[!L]U", "[^A]", "[^]", "[A-]", "[]]", "A[B",
                                      "*", "?", "b[c", "'h", "x-y", "[X-]", "##"};
        for (const QString &station : stations) {
            for (const QString &pattern : patterns) {
                statement.bind(1, station).bind(2, stationGlob(pattern));
                QVERIFY(statement.step());
                const bool sql = statement.integer(0) != 0;
                statement.reset();
                const QString whole = u'*' + pattern.trimmed().toUpper() + u'*';
                QVERIFY2(sql == patternMatch(station.toUpper(), whole),
                         qPrintable(station + QStringLiteral(" / ") + pattern));
            }
        }
    }

    void filtersSelectTheirRows()
    {
        // Row 2 has an empty QSLe and a NULL QSLr, row 3 a NULL QSLe, as an import may leave them.
        const Log log("('LU1ABC', '2020-01-02 10:00:00', 'SO-50', '0', '0', NULL, NULL, 'LU1ABC'), "
                      "('PY2AB', '2020-01-03 10:00:00', 'so-50', '1', '0', 'gg66', '777', 'lu7zz'), "
                      "('lu1ax', '2020-01-04 10:00:00', '', '', NULL, NULL, NULL, 'LU1ABC'), "
                      "('O''HARA', '2020-01-05 10:00:00', 'it''s', NULL, '1', NULL, NULL, 'LU1ABC'), "
                      "('SWL', '2020-01-01 10:00:00', 'AO-91', '0', '0', NULL, NULL, 'LU1ABC')");
        LogFilter f;
        QCOMPARE(log.select(f), log.pick({4, 0, 1, 2, 3}));
        f.station = QStringLiteral("lu#a");
        QCOMPARE(log.select(f), log.pick({0, 2}));
        f.station = QStringLiteral("o'h");
        QCOMPARE(log.select(f), log.pick({3}));
        f.station.clear();

        f.satellite = QStringLiteral("it's");
        QCOMPARE(log.select(f), log.pick({3}));
        // The lists compare without regard to case: "so-50" is as much SO-50 as "SO-50".
        f.satellite = QStringLiteral("SO-50");
        QCOMPARE(log.select(f), log.pick({0, 1}));
        f.satellite = QStringLiteral("So-50");
        QCOMPARE(log.select(f), log.pick({0, 1}));
        f.satellite = QStringLiteral("");
        QCOMPARE(log.select(f), log.pick({2}));
        f.satellite = kAllMasculine;

        f.qslSent = QslChoice::Yes;
        QCOMPARE(log.select(f), log.pick({1}));
        f.qslSent = QslChoice::No; // "0" and the empty text, never NULL
        QCOMPARE(log.select(f), log.pick({4, 0, 2}));
        f.qslSent = QslChoice::Off;
        f.qslReceived = QslChoice::No;
        QCOMPARE(log.select(f), log.pick({4, 0, 1}));
        f.qslReceived = QslChoice::Yes;
        QCOMPARE(log.select(f), log.pick({3}));
        f.qslReceived = QslChoice::Off;

        f.locator = QStringLiteral("GG66");
        f.orbit = QStringLiteral("777");
        f.myStation = QStringLiteral("LU7ZZ");
        QCOMPARE(log.select(f), log.pick({1}));
        f.orbit = QStringLiteral("778");
        QCOMPARE(log.select(f), QList<qint64>());
        f.orbit = QStringLiteral("777");
        f.myStation = QStringLiteral("LU1ABC");
        QCOMPARE(log.select(f), QList<qint64>());

        LogFilter reversed;
        reversed.reverse = true;
        reversed.fromDate = QStringLiteral("03/01/2020");
        QCOMPARE(log.select(reversed), log.pick({3, 2, 1}));
    }

    void fromDateStartsAtMidnight()
    {
        const Log log("('A1', '2020-03-15 00:05:00', 'SO-50', '0', '0', NULL, NULL, 'LU1ABC'), "
                      "('B2', '2020-03-14 23:59:00', 'SO-50', '0', '0', NULL, NULL, 'LU1ABC'), "
                      "('C3', '2020-03-15 00:00:00', 'SO-50', '0', '0', NULL, NULL, 'LU1ABC'), "
                      "('D4', '2021-01-01 12:00:00', 'SO-50', '0', '0', NULL, NULL, 'LU1ABC')");
        LogFilter f;
        f.fromDate = QStringLiteral("15/03/2020");
        QCOMPARE(log.select(f), log.pick({2, 0, 3}));
        f.fromDate = QStringLiteral("1/1/21");
        QCOMPARE(log.select(f), log.pick({3}));
        // A text the field would not have let through is read as its correction.
        QCOMPARE(fromDateInstant(QStringLiteral("31/02/2021")), QStringLiteral("2016-01-01 00:00:00"));
    }

    void captionsDescribeTheFilter()
    {
        LogFilter f;
        f.reverse = true;
        QCOMPARE(filteredCaption(f, 7), QStringLiteral(" <7 QSO(s)>"));
        QCOMPARE(fullListingCaption(152), QStringLiteral("152 QSO(s)"));

        f.satellite = QStringLiteral("SO-50");
        QCOMPARE(filteredCaption(f, 12), QStringLiteral("Filtro >Satélite: SO-50  <12 QSO(s)>"));

        LogFilter blanks;
        blanks.station = QStringLiteral("  ab1cd ");
        QCOMPARE(filterDescription(blanks), QStringLiteral("Filtro >Estación:   AB1CD  "));

        QCOMPARE(filteredCaption(everyFilter(), 0),
                 QStringLiteral("Filtro >Estación: LU Satélite: AO-91 Orbita: 123 Grid Locator: GF05 QSL E: SI "
                                "QSL R: NO Desde: 15/03/2020 Mi estación: LU1ABC  <0 QSO(s)>"));
    }

    void fromDateFieldIsCorrected()
    {
        test::ScriptedDialogs dialogs;
        QString text = QStringLiteral("2/3/2021");
        QVERIFY(correctFromDate(text, dialogs));
        QCOMPARE(text, QStringLiteral("02/03/2021"));
        text.clear();
        QVERIFY(correctFromDate(text, dialogs));
        QVERIFY(dialogs.shown.isEmpty());

        for (const char *wrong : {"31/02/2021", "15-03-2020", "?"}) {
            text = QString::fromLatin1(wrong);
            QVERIFY(!correctFromDate(text, dialogs));
            QCOMPARE(text, QStringLiteral("01/01/2016"));
        }
        QCOMPARE(dialogs.shown.size(), 3);
        QCOMPARE(dialogs.shown[0].text, QStringLiteral("El formato de fecha es dd/mm/yyyy"));
        QCOMPARE(dialogs.shown[0].icon, Icon::Exclamation);

        QVERIFY(CharFilter::dateChar(u'7') && CharFilter::dateChar(u'/') && CharFilter::dateChar(u'?'));
        QVERIFY(!CharFilter::dateChar(u'A') && !CharFilter::dateChar(u'-') && !CharFilter::dateChar(u' '));
    }

    void listsTakeOnlyNewValues()
    {
        QStringList entries = {QStringLiteral("Todos")};
        appendMissing(entries, {"SO-50", "so-50", "", "SO-50", "Todos", "AO-91"});
        QCOMPARE(entries, QStringList({"Todos", "SO-50", "so-50", "", "AO-91"}));
    }
};

QTEST_GUILESS_MAIN(TestLogFilter)
#include "tst_logfilter.moc"
