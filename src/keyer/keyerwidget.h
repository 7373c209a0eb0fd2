// The CW panel of the main window: the macro labels F5 to F8 and "F9-Test", the manual key with
// its indicator, the speed control, the key port in use and the text being sent. Shown and
// hidden by the "Macros CW" tick of the File menu; KeyerControl decides what happens.
#pragma once

#include "config/languages.h"
#include "keyer/macros.h"

#include <QGroupBox>

#include <array>
#include <functional>

class QAction;
class QKeyEvent;
class QLabel;
class QPushButton;
class QSlider;

namespace vorta {

class KeyerControl;
class KeyLamp;
class Session;

class KeyerWidget : public QGroupBox
{
    Q_OBJECT
public:
    // values gives the placeholders' values at the moment a macro is sent.
    KeyerWidget(Session &session, std::function<MacroValues()> values, QWidget *parent = nullptr);

    // The "Macros CW" tick item, for the menu.
    QAction *toggleAction() const { return m_toggle; }
    KeyerControl &control() { return *m_control; }
    // Whether the indicator shows the key down (red).
    bool keyShownDown() const;

    // Keys of the main window, seen before the focused field: F5 to F9 and Esc. True when the
    // key was used here and must go no further.
    bool keyPressed(const QKeyEvent &event);
    // A key released anywhere in the program: F9 ends the test signal.
    bool keyReleased(const QKeyEvent &event);
    // The main window's activation changed.
    void mainWindowActivation(bool active);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void setShown(bool shown);
    void showSettings();
    void showSpeed(int wordsPerMinute);
    // The text being sent; idle, nothing is heard ("Enviando" alone would say the opposite).
    void showStatus(const QString &status);
    void showKey(bool down);
    void retranslate(Language language);

    Session &m_session;
    std::function<MacroValues()> m_values;
    KeyerControl *m_control;
    QAction *m_toggle;
    std::array<QLabel *, 5> m_keys{}; // F5 to F8, then F9-Test
    QPushButton *m_manualKey;
    KeyLamp *m_lamp;
    QLabel *m_speedLabel, *m_port, *m_status;
    QSlider *m_speed;
    Language m_language = Language::Spanish;
    // Whether the main window was left for another of the program's windows (or not yet shown):
    // coming back from there starts the speed over; coming back from another program, or from
    // a message box or a file dialog, does not.
    bool m_leftForOwnWindow = true;
};

} // namespace vorta
