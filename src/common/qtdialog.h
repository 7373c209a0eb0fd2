// The Dialogs of the windows: Qt message boxes titled "Vorta" and the desktop's file dialogs.
#pragma once

#include "common/dialogs.h"

class QWidget;

namespace vorta {

class QtDialogs : public Dialogs
{
public:
    // parent: the window the boxes belong to; it may change as windows come and go.
    explicit QtDialogs(QWidget *parent = nullptr) : m_parent(parent) {}
    void setParent(QWidget *parent) { m_parent = parent; }

    void inform(const QString &text, Icon icon) override;
    bool ask(const QString &text, Icon icon) override;
    std::optional<QString> openFile(const QString &title, const QString &dir, const QString &filter) override;
    std::optional<QString> saveFile(const QString &title, const QString &proposedPath,
                                    const QString &filter) override;

private:
    QWidget *parentWidget() const;
    QWidget *m_parent;
};

} // namespace vorta
