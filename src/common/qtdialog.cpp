#include "common/qtdialog.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>

namespace vorta {

namespace {

QMessageBox::Icon boxIcon(Icon icon)
{
    switch (icon) {
    case Icon::Information:
        return QMessageBox::Information;
    case Icon::Exclamation:
        return QMessageBox::Warning;
    case Icon::Critical:
        return QMessageBox::Critical;
    case Icon::Question:
        return QMessageBox::Question;
    case Icon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

} // namespace

QWidget *QtDialogs::parentWidget() const
{
    // A modal window that is open stays in front: its messages belong to it.
    if (QWidget *modal = QApplication::activeModalWidget())
        return modal;
    return m_parent;
}

void QtDialogs::inform(const QString &text, Icon icon)
{
    QMessageBox box(boxIcon(icon), QStringLiteral("Vorta"), text, QMessageBox::Ok, parentWidget());
    box.exec();
}

bool QtDialogs::ask(const QString &text, Icon icon)
{
    QMessageBox box(boxIcon(icon), QStringLiteral("Vorta"), text, QMessageBox::Yes | QMessageBox::No,
                    parentWidget());
    box.setDefaultButton(QMessageBox::No);
    box.setEscapeButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

std::optional<QString> QtDialogs::openFile(const QString &title, const QString &dir, const QString &filter)
{
    const QString path = QFileDialog::getOpenFileName(parentWidget(), title, dir, filter);
    if (path.isEmpty())
        return std::nullopt;
    return path;
}

std::optional<QString> QtDialogs::saveFile(const QString &title, const QString &proposedPath,
                                           const QString &filter)
{
    // Overwriting is never offered: the callers refuse existing names themselves.
    const QString path = QFileDialog::getSaveFileName(parentWidget(), title, proposedPath, filter, nullptr,
                                                      QFileDialog::DontConfirmOverwrite);
    if (path.isEmpty())
        return std::nullopt;
    return path;
}

} // namespace vorta
