// The QSO record: one row of Tabla1 (and of the import staging table Tabla2), and the encodings
// with which the main window's entry becomes such a row.
#pragma once

#include <QDateTime>
#include <QString>

#include <array>

namespace vorta {

struct QsoRecord
{
    qint64 id = 0;
    QString modoU, frecU, myCall, estacion;
    QString fecha; // stored form "yyyy-MM-dd HH:mm:ss" (UTC)
    QString hora;  // "hh:mm"
    QString rste, frecD, rstr, modoD, obs, qsle, qslr, modalidad, nombreLog, operador, satelite,
        orbita, m2, m3;

    bool isListeningReport() const { return estacion == QLatin1String("SWL"); }
    bool operator==(const QsoRecord &) const = default;
};

// Column names in table order, Id first; bracket them in SQL ("Nombre Log" has a blank).
inline constexpr std::array<const char *, 21> kQsoColumns = {
    "Id", "ModoU", "FrecU", "MyCall", "Estacion", "Fecha", "Hora", "RSTe", "FrecD", "RSTr", "ModoD",
    "Obs", "QSLe", "QSLr", "Modalidad", "Nombre Log", "Operador", "Satelite", "Orbita", "M2", "M3"};

// Columns 1 to 20 of a record, in table order.
std::array<QString, 20> recordValues(const QsoRecord &record);
// The record from columns 0 (Id) to 20 in table order.
QsoRecord recordFromValues(qint64 id, const std::array<QString, 20> &values);

// A checked entry of the main window, as typed.
struct QsoEntry
{
    QString uplinkMode, uplinkFreq, station, reportSent, downlinkFreq, reportReceived,
        downlinkMode, notes, locator, satellite, orbit;
    QString azimuth, elevation; // as last shown by the tracking link, may be empty
    QDateTime utc;              // date and time of the QSO in UTC; seconds are dropped
    bool listening = false;
    QString myCall, myLocator;
};

// The row the main window stores for an entry.
QsoRecord recordForInsert(const QsoEntry &entry);

// The azimuth as stored: cut before its first "." (no rounding); 360 is stored as 0. Empty
// when the text is not a plain decimal number from 0 to 360.
QString storedAzimuth(const QString &shown);
// The elevation as stored: cut before its first "."; empty when it had a "." and the cut value
// is below 0; a text without "." unchanged. Empty when the text is not a plain decimal number
// from -90 to 90.
QString storedElevation(const QString &shown);

} // namespace vorta
