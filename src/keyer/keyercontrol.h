// What the CW panel does, without the panel: the "Macros CW" tick that allows the keys, the
// macros and the test signal, the speed, the manual key, and what the operator is told when the
// keyer cannot key as it should.
#pragma once

#include "keyer/macros.h"

#include <QObject>
#include <QString>

#include <optional>

namespace vorta {

class Keyer;
class Session;

class KeyerControl : public QObject
{
    Q_OBJECT
public:
    explicit KeyerControl(Session &session, QObject *parent = nullptr);

    // The "Macros CW" tick: the function keys only send while it is set. The first tick makes
    // the keyer ready, so that what the operator must hear about it comes now, not at the
    // first macro of a pass.
    bool macrosShown() const { return m_macrosShown; }
    void setMacrosShown(bool shown);
    // Whether a macro or the test signal may start now: ticked, and nothing being sent.
    bool canStart() const;

    // Macro 0 to 3 (F5 to F8), its placeholders filled from values. False when nothing was
    // started.
    bool sendMacro(int index, const MacroValues &values);
    // The test signal: a train of dots at 25 words per minute while F9 (or the mouse on
    // "F9-Test") is held; its end stops the train and brings back the speed it started from.
    bool startTest();
    void endTest();
    // The running text ends after the current character (Esc).
    void stop();

    int speed() const { return m_speed; }
    // A speed from 10 to 40 words per minute takes effect at the next character.
    void setSpeed(int wordsPerMinute);
    // The main window became active again (at start, or back from another of the program's
    // windows): the speed starts over at 15.
    void windowActivated();

    // The manual key on the configured line.
    void keyManually(bool down);

    // The text being sent, empty while idle.
    const QString &status() const { return m_status; }

signals:
    void speedChanged(int wordsPerMinute);
    void keyChanged(bool down);
    void statusChanged(const QString &status);

private:
    bool send(const QString &text);
    void textEnded();
    void lineFailed(const QString &error);
    void realtimeRefused();

    Session &m_session;
    Keyer &m_keyer;
    bool m_macrosShown = false;
    int m_speed = 15;
    std::optional<int> m_testSavedSpeed; // the speed before the test signal, until its end
    QString m_status;
};

} // namespace vorta
