#include "config/configwindow.h"

#include "common/captionwidget.h"
#include "common/charfilter.h"
#include "common/dates.h"
#include "common/dialogs.h"
#include "config/configfile.h"
#include "config/extrasettings.h"
#include "keyer/keyport.h"
#include "mainwindow/session.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace vorta {

namespace {

// What the configuration file keeps of a value (longer ones are cut when it is read), and of a
// macro's text; a caption leaves room for ";" and the text within the macro line's 200.
constexpr int kValueLength = 100;
constexpr int kMacroTextLength = 100;
constexpr int kMacroCaptionLength = 99;
constexpr int kUtcLength = 6;

QGroupBox *groupWith(QWidget *field, QWidget *extra = nullptr)
{
    auto *box = new QGroupBox;
    auto *layout = new QHBoxLayout(box);
    layout->addWidget(field, 1);
    if (extra)
        layout->addWidget(extra);
    return box;
}

} // namespace

ConfigWindow::ConfigWindow(Session &session, QWidget *parent) : QDialog(parent), m_session(session)
{
    setModal(true);
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);

    m_call = new QLineEdit;
    m_locator = new QLineEdit;
    m_locator->setValidator(new CharFilter(&CharFilter::locatorChar, m_locator));
    m_utc = new QLineEdit;
    m_utcHint = new QLabel;
    m_orbitron = new QCheckBox;
    m_language = new QComboBox;
    m_language->addItems(languageNames());
    m_port = new QComboBox;
    m_line = new QComboBox;
    m_line->addItems({kLineDtr, kLineRts});
    m_testKey = new QPushButton;
    m_testKey->setAutoDefault(false);

    m_stationBox = groupWith(m_call);
    m_locatorBox = groupWith(m_locator);
    m_utcBox = groupWith(m_utc, m_utcHint);
    m_languageBox = groupWith(m_language);
    m_tracking = new QComboBox;
    m_tracking->addItems({QString(), QString()});
    m_trackingBox = groupWith(m_tracking);
    m_portBox = new QGroupBox;
    auto *portLayout = new QHBoxLayout(m_portBox);
    portLayout->addWidget(m_port, 1);
    portLayout->addWidget(m_line, 1);
    portLayout->addWidget(m_testKey);

    m_textsBox = new QGroupBox;
    auto *texts = new QGridLayout(m_textsBox);
    for (int i = 0; i < 4; ++i) {
        auto *key = new QLabel(QStringLiteral("F%1").arg(i + 5));
        m_macroCaption[i] = new QLineEdit;
        // The file separates caption and text with ";", so a caption cannot hold one.
        auto *noSemicolon = new CharFilter([](QChar c) { return c != u';'; }, m_macroCaption[i]);
        noSemicolon->keepLetterCase();
        m_macroCaption[i]->setValidator(noSemicolon);
        m_macroText[i] = new QLineEdit;
        key->setBuddy(m_macroCaption[i]);
        texts->addWidget(key, i, 0);
        texts->addWidget(m_macroCaption[i], i, 1);
        texts->addWidget(m_macroText[i], i, 2);
    }
    texts->setColumnStretch(2, 1);

    m_accept = new QPushButton;
    m_accept->setDefault(true);
    m_cancel = new QPushButton;
    m_cancel->setAutoDefault(false);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_accept);
    buttons->addWidget(m_cancel);

    auto *top = new QGridLayout;
    top->addWidget(m_stationBox, 0, 0);
    top->addWidget(m_locatorBox, 0, 1);
    top->addWidget(m_utcBox, 1, 0);
    top->addWidget(m_languageBox, 1, 1);
    top->addWidget(m_orbitron, 2, 0, 1, 2);
    top->addWidget(m_trackingBox, 3, 0, 1, 2);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(m_portBox);
    layout->addWidget(m_textsBox);
    layout->addLayout(buttons);

    connect(m_accept, &QPushButton::clicked, this, &ConfigWindow::acceptSettings);
    connect(m_cancel, &QPushButton::clicked, this, &ConfigWindow::cancel);
    connect(m_language, &QComboBox::activated, this, &ConfigWindow::chooseLanguage);
    connect(m_port, &QComboBox::activated, this, &ConfigWindow::choosePort);
    connect(m_testKey, &QPushButton::pressed, this, [this] {
        m_session.keyer().keyManually(controlLineFromText(m_line->currentText()), true);
    });
    connect(m_testKey, &QPushButton::released, this, [this] {
        m_session.keyer().keyManually(controlLineFromText(m_line->currentText()), false);
    });
    connect(&m_session.state(), &AppState::languageChanged, this, &ConfigWindow::retranslate);
    retranslate(m_session.state().language());
}

void ConfigWindow::setFirstRun(bool firstRun)
{
    m_firstRun = firstRun;
    m_cancel->setEnabled(!firstRun);
}

void ConfigWindow::showEvent(QShowEvent *event)
{
    // The window always shows what the file holds; unsaved edits of an earlier showing are gone.
    Settings settings = m_session.state().settings();
    loadConfig(m_session.state().folder().configFile(), settings);
    if (m_session.state().firstRun())
        settings.utcText = utcOffsetText(systemUtcOffsetMinutes());
    fill(settings);
    m_tracking->setCurrentIndex(int(loadExtraSettings(m_session.state().folder().settingsFile()).tracking));
    retranslate(m_session.state().language());
    QDialog::showEvent(event);
    m_call->setFocus();
}

void ConfigWindow::fill(const Settings &s)
{
    // Never cut: a value the field shortened would be saved shortened, and a long locator
    // would pass its check in a form the operator never typed.
    showStored(m_call, s.callSign, kValueLength);
    showStored(m_locator, s.gridLocator, kValueLength);
    showStored(m_utc, s.utcText, kUtcLength);
    m_orbitron->setChecked(s.useOrbitron);
    m_language->setCurrentIndex(qMax(0, languageNames().indexOf(s.language)));
    m_port->clear();
    m_port->addItems(portChoices(presentPorts(), s.port));
    m_port->setCurrentText(s.port);
    m_line->setCurrentIndex(s.pin == kLineRts ? 1 : 0);
    for (int i = 0; i < 4; ++i) {
        showStored(m_macroCaption[i], s.macros[i].caption, kMacroCaptionLength);
        showStored(m_macroText[i], s.macros[i].text, kMacroTextLength);
        m_macroText[i]->setCursorPosition(0); // a long macro reads from its start
    }
}

Settings ConfigWindow::fromFields() const
{
    Settings s = m_session.state().settings();
    s.callSign = m_call->text().trimmed().toUpper();
    s.gridLocator = m_locator->text();
    s.utcText = m_utc->text().trimmed();
    s.useOrbitron = m_orbitron->isChecked();
    s.language = m_language->currentText();
    s.port = m_port->currentText().isEmpty() ? s.port : m_port->currentText();
    s.pin = m_line->currentText().isEmpty() ? s.pin : m_line->currentText();
    for (int i = 0; i < 4; ++i)
        s.macros[i] = {m_macroCaption[i]->text(), m_macroText[i]->text()};
    return s;
}

void ConfigWindow::acceptSettings()
{
    const auto problem =
        checkConfigEntry(m_call->text(), m_locator->text(), m_utc->text(), m_session.state().language());
    if (problem) {
        m_session.dialogs().inform(problem->message, Icon::Exclamation);
        QLineEdit *field = problem->field == ConfigField::Locator    ? m_locator
                           : problem->field == ConfigField::CallSign ? m_call
                                                                     : m_utc;
        field->setFocus();
        field->selectAll();
        return;
    }
    // The tracking source changes only with settings that were really saved: a refused
    // configuration leaves everything as it was, and the window open. Once the configuration
    // is saved the window closes, even when the tracking choice could not be kept (the
    // operator is told): a Cancel then would seem to undo what is already done.
    if (!m_session.saveConfiguration(fromFields())) {
        // The first run cannot be left otherwise: with the disk refusing the file, the settings
        // hold for this run (they are saved again at exit), and Cancel or Escape lead on.
        if (m_firstRun)
            setFirstRun(false);
        return;
    }
    m_session.saveTrackingChoice(TrackingChoice(m_tracking->currentIndex()));
    QDialog::accept();
}

void ConfigWindow::cancel()
{
    if (m_call->text().trimmed().isEmpty()) {
        m_session.dialogs().inform(text(Txt::MsgMustGiveCall, Language::Spanish), Icon::Exclamation);
        m_call->setFocus();
        return;
    }
    QDialog::reject();
}

void ConfigWindow::closeEvent(QCloseEvent *event)
{
    // The close box never closes this window: it is left by Accept, Cancel or Escape.
    event->ignore();
}

void ConfigWindow::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape) {
        // Escape leaves without saving, except on the first run, which must end with a saved
        // configuration.
        if (!m_firstRun)
            QDialog::reject();
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void ConfigWindow::chooseLanguage(int index)
{
    if (const auto language = languageFromName(m_language->itemText(index)))
        m_session.state().setLanguage(*language);
}

void ConfigWindow::choosePort(int index)
{
    const QString port = m_port->itemText(index);
    if (port != kNoPort)
        m_session.openKeyPort(port);
}

void ConfigWindow::retranslate(Language language)
{
    setWindowTitle(text(Txt::ConfigTitle, language));
    m_stationBox->setTitle(text(Txt::ConfigStation, language));
    m_locatorBox->setTitle(text(Txt::ConfigLocatorFrame, language));
    m_utcBox->setTitle(text(Txt::ConfigUtcFrame, language));
    m_utcHint->setText(text(Txt::ConfigUtcHint, language));
    m_languageBox->setTitle(text(Txt::ConfigLanguageFrame, language));
    m_orbitron->setText(text(Txt::BoxUseOrbitron, language));
    m_trackingBox->setTitle(text(Txt::ConfigTracking, language));
    m_tracking->setItemText(int(TrackingChoice::Link), text(Txt::TrackingChoiceLink, language));
    m_tracking->setItemText(int(TrackingChoice::BuiltIn), text(Txt::TrackingChoiceBuiltIn, language));
    m_portBox->setTitle(text(Txt::ConfigSerialFrame, language));
    m_testKey->setText(text(Txt::ConfigTestKey, language));
    m_textsBox->setTitle(text(Txt::ConfigTextsFrame, language));
    m_accept->setText(text(Txt::ConfigAccept, language));
    m_cancel->setText(text(Txt::ConfigCancel, language));
    // Fields framed by a group carry the group's caption, so screen readers name them by it.
    for (auto [field, box] : {std::pair<QWidget *, QGroupBox *>{m_call, m_stationBox}, {m_locator, m_locatorBox},
                              {m_utc, m_utcBox}, {m_language, m_languageBox}, {m_tracking, m_trackingBox}})
        field->setAccessibleName(box->title());
    // The two lists share the group's caption: their own names tell them apart.
    nameList(m_port, text(Txt::AccPort, language));
    nameList(m_line, text(Txt::AccLine, language));
    m_utc->setAccessibleDescription(m_utcHint->text());
    for (int i = 0; i < 4; ++i) {
        const QString key = QStringLiteral("F%1").arg(i + 5);
        m_macroCaption[i]->setAccessibleName(text(Txt::AccMacroCaption, language, {{"$nombre$", key}}));
        m_macroText[i]->setAccessibleName(text(Txt::AccMacroText, language, {{"$nombre$", key}}));
    }
}

} // namespace vorta
