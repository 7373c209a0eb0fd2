#include "common/mnemonicswidget.h"

#include "common/mnemonics.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

namespace vorta {

namespace {

constexpr char kMarksOnShow[] = "vortaMarksOnShow";

void mark(const QList<QAction *> &actions)
{
    QList<QAction *> captioned;
    QStringList captions;
    for (QAction *action : actions) {
        if (action->isSeparator())
            continue;
        captioned << action;
        captions << action->text();
    }
    const QStringList marked = withMnemonics(captions);
    for (qsizetype i = 0; i < captioned.size(); ++i)
        if (captioned[i]->text() != marked[i])
            captioned[i]->setText(marked[i]);
}

void markMenu(QMenu *menu)
{
    mark(menu->actions());
    if (!menu->property(kMarksOnShow).toBool()) {
        menu->setProperty(kMarksOnShow, true);
        QObject::connect(menu, &QMenu::aboutToShow, menu, [menu] { mark(menu->actions()); });
    }
    for (QAction *action : menu->actions())
        if (action->menu())
            markMenu(action->menu());
}

} // namespace

void giveMnemonics(QMenuBar &bar)
{
    mark(bar.actions());
    for (QAction *action : bar.actions())
        if (action->menu())
            markMenu(action->menu());
}

} // namespace vorta
