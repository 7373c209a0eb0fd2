#include "browser/recordeditorwindow.h"

#include "common/captionwidget.h"
#include "common/charfilter.h"
#include "common/dialogs.h"
#include "logdb/sqlite.h"
#include "mainwindow/session.h"
#include "tracking/satrules.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace vorta {

namespace {

QLineEdit *lineEdit(CharFilter::Accept accept = {}, int maxLength = 32767)
{
    auto *edit = new QLineEdit;
    if (accept)
        edit->setValidator(new CharFilter(std::move(accept), edit));
    edit->setMaxLength(maxLength);
    return edit;
}

// How many characters may be typed into the limited fields.
constexpr int kReportLength = 3;
constexpr int kLocatorLength = 6;
constexpr int kAzimuthLength = 3;
constexpr int kElevationLength = 2;

QString es(Txt purpose)
{
    return text(purpose, Language::Spanish);
}

} // namespace

RecordEditorWindow::RecordEditorWindow(Session &session, QWidget *parent) : QDialog(parent), m_session(session)
{
    setModal(true);
    m_myCall = lineEdit(&callSignChar);
    m_station = lineEdit(&callSignChar);
    m_date = lineEdit(&CharFilter::dateChar);
    m_time = lineEdit(&CharFilter::digitChar);
    m_sent = lineEdit(&CharFilter::editorReportChar, kReportLength);
    m_received = lineEdit(&CharFilter::editorReportChar, kReportLength);
    m_satellite = lineEdit();
    m_orbit = lineEdit();
    m_uplink = lineEdit();
    m_uplinkMode = lineEdit();
    m_downlink = lineEdit();
    m_downlinkMode = lineEdit();
    m_locator = lineEdit(&CharFilter::locatorChar, kLocatorLength);
    m_ownLocator = lineEdit({}, kLocatorLength);
    m_azimuth = lineEdit(&CharFilter::digitChar, kAzimuthLength);
    m_elevation = lineEdit(&CharFilter::digitChar, kElevationLength);
    m_notes = lineEdit();
    m_qslSent = new QCheckBox(es(Txt::EditorSent));
    m_qslReceived = new QCheckBox(es(Txt::EditorReceived));
    m_distance = new QLabel;
    emphasize(m_distance, 2, true);
    m_qrz = new QPushButton(es(Txt::EditorQrz));
    m_save = new QPushButton(es(Txt::EditorSave));
    m_delete = new QPushButton(es(Txt::EditorDelete));
    m_cancel = new QPushButton(es(Txt::EditorCancel));
    for (QPushButton *b : {m_qrz, m_save, m_delete, m_cancel})
        b->setAutoDefault(false);

    auto *grid = new QGridLayout;
    int row = 0;
    const auto add = [&](Txt caption, QLineEdit *field, int column) -> QLabel * {
        QLabel *label = captionFor(field);
        label->setText(es(caption));
        grid->addWidget(label, row, column);
        grid->addWidget(field, row, column + 1);
        return label;
    };
    add(Txt::EditorMyCall, m_myCall, 0);
    m_stationCaption = add(Txt::EditorStation, m_station, 2);
    ++row;
    m_dateCaption = add(Txt::EditorDate, m_date, 0);
    m_timeCaption = add(Txt::EditorTime, m_time, 2);
    ++row;
    add(Txt::EditorSatellite, m_satellite, 0);
    add(Txt::EditorOrbit, m_orbit, 2);
    ++row;
    m_uplinkCaption = add(Txt::EditorUplink, m_uplink, 0);
    m_uplinkModeCaption = add(Txt::EditorMode, m_uplinkMode, 2);
    ++row;
    add(Txt::EditorDownlink, m_downlink, 0);
    m_downlinkModeCaption = add(Txt::EditorMode, m_downlinkMode, 2);
    ++row;
    add(Txt::EditorLocator, m_locator, 0);
    add(Txt::EditorOwnLocator, m_ownLocator, 2);
    ++row;
    add(Txt::EditorAzimuth, m_azimuth, 0);
    add(Txt::EditorElevation, m_elevation, 2);

    auto *reports = new QGroupBox(es(Txt::EditorReportFrame));
    auto *reportLayout = new QHBoxLayout(reports);
    auto *sentCaption = new QLabel(es(Txt::EditorSent));
    sentCaption->setBuddy(m_sent);
    m_receivedCaption = new QLabel(es(Txt::EditorReceived));
    m_receivedCaption->setBuddy(m_received);
    reportLayout->addWidget(sentCaption);
    reportLayout->addWidget(m_sent);
    reportLayout->addWidget(m_receivedCaption);
    reportLayout->addWidget(m_received);
    auto *qsl = new QGroupBox(es(Txt::EditorQslFrame));
    auto *qslLayout = new QHBoxLayout(qsl);
    qslLayout->addWidget(m_qslSent);
    qslLayout->addWidget(m_qslReceived);
    auto *side = new QHBoxLayout;
    side->addWidget(reports);
    side->addWidget(qsl);
    auto *notes = new QGroupBox(es(Txt::EditorNotesFrame));
    auto *notesLayout = new QHBoxLayout(notes);
    notesLayout->addWidget(m_notes);
    m_notes->setAccessibleName(notes->title());

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_distance, 1);
    buttons->addWidget(m_qrz);
    buttons->addSpacing(16);
    buttons->addWidget(m_save);
    buttons->addWidget(m_delete);
    buttons->addWidget(m_cancel);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(side);
    layout->addWidget(notes);
    layout->addLayout(buttons);

    connect(m_save, &QPushButton::clicked, this, &RecordEditorWindow::save);
    connect(m_delete, &QPushButton::clicked, this, &RecordEditorWindow::remove);
    connect(m_cancel, &QPushButton::clicked, this, &RecordEditorWindow::cancel);
    connect(m_qrz, &QPushButton::clicked, this, [this] {
        QDesktopServices::openUrl(qrzPage(m_station->text()));
        m_station->setFocus();
    });
    connect(&m_session.state(), &AppState::languageChanged, this, &RecordEditorWindow::retranslate);
    retranslate(m_session.state().language());
}

void RecordEditorWindow::retranslate(Language language)
{
    // The editor speaks Spanish, but for the captions it adds of its own and what screen
    // readers call its unnamed fields.
    m_dateCaption->setText(text(Txt::EditorDate, language));
    m_timeCaption->setText(text(Txt::EditorTime, language));
    m_uplinkModeCaption->setText(text(Txt::EditorMode, language));
    m_downlinkModeCaption->setText(text(Txt::EditorMode, language));
    m_uplinkMode->setAccessibleName(text(Txt::AccUplinkMode, language));
    m_downlinkMode->setAccessibleName(text(Txt::AccDownlinkMode, language));
    showValue(m_distance, text(Txt::AccDistance, language), m_distance->text());
}

bool RecordEditorWindow::load(qint64 id, bool fromMain)
{
    std::optional<QsoRecord> record;
    try {
        record = readRecordById(m_session.state().currentLog().path, id);
    } catch (const db::DbError &error) {
        m_session.reportLogError(error.message());
        return false;
    }
    if (!record) {
        // Deleted meanwhile (by an import or another editor): the listing is out of date.
        m_session.state().announceLogChanged();
        return false;
    }
    m_id = id;
    const QString ownLocator = fromMain ? m_session.state().settings().gridLocator : record->nombreLog;
    fill(editorFieldsFor(*record, ownLocator));
    const bool listening = contactFieldsDisabled(*record);
    for (QWidget *w : std::initializer_list<QWidget *>{m_station, m_received, m_uplink, m_uplinkMode,
                                                         m_stationCaption, m_receivedCaption, m_uplinkCaption})
        w->setEnabled(!listening);
    // A row without a distance must not show the distance of the row opened before it.
    showValue(m_distance, text(Txt::AccDistance, m_session.state().language()),
              editorDistanceText(*record, ownLocator).value_or(QString()));
    setWindowTitle(text(Txt::EditorTitle, Language::Spanish, {{"$nombre$", QString::number(id)}}));
    // What is corrected most is the station; a listening report has none.
    (listening ? m_myCall : m_station)->setFocus();
    return true;
}

QString RecordEditorWindow::distanceText() const
{
    return m_distance->text();
}

void RecordEditorWindow::fill(const EditorFields &f)
{
    m_myCall->setText(f.myCall);
    m_station->setText(f.station);
    m_date->setText(f.date);
    m_time->setText(f.time);
    m_qslSent->setChecked(f.qslSent);
    m_qslReceived->setChecked(f.qslReceived);
    showStored(m_sent, f.reportSent, kReportLength);
    showStored(m_received, f.reportReceived, kReportLength);
    m_satellite->setText(f.satellite);
    m_orbit->setText(f.orbit);
    m_uplink->setText(f.uplinkFreq);
    m_uplinkMode->setText(f.uplinkMode);
    m_downlink->setText(f.downlinkFreq);
    m_downlinkMode->setText(f.downlinkMode);
    showStored(m_locator, f.locator, kLocatorLength);
    showStored(m_ownLocator, f.ownLocator, kLocatorLength);
    showStored(m_azimuth, f.azimuth, kAzimuthLength);
    showStored(m_elevation, f.elevation, kElevationLength);
    m_notes->setText(f.notes);
}

EditorFields RecordEditorWindow::fields() const
{
    EditorFields f;
    f.myCall = m_myCall->text();
    f.station = m_station->text();
    f.date = m_date->text();
    f.time = m_time->text();
    f.qslSent = m_qslSent->isChecked();
    f.qslReceived = m_qslReceived->isChecked();
    f.reportSent = m_sent->text();
    f.reportReceived = m_received->text();
    f.satellite = m_satellite->text();
    f.orbit = m_orbit->text();
    f.uplinkFreq = m_uplink->text();
    f.uplinkMode = m_uplinkMode->text();
    f.downlinkFreq = m_downlink->text();
    f.downlinkMode = m_downlinkMode->text();
    f.locator = m_locator->text();
    f.ownLocator = m_ownLocator->text();
    f.azimuth = m_azimuth->text();
    f.elevation = m_elevation->text();
    f.notes = m_notes->text();
    return f;
}

QLineEdit *RecordEditorWindow::fieldFor(EditorField field) const
{
    switch (field) {
    case EditorField::Locator:
        return m_locator;
    case EditorField::MyCall:
        return m_myCall;
    case EditorField::Station:
        return m_station;
    case EditorField::Date:
        return m_date;
    case EditorField::Time:
        return m_time;
    case EditorField::Azimuth:
        return m_azimuth;
    case EditorField::Elevation:
        return m_elevation;
    case EditorField::None:
        break;
    }
    return nullptr;
}

void RecordEditorWindow::save()
{
    if (!m_session.state().mayWriteLog(m_session.dialogs()))
        return;
    try {
        const QString path = m_session.state().currentLog().path;
        const EditorCheck check = saveRecord(path, m_id, fields());
        if (check.rowGone) {
            // The editor stays open with what was typed; the listing drops the vanished row.
            m_session.dialogs().inform(text(Txt::MsgEditorQsoGone, m_session.state().language(),
                                            {{"$nombre$", QString::number(m_id)}, {"$arch$", path}}),
                                       Icon::Exclamation);
            m_session.state().announceLogChanged();
            return;
        }
        if (!check.ok()) {
            m_session.dialogs().inform(check.message, Icon::Exclamation);
            if (QLineEdit *field = fieldFor(check.field))
                field->setFocus();
            return;
        }
    } catch (const db::DbError &error) {
        m_session.reportLogError(error.message());
        return;
    }
    m_session.state().announceLogChanged();
    accept();
}

void RecordEditorWindow::remove()
{
    if (!m_session.state().mayWriteLog(m_session.dialogs()))
        return;
    if (!m_session.dialogs().ask(deleteQuestion(fields()), Icon::Question))
        return;
    try {
        deleteRecord(m_session.state().currentLog().path, m_id);
    } catch (const db::DbError &error) {
        m_session.reportLogError(error.message());
        return;
    }
    m_session.state().announceLogChanged();
    accept();
    if (m_session.lastRecord().station.isEmpty())
        m_session.dialogs().inform(text(Txt::MsgLogEmpty, Language::Spanish), Icon::Information);
}

void RecordEditorWindow::cancel()
{
    reject();
}

void RecordEditorWindow::closeEvent(QCloseEvent *event)
{
    // Left only through Guardar, Eliminar or Cancelar.
    event->ignore();
}

} // namespace vorta
