#include "keyer/keyercontrol.h"

#include "common/dialogs.h"
#include "keyer/keyer.h"
#include "keyer/keyport.h"
#include "keyer/morse.h"
#include "mainwindow/session.h"

#include <pwd.h>
#include <unistd.h>

namespace vorta {

namespace {

constexpr int kStartSpeed = 15;
constexpr int kTestSpeed = 25;
constexpr int kTestDots = 64;

// The login name, for the line that grants real-time priority to this user.
QString userName()
{
    if (const passwd *entry = getpwuid(getuid()); entry && entry->pw_name)
        return QString::fromLocal8Bit(entry->pw_name);
    return qEnvironmentVariable("USER");
}

} // namespace

KeyerControl::KeyerControl(Session &session, QObject *parent)
    : QObject(parent), m_session(session), m_keyer(session.keyer())
{
    m_keyer.setSpeed(m_speed);
    connect(&m_keyer, &Keyer::keyChanged, this, &KeyerControl::keyChanged);
    connect(&m_keyer, &Keyer::finished, this, &KeyerControl::textEnded);
    connect(&m_keyer, &Keyer::lineFailed, this, &KeyerControl::lineFailed);
    connect(&m_keyer, &Keyer::realtimeRefused, this, &KeyerControl::realtimeRefused);
}

void KeyerControl::setMacrosShown(bool shown)
{
    m_macrosShown = shown;
    if (shown)
        m_keyer.prepare();
}

bool KeyerControl::canStart() const
{
    return m_macrosShown && !m_keyer.isSending();
}

bool KeyerControl::sendMacro(int index, const MacroValues &values)
{
    if (index < 0 || index > 3 || !canStart())
        return false;
    return send(expandMacro(m_session.state().settings().macros[index].text, values));
}

bool KeyerControl::startTest()
{
    if (!canStart())
        return false;
    const int saved = m_speed;
    setSpeed(kTestSpeed);
    if (!send(QString(kTestDots, u'e'))) {
        setSpeed(saved);
        return false;
    }
    m_testSavedSpeed = saved;
    return true;
}

void KeyerControl::endTest()
{
    m_keyer.stop();
    // Without a test having started there is no speed to bring back.
    if (m_testSavedSpeed)
        setSpeed(*std::exchange(m_testSavedSpeed, std::nullopt));
}

void KeyerControl::stop()
{
    m_keyer.stop();
}

void KeyerControl::setSpeed(int wordsPerMinute)
{
    if (!m_keyer.setSpeed(wordsPerMinute) || wordsPerMinute == m_speed)
        return;
    m_speed = wordsPerMinute;
    emit speedChanged(m_speed);
}

void KeyerControl::windowActivated()
{
    setSpeed(kStartSpeed);
}

void KeyerControl::keyManually(bool down)
{
    m_keyer.keyManually(controlLineFromText(m_session.state().settings().pin), down);
}

bool KeyerControl::send(const QString &text)
{
    const Settings &settings = m_session.state().settings();
    std::optional<ControlLine> line;
    if (!settings.port.isEmpty() && settings.port != kNoPort) {
        // A port that could not be opened, or was lost with its adapter, is tried again: the
        // operator may have plugged it in since. Sending without it would key nothing.
        KeyPort &port = m_session.keyPort();
        if (!port.isOpen())
            m_session.openKeyPort(settings.port);
        if (!port.isOpen())
            return false;
        line = controlLineFromText(settings.pin);
    }
    if (!m_keyer.send(text, line))
        return false;
    m_status = text;
    emit statusChanged(m_status);
    return true;
}

void KeyerControl::textEnded()
{
    // A new text may have started before this notice arrived.
    if (m_keyer.isSending() || m_status.isEmpty())
        return;
    m_status.clear();
    emit statusChanged(m_status);
}

void KeyerControl::lineFailed(const QString &error)
{
    // The port's descriptor is of no more use (an adapter pulled out comes back as a new
    // device): it is closed, and the next text opens the port anew.
    KeyPort &port = m_session.keyPort();
    const QString name = port.portName();
    port.close();
    m_session.dialogs().inform(
        text(Txt::MsgKeyerLineFailed, m_session.state().language(), {{"$arch$", name}, {"$nombre$", error}}),
        Icon::Critical);
}

void KeyerControl::realtimeRefused()
{
    const QString grant = QStringLiteral("%1 - rtprio %2").arg(userName()).arg(kKeyerPriority);
    m_session.dialogs().inform(text(Txt::MsgKeyerNoRealtime, m_session.state().language(), {{"$nombre$", grant}}),
                               Icon::Information);
}

} // namespace vorta
