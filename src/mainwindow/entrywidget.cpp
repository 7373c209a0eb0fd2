#include "mainwindow/entrywidget.h"

#include "common/captionwidget.h"
#include "common/charfilter.h"
#include "common/contrast.h"
#include "common/dates.h"
#include "common/dialogs.h"
#include "logdb/previouscontact.h"
#include "mainwindow/session.h"
#include "tracking/satrules.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QKeyEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QAction>
#include <QKeySequence>
#include <QToolButton>
#include <QVBoxLayout>

namespace vorta {

namespace {

const QStringList kModes{QStringLiteral("CW"),   QStringLiteral("CW-N"), QStringLiteral("FM"), QStringLiteral("FM-N"),
                         QStringLiteral("FM-W"), QStringLiteral("LSB"),  QStringLiteral("USB")};

QLineEdit *filteredEdit(CharFilter::Accept accept, int maxLength = 32767)
{
    auto *edit = new QLineEdit;
    edit->setValidator(new CharFilter(std::move(accept), edit));
    edit->setMaxLength(maxLength);
    return edit;
}

QComboBox *modeList()
{
    auto *combo = new QComboBox;
    combo->setEditable(true);
    combo->setInsertPolicy(QComboBox::NoInsert);
    combo->addItems(kModes);
    combo->setCurrentText(QStringLiteral("FM"));
    return combo;
}

} // namespace

EntryWidget::EntryWidget(Session &session, QWidget *parent) : QWidget(parent), m_session(session)
{
    m_station = filteredEdit(&callSignChar, 20);
    emphasize(m_station, 6, true);
    m_satellite = new QLineEdit;
    m_satellite->setMaxLength(50);
    emphasize(m_satellite, 2, true);
    m_satellites = new QComboBox;
    m_satellites->setMinimumContentsLength(10);
    // A closed list would choose a satellite at every arrow key or letter, writing over the one
    // typed beside it: the keys open the list, and only a choice made in it counts.
    m_satellites->installEventFilter(this);
    m_listButton = new QToolButton;
    m_listButton->setIcon(style()->standardIcon(QStyle::SP_FileDialogDetailedView));
    m_listButton->setFocusPolicy(Qt::NoFocus);
    // Out of the Tab order, so that Tab goes from field to field; the keys open it all the same.
    m_listKey = new QAction(this);
    m_listKey->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_T));
    addAction(m_listKey);
    m_orbit = filteredEdit(&CharFilter::frequencyChar, 10);
    m_uplink = filteredEdit(&CharFilter::frequencyChar, 16);
    m_downlink = filteredEdit(&CharFilter::frequencyChar, 16);
    emphasize(m_uplink, 2, false);
    emphasize(m_downlink, 2, false);
    m_uplinkMode = modeList();
    m_downlinkMode = modeList();
    m_sent = filteredEdit(&CharFilter::reportChar, 3);
    m_received = filteredEdit(&CharFilter::reportChar, 3);
    m_sent->setText(QStringLiteral("59"));
    m_received->setText(QStringLiteral("59"));
    m_locator = filteredEdit(&CharFilter::locatorChar, 6);
    m_notes = new QLineEdit;
    m_date = filteredEdit(&CharFilter::dateChar, 10);
    m_time = filteredEdit(&CharFilter::digitChar, 4);
    fitWidth(m_date, QStringLiteral("00/00/0000"), Fit::Exactly);
    fitWidth(m_time, QStringLiteral("0000"), Fit::Exactly);
    // What comes and goes beside the fields keeps its room, so that the fields never move and
    // the window never grows while the operator types.
    m_previous = new QLabel;
    emphasize(m_previous, 1, true);
    m_workedInPass = new QLabel;
    emphasize(m_workedInPass, 1, true);
    for (QLabel *label : {m_previous, m_workedInPass}) {
        label->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
        QSizePolicy policy = label->sizePolicy();
        policy.setRetainSizeWhenHidden(true);
        label->setSizePolicy(policy);
        label->hide();
    }
    m_elementInfo = new QLabel;
    m_satMode = new QLabel;
    emphasize(m_satMode, 6, true);
    fitWidth(m_satMode, QStringLiteral("SAT L/X"), Fit::AtLeast);
    m_listening = new QCheckBox;
    m_manualTime = new QCheckBox;
    m_keepNotes = new QCheckBox;
    m_save = new QPushButton;
    m_clear = new QPushButton;
    m_save->setAutoDefault(false);
    m_clear->setAutoDefault(false);

    m_stationCaption = captionFor(m_station);
    m_satelliteCaption = captionFor(m_satellite);
    m_orbitCaption = captionFor(m_orbit);
    m_uplinkCaption = captionFor(m_uplink);
    m_downlinkCaption = captionFor(m_downlink);
    m_uplinkModeCaption = captionFor(m_uplinkMode);
    m_downlinkModeCaption = captionFor(m_downlinkMode);
    m_sentCaption = captionFor(m_sent);
    m_receivedCaption = captionFor(m_received);
    m_locatorCaption = captionFor(m_locator);
    m_notesCaption = captionFor(m_notes);
    m_dateCaption = captionFor(m_date);
    m_timeCaption = captionFor(m_time);

    // Laid out in the order the operator works a pass: who, on which satellite, on which
    // frequencies, the reports, then the boxes and the two commands.
    auto *grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->addWidget(m_stationCaption, 0, 0);
    grid->addWidget(m_station, 0, 1, 1, 3);
    // Two lines beside the call: the earlier contact, and whether it was in this very pass.
    auto *previous = new QVBoxLayout;
    previous->setSpacing(0);
    previous->addWidget(m_previous);
    previous->addWidget(m_workedInPass);
    grid->addLayout(previous, 0, 4, 1, 4);

    auto *satRow = new QHBoxLayout;
    satRow->addWidget(m_satellite, 3);
    satRow->addWidget(m_satellites, 2);
    satRow->addWidget(m_listButton);
    grid->addWidget(m_satelliteCaption, 1, 0);
    grid->addLayout(satRow, 1, 1, 1, 3);
    grid->addWidget(m_orbitCaption, 1, 4);
    grid->addWidget(m_orbit, 1, 5);
    grid->addWidget(m_elementInfo, 1, 6);

    grid->addWidget(m_uplinkCaption, 2, 0);
    grid->addWidget(m_uplink, 2, 1);
    grid->addWidget(m_uplinkModeCaption, 2, 2);
    grid->addWidget(m_uplinkMode, 2, 3);
    grid->addWidget(m_satMode, 2, 4, 2, 4, Qt::AlignCenter);
    grid->addWidget(m_downlinkCaption, 3, 0);
    grid->addWidget(m_downlink, 3, 1);
    grid->addWidget(m_downlinkModeCaption, 3, 2);
    grid->addWidget(m_downlinkMode, 3, 3);

    m_reportBox = new QGroupBox;
    auto *reports = new QHBoxLayout(m_reportBox);
    reports->addWidget(m_sentCaption);
    reports->addWidget(m_sent);
    reports->addWidget(m_receivedCaption);
    reports->addWidget(m_received);
    grid->addWidget(m_reportBox, 4, 0, 1, 4);
    auto *locatorRow = new QHBoxLayout;
    locatorRow->addWidget(m_locatorCaption);
    locatorRow->addWidget(m_locator);
    grid->addLayout(locatorRow, 4, 4, 1, 2);

    grid->addWidget(m_notesCaption, 5, 0);
    grid->addWidget(m_notes, 5, 1, 1, 5);

    // The manual date and time keep their room while hidden, next to the free room of the row,
    // so that ticking the box moves nothing.
    auto *boxes = new QHBoxLayout;
    boxes->addWidget(m_listening);
    boxes->addWidget(m_keepNotes);
    boxes->addWidget(m_manualTime);
    boxes->addWidget(m_dateCaption);
    boxes->addWidget(m_date);
    boxes->addWidget(m_timeCaption);
    boxes->addWidget(m_time);
    boxes->addStretch(1);
    boxes->addWidget(m_save);
    boxes->addWidget(m_clear);
    grid->addLayout(boxes, 6, 0, 1, 6);
    grid->setColumnStretch(1, 2);
    grid->setColumnStretch(3, 1);
    grid->setColumnStretch(5, 1);
    for (QWidget *w : std::initializer_list<QWidget *>{m_dateCaption, m_date, m_timeCaption, m_time}) {
        QSizePolicy policy = w->sizePolicy();
        policy.setRetainSizeWhenHidden(true);
        w->setSizePolicy(policy);
        w->hide();
    }

    connect(m_save, &QPushButton::clicked, this, &EntryWidget::save);
    connect(m_clear, &QPushButton::clicked, this, &EntryWidget::clear);
    connect(m_uplink, &QLineEdit::textChanged, this, &EntryWidget::frequenciesChanged);
    connect(m_downlink, &QLineEdit::textChanged, this, &EntryWidget::frequenciesChanged);
    connect(m_station, &QLineEdit::textChanged, this, &EntryWidget::stationChanged);
    connect(m_satellite, &QLineEdit::textChanged, this, &EntryWidget::satelliteChanged);
    connect(m_satellite, &QLineEdit::textChanged, this, &EntryWidget::showWorkedInPass);
    connect(m_orbit, &QLineEdit::textChanged, this, &EntryWidget::showWorkedInPass);
    connect(m_uplinkMode, &QComboBox::textActivated, this, &EntryWidget::modePicked);
    connect(m_downlinkMode, &QComboBox::textActivated, this, &EntryWidget::modePicked);
    connect(m_satellites, &QComboBox::textActivated, this, [this](const QString &name) {
        m_satellites->setCurrentIndex(-1);
        emit satelliteChosen(name);
    });
    connect(m_listButton, &QToolButton::clicked, this, &EntryWidget::satelliteListRequested);
    connect(m_listKey, &QAction::triggered, this, &EntryWidget::satelliteListRequested);
    connect(m_manualTime, &QCheckBox::toggled, this, &EntryWidget::manualTimeToggled);
    connect(m_listening, &QCheckBox::toggled, this, &EntryWidget::listeningToggled);
    connect(m_date, &QLineEdit::editingFinished, this, &EntryWidget::manualDateLeft);
    connect(m_time, &QLineEdit::editingFinished, this, &EntryWidget::manualTimeLeft);
    m_blinkTimer.setInterval(350);
    connect(&m_blinkTimer, &QTimer::timeout, this, &EntryWidget::blink);
    m_blinkTimer.start();
    connect(&m_session.state(), &AppState::languageChanged, this, &EntryWidget::retranslate);
    // A satellite typed by the operator is another satellite for tracking too.
    connect(m_satellite, &QLineEdit::textEdited, this, &EntryWidget::giveFieldsToTracking);
    connect(qApp, &QApplication::focusChanged, this, &EntryWidget::focusMoved);
    giveFieldsToTracking();
    retranslate(m_session.state().language());
    colourTexts();
}

bool EntryWidget::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_satellites && event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<const QKeyEvent *>(event);
        const bool moves = key->key() == Qt::Key_Up || key->key() == Qt::Key_Down || key->key() == Qt::Key_PageUp
                           || key->key() == Qt::Key_PageDown || key->key() == Qt::Key_Home
                           || key->key() == Qt::Key_End;
        const bool letter = !key->text().isEmpty() && key->text().at(0).isPrint()
                            && !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
        if (moves || letter) {
            m_satellites->showPopup();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void EntryWidget::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::PaletteChange)
        colourTexts();
    QWidget::changeEvent(event);
}

void EntryWidget::colourTexts()
{
    colourText(m_previous, kPreviousColour);
    colourText(m_workedInPass, kWorkedInPassColour);
    colourText(m_elementInfo, kQuietColour);
    colourText(m_satMode, kSatModeColour);
}

void EntryWidget::retranslate(Language language)
{
    m_stationCaption->setText(text(Txt::LabelStation, language));
    m_satelliteCaption->setText(text(Txt::LabelSatellite, language));
    m_orbitCaption->setText(text(Txt::LabelOrbit, language));
    m_uplinkCaption->setText(text(Txt::LabelUplink, language));
    m_downlinkCaption->setText(text(Txt::LabelDownlink, language));
    m_uplinkModeCaption->setText(text(Txt::LabelMode, language));
    m_downlinkModeCaption->setText(text(Txt::LabelMode, language));
    m_sentCaption->setText(text(Txt::LabelReportSent, language));
    m_receivedCaption->setText(text(Txt::LabelReportReceived, language));
    m_locatorCaption->setText(text(Txt::LabelLocator, language));
    m_notesCaption->setText(text(Txt::LabelNotes, language));
    m_dateCaption->setText(text(Txt::LabelDate, language));
    m_timeCaption->setText(text(Txt::LabelTime, language));
    m_reportBox->setTitle(text(Txt::FrameReports, language));
    m_listening->setText(text(Txt::BoxListen, language));
    m_manualTime->setText(text(Txt::BoxManualTime, language));
    m_keepNotes->setText(text(Txt::BoxKeepNotes, language));
    m_save->setText(text(Txt::ButtonSave, language));
    m_clear->setText(text(Txt::ButtonClear, language));
    showValue(m_satMode, text(Txt::AccSatMode, language), m_satMode->text());
    m_workedInPass->setText(text(Txt::LabelWorkedInPass, language));
    // Room for the longest age, its stale mark and the catalogue number, so that they never widen
    // the panel nor are cut.
    fitWidth(m_elementInfo,
             text(Txt::ElementAge, language, {{"$nombre$", QStringLiteral("9999")}}) + u' '
                 + text(Txt::ElementsStale, language) + QStringLiteral("  ")
                 + text(Txt::CatalogueNumber, language, {{"$nombre$", QStringLiteral("999999")}}),
             Fit::AtLeast);
    m_satellites->setPlaceholderText(text(Txt::SatelliteChoicePlaceholder, language));
    m_satellites->setAccessibleName(text(Txt::SatelliteChoicePlaceholder, language));
    m_satellites->setAccessibleDescription(text(Txt::AccSatelliteChoice, language));
    m_listButton->setToolTip(text(Txt::SatListTitle, language) + QStringLiteral(" (")
                             + m_listKey->shortcut().toString(QKeySequence::NativeText) + u')');
    m_listButton->setAccessibleName(text(Txt::SatListTitle, language));
    setElementInfo(m_elementAge, m_catalogue, m_elementsStale);
    // Both mode lists share one caption; the screen reader tells them apart by direction.
    nameList(m_uplinkMode, text(Txt::AccUplinkMode, language));
    nameList(m_downlinkMode, text(Txt::AccDownlinkMode, language));
}

EntryForm EntryWidget::form() const
{
    EntryForm f;
    f.station = m_station->text();
    f.satellite = m_satellite->text();
    f.orbit = m_orbit->text();
    f.uplinkFreq = m_uplink->text();
    f.downlinkFreq = m_downlink->text();
    f.uplinkMode = m_uplinkMode->currentText();
    f.downlinkMode = m_downlinkMode->currentText();
    f.reportSent = m_sent->text();
    f.reportReceived = m_received->text();
    f.locator = m_locator->text();
    f.notes = m_notes->text();
    f.listening = m_listening->isChecked();
    f.manualTime = m_manualTime->isChecked();
    f.manualDate = m_date->text();
    f.manualTimeText = m_time->text();
    f.azimuth = m_azimuth;
    f.elevation = m_elevation;
    return f;
}

QWidget *EntryWidget::fieldFor(EntryField field) const
{
    switch (field) {
    case EntryField::Station:
        return m_station;
    case EntryField::Satellite:
        return m_satellite;
    case EntryField::Uplink:
        return m_uplink;
    case EntryField::Downlink:
        return m_downlink;
    case EntryField::Locator:
        return m_locator;
    case EntryField::Notes:
        return m_notes;
    case EntryField::ManualDate:
        return m_date;
    case EntryField::ManualTime:
        return m_time;
    case EntryField::None:
        break;
    }
    return nullptr;
}

void EntryWidget::save()
{
    // Enter saves from any field: one whose cursor held back a newer tracking value saves that
    // value, as it would have shown it a moment later.
    takeHeldBackValues();
    emit aboutToSave();
    // The save checks the manual date and time itself; its message takes the focus away from
    // those fields, which must not answer with a second message of their own.
    m_correcting = true;
    const SaveResult result = saveEntry(form(), m_session.state(), m_session.dialogs());
    m_correcting = false;
    if (result.kind == SaveResult::Kind::Stored) {
        // Satellite, orbit, frequencies, modes and reports stay for the next QSO of the pass.
        m_listening->setChecked(false);
        m_station->clear();
        if (!m_keepNotes->isChecked())
            m_notes->clear();
        m_locator->clear();
        emit saved(result.notice);
    }
    if (QWidget *field = fieldFor(result.focus))
        field->setFocus();
}

void EntryWidget::clear()
{
    m_station->clear();
    m_locator->clear();
    m_notes->clear();
    m_station->setFocus();
}

void EntryWidget::frequenciesChanged()
{
    const QString up = bandName(m_uplink->text());
    const QString down = bandName(m_downlink->text());
    m_session.state().setBands(up, down);
    showValue(m_satMode, text(Txt::AccSatMode, m_session.state().language()), satModeLabelText(satelliteMode(up, down)));
}

void EntryWidget::stationChanged(const QString &call)
{
    emit callChanged(call);
    m_previous->hide();
    m_previous->clear();
    auto previous = previousContact(m_session.state().currentLog().path, call);
    if (previous) // as the field will hold it, so that the next lookup knows it for its own
        previous->grid.truncate(m_locator->maxLength());
    const PreviousContactFill::Fields fields =
        m_previousFill.apply({m_locator->text(), m_notes->text()}, previous, m_keepNotes->isChecked());
    // Only a changed field is written: one the operator is typing in keeps its cursor.
    if (fields.grid != m_locator->text())
        m_locator->setText(fields.grid);
    if (fields.notes != m_notes->text())
        m_notes->setText(fields.notes);
    if (previous) {
        m_previous->setText(previous->label);
        m_previous->show();
    }
    showWorkedInPass();
}

void EntryWidget::showWorkedInPass()
{
    // Said in words beside the earlier contact before Enter; the save itself stays allowed.
    m_workedInPass->setVisible(
        workedInPass(m_session.state().currentLog().path, m_station->text(), m_satellite->text(), m_orbit->text()));
}

void EntryWidget::modePicked(const QString &mode)
{
    const QString report = reportForMode(mode);
    m_sent->setText(report);
    m_received->setText(report);
}

void EntryWidget::manualTimeToggled(bool on)
{
    if (on) {
        // Proposed from the UTC clock: the typed values are stored as UTC.
        const QDateTime utc = m_session.state().utcNow();
        m_date->setText(formatDate(utc.date()));
        m_time->setText(utc.time().toString(QStringLiteral("HHmm")));
    } else {
        m_blinkRed = false;
        m_manualTime->setPalette(QPalette());
    }
    for (QWidget *w : std::initializer_list<QWidget *>{m_dateCaption, m_date, m_timeCaption, m_time})
        w->setVisible(on);
    m_station->setFocus();
}

void EntryWidget::listeningToggled(bool on)
{
    m_stationCaption->setEnabled(!on);
    (on ? m_notes : m_station)->setFocus();
}

bool EntryWidget::correctionDue() const
{
    // Not while a save or another correction is speaking, and not when the window merely lost
    // activation (another program, or a question of this one, took it): the save checks again.
    return !m_correcting && m_manualTime->isChecked() && window()->isActiveWindow();
}

void EntryWidget::manualDateLeft()
{
    if (!correctionDue())
        return;
    if (const auto date = correctedManualDate(m_date->text())) {
        m_date->setText(*date);
        return;
    }
    m_correcting = true;
    m_session.dialogs().inform(manualDateMessage(), Icon::Exclamation);
    m_date->setText(kManualDateFallback);
    m_date->setFocus();
    m_correcting = false;
}

void EntryWidget::manualTimeLeft()
{
    if (!correctionDue())
        return;
    if (const auto time = manualTimeOf(m_time->text())) {
        m_time->setText(time->toString(QStringLiteral("HHmm")));
        return;
    }
    m_correcting = true;
    m_session.dialogs().inform(manualTimeMessage(), Icon::Exclamation);
    m_time->setText(kManualTimeFallback);
    m_time->setFocus();
    m_correcting = false;
}

void EntryWidget::blink()
{
    if (!m_manualTime->isChecked())
        return;
    m_blinkRed = !m_blinkRed;
    // The red is darker than pure red, which reads poorly on a light window; the ticked box and
    // the date and time fields say the same without colour.
    if (!m_blinkRed) {
        m_manualTime->setPalette(QPalette());
        return;
    }
    colourText(m_manualTime, kAlertColour);
}

void EntryWidget::setSatellite(const QString &name)
{
    m_satellite->setText(name);
}

void EntryWidget::setOrbit(const QString &orbit)
{
    m_orbit->setText(orbit);
}

void EntryWidget::setUplink(const QString &frequency)
{
    m_uplink->setText(frequency);
}

void EntryWidget::setDownlink(const QString &frequency)
{
    m_downlink->setText(frequency);
}

void EntryWidget::setElementInfo(const QString &age, const QString &catalogue, bool stale)
{
    m_elementAge = age;
    m_catalogue = catalogue;
    m_elementsStale = stale;
    const Language language = m_session.state().language();
    QStringList parts;
    // Out-of-date elements are said in words beside their age, not left to a colour.
    if (!age.isEmpty())
        parts << text(Txt::ElementAge, language, {{"$nombre$", age}})
                     + (stale ? u' ' + text(Txt::ElementsStale, language) : QString());
    if (!catalogue.isEmpty())
        parts << text(Txt::CatalogueNumber, language, {{"$nombre$", catalogue}});
    m_elementInfo->setText(parts.join(QStringLiteral("  ")));
}

QString EntryWidget::elementInfo() const
{
    return m_elementInfo->text();
}

QString EntryWidget::orbit() const
{
    return m_orbit->text();
}

QStringList EntryWidget::modes()
{
    return kModes;
}

void EntryWidget::setUplinkMode(const QString &mode)
{
    m_uplinkMode->setCurrentText(mode);
}

void EntryWidget::setDownlinkMode(const QString &mode)
{
    m_downlinkMode->setCurrentText(mode);
}

void EntryWidget::setAntenna(const QString &azimuth, const QString &elevation)
{
    m_azimuth = azimuth;
    m_elevation = elevation;
}

void EntryWidget::setSatelliteChoices(const QStringList &names)
{
    m_satellites->clear();
    m_satellites->addItems(names);
    m_satellites->setCurrentIndex(-1);
}

QWidget *EntryWidget::trackedWidget(TrackedField field) const
{
    switch (field) {
    case TrackedField::Uplink:
        return m_uplink;
    case TrackedField::Downlink:
        return m_downlink;
    case TrackedField::UplinkMode:
        return m_uplinkMode;
    case TrackedField::DownlinkMode:
        return m_downlinkMode;
    }
    return nullptr;
}

QString EntryWidget::trackedText(TrackedField field) const
{
    if (const auto *edit = qobject_cast<const QLineEdit *>(trackedWidget(field)))
        return edit->text();
    return static_cast<const QComboBox *>(trackedWidget(field))->currentText();
}

void EntryWidget::writeTracked(TrackedField field, const QString &value)
{
    if (auto *edit = qobject_cast<QLineEdit *>(trackedWidget(field)))
        edit->setText(value);
    else
        static_cast<QComboBox *>(trackedWidget(field))->setCurrentText(value);
}

void EntryWidget::offerTracked(TrackedField field, const QString &value)
{
    QWidget *widget = trackedWidget(field);
    const bool focused = holds(widget, QApplication::focusWidget());
    if (const auto written = m_tracked.offer(field, value, trackedText(field), focused))
        writeTracked(field, *written);
}

void EntryWidget::takeHeldBackValues()
{
    for (const TrackedField field : kTrackedFields)
        takeHeldBack(field);
}

void EntryWidget::takeHeldBack(TrackedField field)
{
    if (const auto written = m_tracked.left(field, trackedText(field)))
        writeTracked(field, *written);
}

void EntryWidget::giveFieldsToTracking()
{
    for (const TrackedField field : kTrackedFields)
        m_tracked.giveBack(field, trackedText(field));
}

bool EntryWidget::holds(const QWidget *field, const QWidget *focus)
{
    // An editable list's cursor is in its line edit, a child of the list.
    return focus && (focus == field || field->isAncestorOf(focus));
}

bool EntryWidget::satelliteFocused() const
{
    return holds(m_satellite, QApplication::focusWidget());
}

QString EntryWidget::satellite() const
{
    return m_satellite->text();
}

void EntryWidget::focusMoved(QWidget *old, QWidget *now)
{
    if (!old)
        return;
    for (const TrackedField field : kTrackedFields) {
        QWidget *widget = trackedWidget(field);
        if (holds(widget, old) && !holds(widget, now))
            takeHeldBack(field);
    }
    if (holds(m_satellite, old) && !holds(m_satellite, now))
        emit satelliteLeft();
}

QString EntryWidget::satModeText() const
{
    return m_satMode->text();
}

QString EntryWidget::previousContactText() const
{
    return m_previous->isHidden() ? QString() : m_previous->text();
}

QString EntryWidget::workedInPassText() const
{
    return m_workedInPass->isHidden() ? QString() : m_workedInPass->text();
}

void EntryWidget::focusStation()
{
    m_station->setFocus();
}

} // namespace vorta
