// Alt letters for the menu bar of a window: its menus and every entry of them get a letter of
// their own (withMnemonics), so that Alt and a letter opens a menu and a letter picks an entry.
#pragma once

class QMenuBar;

namespace vorta {

// Marks the titles of bar and the entries of its menus, submenus included. Call it after the
// captions change; a menu also marks its entries again each time it opens, so that an entry
// captioned later still gets its letter.
void giveMnemonics(QMenuBar &bar);

} // namespace vorta
