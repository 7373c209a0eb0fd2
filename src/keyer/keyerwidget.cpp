#include "keyer/keyerwidget.h"

#include "common/appstate.h"
#include "common/captionwidget.h"
#include "common/contrast.h"
#include "keyer/keyercontrol.h"
#include "keyer/morse.h"
#include "mainwindow/session.h"

#include <QAction>
#include <QApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QSlider>

#include <algorithm>

namespace vorta {

// The key indicator: a filled red disc while the key is down, an empty ring while it is up, so
// that its shape tells as much as its colour.
class KeyLamp : public QWidget
{
public:
    KeyLamp() { setFixedSize(18, 18); }
    bool isDown() const { return m_down; }
    void setDown(bool down)
    {
        if (down == m_down)
            return;
        m_down = down;
        update();
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        if (m_down) {
            p.setPen(Qt::NoPen);
            p.setBrush(readableOn(kAlertColour, palette().color(QPalette::Window)));
        } else {
            p.setPen(QPen(palette().color(QPalette::WindowText), 2));
            p.setBrush(Qt::NoBrush);
        }
        p.drawEllipse(QRectF(rect()).adjusted(3, 3, -3, -3));
    }

private:
    bool m_down = false;
};

KeyerWidget::KeyerWidget(Session &session, std::function<MacroValues()> values, QWidget *parent)
    : QGroupBox(parent), m_session(session), m_values(std::move(values)),
      m_control(new KeyerControl(session, this)), m_toggle(new QAction(this))
{
    m_toggle->setCheckable(true);
    auto *keys = new QHBoxLayout;
    for (QLabel *&label : m_keys) {
        label = new QLabel;
        label->setFrameShape(QFrame::StyledPanel);
        label->setAlignment(Qt::AlignCenter);
        label->setCursor(Qt::PointingHandCursor);
        label->installEventFilter(this);
        emphasize(label, 0, true);
        keys->addWidget(label, 1);
    }
    m_manualKey = new QPushButton;
    m_manualKey->setAutoDefault(false);
    m_lamp = new KeyLamp;
    m_speed = new QSlider(Qt::Horizontal);
    m_speed->setRange(kMinSpeed, kMaxSpeed);
    m_speed->setPageStep(5);
    m_speed->setValue(m_control->speed());
    m_speedLabel = captionFor(m_speed);
    m_speedLabel->setMinimumWidth(m_speedLabel->fontMetrics().horizontalAdvance(QStringLiteral("Vel 40 ppm")));
    m_port = new QLabel;
    m_status = new QLabel;
    m_status->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto *controls = new QHBoxLayout;
    controls->addWidget(m_manualKey);
    controls->addWidget(m_lamp);
    controls->addSpacing(12);
    controls->addWidget(m_speedLabel);
    controls->addWidget(m_speed, 1);
    controls->addSpacing(12);
    controls->addWidget(m_port);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(keys);
    layout->addLayout(controls);
    layout->addWidget(m_status);

    connect(m_toggle, &QAction::toggled, this, &KeyerWidget::setShown);
    connect(m_manualKey, &QPushButton::pressed, m_control, [this] { m_control->keyManually(true); });
    connect(m_manualKey, &QPushButton::released, m_control, [this] { m_control->keyManually(false); });
    connect(m_speed, &QSlider::valueChanged, m_control, &KeyerControl::setSpeed);
    connect(m_control, &KeyerControl::speedChanged, this, &KeyerWidget::showSpeed);
    connect(m_control, &KeyerControl::keyChanged, this, &KeyerWidget::showKey);
    connect(m_control, &KeyerControl::statusChanged, m_status,
            [this](const QString &status) { showStatus(status); });
    AppState &state = m_session.state();
    connect(&state, &AppState::settingsChanged, this, &KeyerWidget::showSettings);
    connect(&state, &AppState::languageChanged, this, &KeyerWidget::retranslate);
    showSettings();
    retranslate(state.language());
    hide();
}

bool KeyerWidget::keyShownDown() const
{
    return m_lamp->isDown();
}

bool KeyerWidget::keyPressed(const QKeyEvent &event)
{
    const int key = event.key();
    if (key == Qt::Key_Escape) {
        m_control->stop();
        return false; // Esc keeps whatever else it does where it was pressed
    }
    if (key < Qt::Key_F5 || key > Qt::Key_F9 || !m_control->macrosShown())
        return false;
    // A held key repeats; a macro or the test starts once per press.
    if (event.isAutoRepeat())
        return true;
    if (!m_control->canStart())
        return false;
    if (key == Qt::Key_F9)
        return m_control->startTest();
    return m_control->sendMacro(key - Qt::Key_F5, m_values());
}

bool KeyerWidget::keyReleased(const QKeyEvent &event)
{
    if (event.key() != Qt::Key_F9)
        return false;
    // While F9 is held, the system repeats it as release-press pairs: only the last release
    // is the operator's.
    if (!event.isAutoRepeat())
        m_control->endTest();
    return true;
}

namespace {

// One of the program's own windows (settings, log browser, editor, satellite list, import, About,
// ...), all of them classes of this program; not a message box or a file dialog of the toolkit,
// which only answer a question or tell something and leave the operator where they were.
bool isOwnWindow(const QWidget *window)
{
    return window && QByteArrayView(window->metaObject()->className()).startsWith("vorta::");
}

} // namespace

void KeyerWidget::mainWindowActivation(bool active)
{
    if (!active) {
        // The window that takes over is known by now; none when another program did.
        m_leftForOwnWindow = isOwnWindow(QApplication::activeWindow());
        return;
    }
    if (m_leftForOwnWindow)
        m_control->windowActivated();
}

bool KeyerWidget::eventFilter(QObject *watched, QEvent *event)
{
    const auto index = std::find(m_keys.begin(), m_keys.end(), watched) - m_keys.begin();
    if (index == qsizetype(m_keys.size())
        || (event->type() != QEvent::MouseButtonPress && event->type() != QEvent::MouseButtonRelease))
        return QGroupBox::eventFilter(watched, event);
    // Only the left button sends.
    if (static_cast<QMouseEvent *>(event)->button() != Qt::LeftButton)
        return true;
    const bool pressed = event->type() == QEvent::MouseButtonPress;
    if (index == 4) {
        if (pressed)
            m_control->startTest();
        else
            m_control->endTest();
    } else if (pressed) {
        m_control->sendMacro(int(index), m_values());
    }
    return true;
}

void KeyerWidget::setShown(bool shown)
{
    m_control->setMacrosShown(shown);
    const int room = height() + (parentWidget() && parentWidget()->layout() ? parentWidget()->layout()->spacing() : 0);
    const bool wasShown = isVisible();
    setVisible(shown);
    QWidget *main = window();
    if (shown || !wasShown || main == this || (main->windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen)))
        return;
    // The main window gives the panel's room back, and keeps any room the operator added.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    if (main->layout())
        main->layout()->activate();
    main->resize(main->width(), qMax(main->minimumSizeHint().height(), main->height() - room));
}

void KeyerWidget::showSettings()
{
    const Settings &settings = m_session.state().settings();
    for (int i = 0; i < 4; ++i) {
        m_keys[i]->setText(QStringLiteral("F%1 - %2").arg(i + 5).arg(settings.macros[i].caption));
        // The tool tip shows the text that is sent; screen readers read it as the description.
        m_keys[i]->setToolTip(settings.macros[i].text);
        m_keys[i]->setAccessibleDescription(settings.macros[i].text);
    }
    showValue(m_port, text(Txt::ConfigSerialFrame, m_language),
              settings.port == kNoPort ? settings.port : settings.port + QStringLiteral("  ") + settings.pin);
}

void KeyerWidget::showStatus(const QString &status)
{
    showValue(m_status, status.isEmpty() ? QString() : text(Txt::KeyerSending, m_language), status);
}

void KeyerWidget::showSpeed(int wordsPerMinute)
{
    m_speed->setValue(wordsPerMinute);
    m_speedLabel->setText(text(Txt::KeyerSpeed, m_language, {{"$nombre$", QString::number(wordsPerMinute)}}));
    m_speed->setAccessibleName(m_speedLabel->text());
}

void KeyerWidget::showKey(bool down)
{
    m_lamp->setDown(down);
    m_lamp->setAccessibleName(text(down ? Txt::KeyerLampDown : Txt::KeyerLampUp, m_language));
}

void KeyerWidget::retranslate(Language language)
{
    m_language = language;
    setTitle(text(Txt::MenuMacrosCw, language));
    m_toggle->setText(text(Txt::MenuMacrosCw, language));
    m_keys[4]->setText(text(Txt::KeyerTestLabel, language));
    m_manualKey->setText(text(Txt::KeyerManualKey, language));
    showValue(m_port, text(Txt::ConfigSerialFrame, language), m_port->text());
    showStatus(m_status->text());
    showSpeed(m_control->speed());
    showKey(m_lamp->isDown());
}

} // namespace vorta
