// The configuration window: the station's call sign and locator, the UTC offset, the language,
// the tracking link, the key port and line, and the four CW macros. Created once and shown
// again; every showing reads the configuration file anew.
#pragma once

#include "config/languages.h"
#include "config/settings.h"

#include <QDialog>

#include <array>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace vorta {

class Session;

class ConfigWindow : public QDialog
{
    Q_OBJECT
public:
    explicit ConfigWindow(Session &session, QWidget *parent = nullptr);

    // On the first run the window must be accepted: Cancel is disabled and Escape ignored.
    void setFirstRun(bool firstRun);

    // Accept and Cancel as their buttons run them.
    void acceptSettings();
    void cancel();

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void fill(const Settings &settings);
    Settings fromFields() const;
    void retranslate(Language language);
    void chooseLanguage(int index);
    void choosePort(int index);

    Session &m_session;
    bool m_firstRun = false;
    QGroupBox *m_stationBox, *m_locatorBox, *m_utcBox, *m_languageBox, *m_portBox, *m_textsBox, *m_trackingBox;
    QComboBox *m_tracking; // the tracking choice, in the order of TrackingChoice
    QLineEdit *m_call, *m_locator, *m_utc;
    QLabel *m_utcHint;
    QCheckBox *m_orbitron;
    QComboBox *m_language, *m_port, *m_line;
    QPushButton *m_testKey, *m_accept, *m_cancel;
    std::array<QLineEdit *, 4> m_macroCaption{}, m_macroText{};
};

} // namespace vorta
