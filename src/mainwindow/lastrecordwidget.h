// The last-record panel of the main window ("Ultimo Registro (F1 para Editar)"): the station,
// date, time, uplink, satellite and orbit of the QSO shown last, each under its caption. Each
// value has room for its longest text, so values never run together and a new QSO never moves
// the panel; screen readers hear each caption with its value.
#pragma once

#include "config/languages.h"
#include "logdb/logdatabase.h"

#include <QGroupBox>

#include <array>

class QLabel;

namespace vorta {

class LastRecordWidget : public QGroupBox
{
    Q_OBJECT
public:
    explicit LastRecordWidget(QWidget *parent = nullptr);

    void showRecord(const LastRecordView &view);
    // The six values, in panel order.
    QStringList values() const;
    void retranslate(Language language);

private:
    std::array<QLabel *, 6> m_captions{}, m_values{};
};

} // namespace vorta
