// Shared by the window tests: the program with its main window on a test data folder, and ways
// to find the widgets an operator would see by their captions.
#pragma once

#include "common/mnemonics.h"
#include "mainwindow/mainwindow.h"
#include "testsupport.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <functional>
#include <optional>

namespace vorta::test {

// A run of the program with its main window shown.
struct Running
{
    explicit Running(const TempHome &home, const std::optional<Settings> &settings = std::nullopt)
        : program(home, settings), window(program.session)
    {
        window.show();
    }
    // The window active and its log chosen.
    bool ready()
    {
        return QTest::qWaitForWindowActive(&window)
               && QTest::qWaitFor([this] { return !program.state.currentLog().path.isEmpty(); });
    }
    Program program;
    MainWindow window;
};

// Runs action once the window is up. Modal windows run their own event loop, so a test acts
// on them from inside it.
inline void whenShown(QWidget &window, std::function<void()> action)
{
    auto *poll = new QTimer(&window);
    QObject::connect(poll, &QTimer::timeout, &window, [poll, &window, action] {
        if (!window.isVisible())
            return;
        poll->stop();
        poll->deleteLater();
        action();
    });
    poll->start(10);
}

// The field whose caption (its buddy label) reads caption.
inline QLineEdit *captionedEdit(QWidget &window, const QString &caption)
{
    for (QLabel *label : window.findChildren<QLabel *>())
        if (label->text() == caption && label->buddy())
            return qobject_cast<QLineEdit *>(label->buddy());
    return nullptr;
}

// The field a screen reader names so (fields framed by a group carry the group's caption).
inline QLineEdit *namedEdit(QWidget &window, const QString &name)
{
    for (QLineEdit *edit : window.findChildren<QLineEdit *>())
        if (edit->accessibleName() == name)
            return edit;
    return nullptr;
}

// A menu's or an entry's caption as the operator reads it, without the mark of its Alt letter.
inline QString caption(const QAction *action)
{
    return withoutMnemonic(action->text());
}

template <typename Button = QPushButton>
Button *buttonCaptioned(QWidget &window, const QString &caption)
{
    for (Button *button : window.findChildren<Button *>())
        if (button->text() == caption)
            return button;
    return nullptr;
}

} // namespace vorta::test
