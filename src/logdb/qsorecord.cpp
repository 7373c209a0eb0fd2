#include "logdb/qsorecord.h"

#include "common/dates.h"
#include "common/textvalue.h"

#include <QRegularExpression>

#include <cmath>

namespace vorta {

std::array<QString, 20> recordValues(const QsoRecord &r)
{
    return {r.modoU, r.frecU, r.myCall, r.estacion, r.fecha, r.hora, r.rste, r.frecD, r.rstr, r.modoD,
            r.obs, r.qsle, r.qslr, r.modalidad, r.nombreLog, r.operador, r.satelite, r.orbita, r.m2,
            r.m3};
}

QsoRecord recordFromValues(qint64 id, const std::array<QString, 20> &v)
{
    return {id, v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7], v[8], v[9], v[10], v[11], v[12],
            v[13], v[14], v[15], v[16], v[17], v[18], v[19]};
}

namespace {

// Whether a text from the tracker is a plain decimal number ("123.4", "-3") between low and
// high. An exponent, "inf", "nan", trailing letters or a number too large for a double are not:
// such a value would be stored as it came and make the row one the editor cannot save.
bool isAngleWithin(const QString &shown, double low, double high)
{
    static const QRegularExpression plain(QStringLiteral("^[+-]?[0-9]+(\\.[0-9]*)?$"));
    if (!plain.match(shown).hasMatch())
        return false;
    const double value = numericValue(shown);
    return std::isfinite(value) && value >= low && value <= high;
}

} // namespace

QString storedAzimuth(const QString &shown)
{
    if (!isAngleWithin(shown, 0, 360))
        return QString(QLatin1String(""));
    const qsizetype dot = shown.indexOf(u'.');
    const QString cut = dot < 0 ? shown : shown.left(dot);
    // 360 whole degrees is north, which the log keeps as 0 (the editor takes 0 to 359).
    return numericValue(cut) == 360 ? QStringLiteral("0") : cut;
}

QString storedElevation(const QString &shown)
{
    if (!isAngleWithin(shown, -90, 90))
        return QString(QLatin1String(""));
    const qsizetype dot = shown.indexOf(u'.');
    if (dot < 0)
        return shown;
    const QString cut = shown.left(dot);
    return numericValue(cut) < 0 ? QString(QLatin1String("")) : cut;
}

QsoRecord recordForInsert(const QsoEntry &e)
{
    QsoRecord r;
    const QTime minute(e.utc.time().hour(), e.utc.time().minute());
    r.modoU = e.uplinkMode;
    r.frecU = formatFrequency(e.uplinkFreq);
    r.myCall = e.myCall.toUpper();
    r.estacion = e.station.toUpper();
    r.fecha = toStoredInstant(QDateTime(e.utc.date(), minute, Qt::UTC));
    r.hora = formatHourMinute(minute);
    r.rste = e.reportSent;
    r.frecD = formatFrequency(e.downlinkFreq);
    r.rstr = e.reportReceived;
    r.modoD = e.downlinkMode;
    r.obs = e.notes;
    r.qsle = QStringLiteral("0");
    r.qslr = QStringLiteral("0");
    // Modalidad stays NULL: only the record editor writes it.
    r.nombreLog = e.myLocator;
    r.operador = e.locator;
    r.satelite = e.satellite.toUpper();
    r.orbita = e.orbit;
    r.m2 = storedAzimuth(e.azimuth);
    r.m3 = storedElevation(e.elevation);
    if (e.listening) {
        r.modoU = QStringLiteral(" ");
        r.frecU = QStringLiteral(" ");
        r.rstr = QStringLiteral(" ");
        r.estacion = QStringLiteral("SWL");
    }
    // Typed fields are stored as texts, an empty field as the empty text.
    for (QString *value : {&r.modoU, &r.frecU, &r.myCall, &r.estacion, &r.rste, &r.frecD, &r.rstr,
                           &r.modoD, &r.obs, &r.nombreLog, &r.operador, &r.satelite, &r.orbita,
                           &r.m2, &r.m3})
        if (value->isNull())
            *value = QLatin1String("");
    return r;
}

} // namespace vorta
