#pragma once

// Every command of the main window as one action, made from one table: its caption
// with mnemonic, shortcut, icon (the desktop theme's, else the program's own), and
// its place in the main menu and the tool bar. The window connects what each does;
// the set enables each by its rule.

#include <QObject>
#include <map>

class QAction;
class QMainWindow;
class QMenu;
class QToolBar;
class QWidget;

namespace qn {

class QNTexts;
struct QNCommandState;

class QNCommandSet : public QObject {
  Q_OBJECT

 public:
  // Makes the actions, the main menu and the tool bar of `window`.
  explicit QNCommandSet(QMainWindow& window);

  QAction* Action(int id) const;
  QMenu* RecentMenu() const { return recent_; }
  QMenu* FontMenu() const { return font_; }
  QToolBar* ToolBar() const { return toolBar_; }

  // Gives the main menu the installed language's texts and font, and each command
  // its status-bar prompt and tool bar tip.
  void Translate(const QNTexts& texts);
  // Enables every command by its rule.
  void Update(const QNCommandState& state);

 private:
  QAction* Make(int id);
  // A submenu of the menu bar or of a menu.
  static QMenu* AddMenu(QWidget* parent, const char* text);
  void AddTo(QMenu* menu, std::initializer_list<int> ids);

  QMainWindow& window_;
  std::map<int, QAction*> actions_;
  QMenu* recent_ = nullptr;
  QMenu* font_ = nullptr;
  QToolBar* toolBar_ = nullptr;
};

}  // namespace qn
