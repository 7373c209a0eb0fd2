// The one way logic talks to the operator. Windows pass a Qt implementation (QtDialogs); tests
// pass a scripted one that records what was shown and answers from a queue.
#pragma once

#include <QString>

#include <optional>

namespace vorta {

// None: a plain message box without icon.
enum class Icon { Information, Exclamation, Critical, Question, None };

class Dialogs
{
public:
    virtual ~Dialogs() = default;
    // A message with an OK button.
    virtual void inform(const QString &text, Icon icon) = 0;
    // A Yes/No question, No being the default answer. True for Yes.
    virtual bool ask(const QString &text, Icon icon) = 0;
    // File dialogs; nothing when the operator cancels. filter is in Qt's "Name (*.ext)" form.
    virtual std::optional<QString> openFile(const QString &title, const QString &dir,
                                            const QString &filter) = 0;
    virtual std::optional<QString> saveFile(const QString &title, const QString &proposedPath,
                                            const QString &filter) = 0;
};

} // namespace vorta
