#pragma once

// Reaching a modal dialog from a test: the dialog runs its own event loop inside
// whatever loop the test was in, so only a timer can act on it once it shows.

#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <functional>

namespace qn::test {

// The visible top-level dialog of type `Dialog`, or null.
template <class Dialog>
Dialog* ShownDialog() {
  for (QWidget* widget : QApplication::topLevelWidgets())
    if (auto* dialog = qobject_cast<Dialog*>(widget); dialog && dialog->isVisible()) return dialog;
  return nullptr;
}

// Runs `act` on the dialog of type `Dialog` once it shows and `ready` holds for
// it; the polling timer belongs to `owner`.
template <class Dialog>
void WhenShown(
    QObject& owner, std::function<void(Dialog&)> act,
    std::function<bool(Dialog&)> ready = [](Dialog&) { return true; }) {
  auto* poll = new QTimer(&owner);
  QObject::connect(poll, &QTimer::timeout, [poll, act = std::move(act), ready = std::move(ready)] {
    if (Dialog* shown = ShownDialog<Dialog>(); shown && ready(*shown)) {
      poll->stop();
      act(*shown);
    }
  });
  poll->start(10);
}

}  // namespace qn::test
