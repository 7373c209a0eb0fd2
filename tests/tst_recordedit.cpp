// The record editor's logic: what it shows for a row, the save checks, and the writes.
#include "browser/recordedit.h"
#include "logdb/logdatabase.h"
#include "logdb/logfiles.h"
#include "logdb/sqlite.h"
#include "testsupport.h"

#include <QTest>

using namespace vorta;

namespace {

QsoRecord contact()
{
    return recordFromValues(0, {"FM", "145.900", "LU1ABC", "PY2XYZ", "2021-06-05 09:07:00", "09:07", "59", "435.800",
                                "57", "FM", "first", "1", "0", QString(), "GF05TJ", "GG66", "SO-50", "12345", "254",
                                "12"});
}

// Editor fields that pass every check.
EditorFields valid()
{
    EditorFields f = editorFieldsFor(contact());
    f.date = QStringLiteral("31/12/2021");
    f.time = QStringLiteral("14:23");
    return f;
}

struct Log : test::TempLog
{
    qint64 add(const QsoRecord &r) const { return insertQso(path, r); }
    QsoRecord row(qint64 id) const { return readRecordById(path, id).value(); }
};

} // namespace

class TestRecordEdit : public QObject
{
    Q_OBJECT
private slots:
    void fieldsShowTheRow()
    {
        QsoRecord r = contact();
        const EditorFields f = editorFieldsFor(r);
        QCOMPARE(f.date, QStringLiteral("05/06/2021"));
        QCOMPARE(f.time, QStringLiteral("09:07"));
        QVERIFY(f.qslSent && !f.qslReceived);
        // A day-first date of an older writer still shows; a time that is none shows as stored.
        r.fecha = QStringLiteral("05/06/2021 09:07");
        r.hora = QStringLiteral("9h07");
        QCOMPARE(editorFieldsFor(r).date, QStringLiteral("05/06/2021"));
        QCOMPARE(editorFieldsFor(r).time, QStringLiteral("9h07"));

        // A 4-character locator is completed only when there is an own locator to measure from.
        QCOMPARE(f.locator, QStringLiteral("GG66AA"));
        r.nombreLog.clear();
        QCOMPARE(editorFieldsFor(r).locator, QStringLiteral("GG66"));
        QVERIFY(!editorDistanceText(r, r.nombreLog));
        r.operador = QStringLiteral("GF5");
        QVERIFY(!editorDistanceText(r, QStringLiteral("GF05TE")));

        QCOMPARE(editorTimeDigits(QStringLiteral("12:05:00 AM")), QStringLiteral("000500"));
        QCOMPARE(editorTimeDigits(QStringLiteral("12:30:00 PM")), QStringLiteral("123000"));
        QCOMPARE(editorTimeDigits(QStringLiteral("2:05:00 PM")), QStringLiteral("140500"));
        QCOMPARE(qrzPage(QStringLiteral("LU1ABC/P")).toString(QUrl::FullyEncoded),
                 QStringLiteral("https://www.qrz.com/db/LU1ABC%2FP"));
    }

    void checksInOrder()
    {
        EditorFields f = valid();
        f.locator = QStringLiteral("GF5");
        f.myCall.clear();
        f.station.clear();
        f.date = QStringLiteral("31/02/2021");
        f.time = QStringLiteral("1423");
        f.azimuth = QStringLiteral("360");
        f.elevation = QStringLiteral("99");
        // Each failure is reported in turn; mending it lets the next check speak.
        const QList<std::tuple<EditorField, QString, QString *, QString>> steps = {
            {EditorField::Locator, QStringLiteral("Error en Grid Locator!\r\nFormato es LLNNLL o LLNN"), &f.locator, QStringLiteral("G05TJX")},
            {EditorField::Locator, QStringLiteral("Error en Grid Locator!\r\nFormato es LLNNLL o LLNN"), &f.locator, QStringLiteral("ZZ99ZZ")},
            {EditorField::Locator, QStringLiteral("Error en Grid Locator!\r\nFormato es LLNNLL o LLNN"), &f.locator, QStringLiteral("GF05TY")},
            {EditorField::Locator, QStringLiteral("Error en Grid Locator!\r\nFormato es LLNNLL o LLNN"), &f.locator, QStringLiteral("GF05")},
            {EditorField::MyCall, QStringLiteral("My Call vacío!"), &f.myCall, QStringLiteral("lu1abc")},
            {EditorField::Station, QStringLiteral("Estación vacío!"), &f.station, QStringLiteral("py2xyz")},
            {EditorField::Date, QStringLiteral("Error Fecha!\r\nFormato: DD/MM/AAAA"), &f.date, QStringLiteral("31/12/2021")},
            {EditorField::Time, QStringLiteral("Error Hora!\r\nFormato: HH:MM:SS"), &f.time, QStringLiteral("14:23")},
            {EditorField::Azimuth, QStringLiteral("Azimuth > 359 !!!"), &f.azimuth, QStringLiteral("359.5")},
            {EditorField::Azimuth, QStringLiteral("Azimuth > 359 !!!"), &f.azimuth, QStringLiteral("359")},
            {EditorField::Elevation, QStringLiteral("Elev > 90 !!!"), &f.elevation, QStringLiteral("90")},
        };
        for (const auto &[field, message, value, mended] : steps) {
            const EditorCheck check = checkEditorFields(f);
            QCOMPARE(check.field, field);
            QCOMPARE(check.message, message);
            *value = mended;
        }
        QVERIFY(checkEditorFields(f).ok());
        // Both locator forms and an empty one pass; so do empty antenna fields.
        for (const char *locator : {"GF05TJ", ""}) {
            f.locator = QString::fromLatin1(locator);
            QVERIFY(checkEditorFields(f).ok());
        }
        f.azimuth.clear();
        f.elevation.clear();
        QVERIFY(checkEditorFields(f).ok());
    }

    void saveWritesTheFields()
    {
        Log log;
        const qint64 other = log.add(contact());
        const qint64 id = log.add(contact());
        // Opened on a row whose locator is GG66: the field and the save complete it to GG66AA.
        EditorFields f = valid();
        f.qslSent = false;
        f.qslReceived = true;
        f.ownLocator = QStringLiteral("gf05te");
        f.notes = QStringLiteral("O'Brien said \"73\"; DROP TABLE Tabla1; --");
        QVERIFY(saveRecord(log.path, id, f).ok());

        const QsoRecord r = log.row(id);
        QCOMPARE(r.fecha, QStringLiteral("2021-12-31 14:23:00"));
        QCOMPARE(r.hora, QStringLiteral("14:23"));
        QCOMPARE(r.qsle, QStringLiteral("0"));
        QCOMPARE(r.qslr, QStringLiteral("1"));
        QCOMPARE(r.nombreLog, QStringLiteral("GF05TE"));
        QCOMPARE(r.operador, QStringLiteral("GG66AA"));
        QCOMPARE(r.modalidad, QStringLiteral("GG66AA"));
        QCOMPARE(r.obs, f.notes);
        QsoRecord untouched = contact();
        untouched.id = other;
        QCOMPARE(log.row(other), untouched);

        // A failed check writes nothing.
        EditorFields bad = f;
        bad.time = QStringLiteral("1423");
        bad.notes = QStringLiteral("changed");
        QCOMPARE(saveRecord(log.path, id, bad).field, EditorField::Time);
        QCOMPARE(log.row(id), r);

        // Short date and time forms are stored in full; an empty locator as empty texts.
        f.date = QStringLiteral("1/2/2022");
        f.time = QStringLiteral("7:05");
        f.locator.clear();
        QVERIFY(saveRecord(log.path, id, f).ok());
        QCOMPARE(log.row(id).fecha, QStringLiteral("2022-02-01 07:05:00"));
        QCOMPARE(log.row(id).hora, QStringLiteral("07:05"));
        QVERIFY(!log.row(id).operador.isNull() && log.row(id).operador.isEmpty());

        // Deleted meanwhile: nothing to delete, and a save writes no row but says so.
        QVERIFY(deleteRecord(log.path, id));
        QVERIFY(!deleteRecord(log.path, id));
        const EditorCheck gone = saveRecord(log.path, id, valid());
        QVERIFY(gone.rowGone);
        QVERIFY(!gone.ok());
        QVERIFY(!readRecordById(log.path, id));
    }

    void listeningReportKeepsSwl()
    {
        Log log;
        QsoRecord r = contact();
        r.estacion = QStringLiteral("SWL");
        r.modoU = r.frecU = r.rstr = QStringLiteral(" ");
        const qint64 id = log.add(r);
        QVERIFY(contactFieldsDisabled(log.row(id)));
        QVERIFY(saveRecord(log.path, id, editorFieldsFor(log.row(id))).ok());
        QCOMPARE(log.row(id).estacion, QStringLiteral("SWL"));
        QCOMPARE(log.row(id).frecU, QStringLiteral(" "));
    }

    void updateKeepsOwnLocatorAndAntenna()
    {
        Log log;
        const qint64 id = log.add(contact());
        QsoRecord staged = contact();
        staged.id = 999; // the staging row's own number, not the target
        staged.fecha = QStringLiteral("05/06/2021");
        staged.hora = QStringLiteral("09:10");
        staged.estacion = QStringLiteral("PY2'X");
        staged.qslr = QStringLiteral("1");
        staged.nombreLog = QStringLiteral("dupe%1").arg(id);
        staged.m2.clear();
        staged.m3.clear();
        QVERIFY(updateRecord(log.path, id, staged));

        QsoRecord expected = staged;
        expected.id = id;
        expected.fecha = QStringLiteral("2021-06-05 09:10:00");
        expected.nombreLog = QStringLiteral("GF05TJ");
        expected.m2 = QStringLiteral("254");
        expected.m3 = QStringLiteral("12");
        QCOMPARE(log.row(id), expected);

        // The date may come in the stored form too.
        staged.fecha = QStringLiteral("2021-06-07 00:00:00");
        QVERIFY(updateRecord(log.path, id, staged));
        QCOMPARE(log.row(id).fecha, QStringLiteral("2021-06-07 09:10:00"));
        // A value that is null, not merely empty, leaves the stored one.
        staged.obs = QString();
        staged.operador = QStringLiteral("");
        QVERIFY(updateRecord(log.path, id, staged));
        QCOMPARE(log.row(id).obs, QStringLiteral("first"));
        QVERIFY(!log.row(id).operador.isNull() && log.row(id).operador.isEmpty());
        // No such row; an unreadable date writes nothing.
        QVERIFY(!updateRecord(log.path, id + 1, staged));
        staged.fecha = QStringLiteral("31/02/2021");
        const QsoRecord before = log.row(id);
        QVERIFY_THROWS_EXCEPTION(db::DbError, updateRecord(log.path, id, staged));
        QCOMPARE(log.row(id), before);
    }
};

QTEST_GUILESS_MAIN(TestRecordEdit)
#include "tst_recordedit.moc"
