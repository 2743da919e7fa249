#pragma once

// Menus in the installed language. Each item a language may name carries its
// built-in text; the language's menu table replaces it by (menu id, command id) for a
// command and by (menu id, ~ordinal) for a submenu's entry, the ordinal counting the
// submenus of the whole menu depth-first from 0 (the first submenu is 0, its first
// nested submenu 1, ...). An item the language lacks, and every item when no language
// is installed, shows its built-in text again.

#include <functional>

class QAction;
class QObject;
class QString;
class QWidget;

namespace qn {

class QNTexts;

// Gives `action` its built-in text (a command's action carries its id as its data).
void TagMenuItem(QAction* action, const QString& text);

// A copy of the command for another menu, which that menu's language entry names:
// it shows the command's shortcut and follows its state, and choosing it chooses the
// command.
QAction* MirrorCommand(QAction& command, QObject* parent);

// Calls `visit` with every tagged item of the menu bar or menu `menu`, in menu order
// and depth-first, and the id the language's menu table names it by.
void ForEachMenuItem(QWidget* menu, const std::function<void(QAction*, int item)>& visit);

// Gives every tagged item of `menu` the text of the installed language's menu
// `menuId` (without a "\t" part: the action shows its own shortcut) or its built-in
// text, and the menu and its submenus the language's menu font.
void TranslateMenu(QWidget* menu, int menuId, const QNTexts& texts);

}  // namespace qn
