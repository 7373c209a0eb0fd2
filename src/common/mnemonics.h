// Alt letters for menus: every caption of one menu (or of the menu bar) gets a letter of its own,
// marked with "&" the way Qt underlines and answers it, so that a menu opens with Alt and its
// letter and an entry is chosen with its letter, while the caption's words stay as they are.
#pragma once

#include <QString>
#include <QStringList>

namespace vorta {

// The captions of one menu with their marks, in the same order. A caption's letter is the first
// letter or digit that starts one of its words and is still free, else its first free letter
// or digit, else it gets none. Letters are plain ASCII (accented ones are not keys everywhere)
// and compared without case. Marks the captions already carry are replaced; a "&" of the text
// itself is kept as "&&".
QStringList withMnemonics(const QStringList &captions);

// The caption as the operator reads it: "&Archivo" gives "Archivo", "A && B" gives "A & B".
QString withoutMnemonic(const QString &caption);

} // namespace vorta
