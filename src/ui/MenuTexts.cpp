#include "ui/MenuTexts.h"

#include <QAction>
#include <QMenu>

#include "text/Texts.h"
#include "ui/LanguageFont.h"

namespace qn {
namespace {

constexpr const char* kTextProperty = "qnMenuText";

// `visit` for every item below `menu`, and `enter` for `menu` and each submenu.
void Walk(QWidget* menu, int& ordinal, const std::function<void(QAction*, int)>& visit,
          const std::function<void(QWidget*)>& enter) {
  enter(menu);
  for (QAction* action : menu->actions()) {
    if (action->isSeparator()) continue;
    QMenu* submenu = action->menu();
    // Every submenu counts, named or not, so that the ordinals stay those of the layout.
    const int item = submenu ? ~ordinal++ : action->data().toInt();
    if (action->property(kTextProperty).isValid()) visit(action, item);
    if (submenu) Walk(submenu, ordinal, visit, enter);
  }
}

}  // namespace

void TagMenuItem(QAction* action, const QString& text) {
  action->setProperty(kTextProperty, text);
  action->setText(text);
}

void ForEachMenuItem(QWidget* menu, const std::function<void(QAction*, int item)>& visit) {
  int ordinal = 0;
  Walk(menu, ordinal, visit, [](QWidget*) {});
}

void TranslateMenu(QWidget* menu, int menuId, const QNTexts& texts) {
  const auto table = texts.Installed();
  const QNFontRecord font = table ? table->Font(QNLanguageFont::Menus) : QNFontRecord{};
  int ordinal = 0;
  Walk(
      menu, ordinal,
      [&](QAction* action, int item) {
        const std::string* text = table ? table->FindMenuItem(menuId, item) : nullptr;
        action->setText(text ? QString::fromStdString(*text).section('\t', 0, 0)
                             : action->property(kTextProperty).toString());
      },
      [&](QWidget* shown) { ApplyLanguageFont(*shown, font); });
}

QAction* MirrorCommand(QAction& command, QObject* parent) {
  auto* mirror = new QAction(command.icon(), command.text(), parent);
  mirror->setData(command.data());
  mirror->setProperty(kTextProperty, command.property(kTextProperty));
  // The shortcut is the command's; the mirror only shows it.
  mirror->setShortcut(command.shortcut());
  mirror->setShortcutContext(Qt::WidgetShortcut);
  const auto follow = [mirror, &command] {
    mirror->setEnabled(command.isEnabled());
    mirror->setStatusTip(command.statusTip());
  };
  follow();
  QObject::connect(&command, &QAction::changed, mirror, follow);
  QObject::connect(mirror, &QAction::triggered, &command, &QAction::trigger);
  return mirror;
}

}  // namespace qn
