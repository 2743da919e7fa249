#pragma once

// SIGTERM and SIGINT (a session that ends, Ctrl+C in the terminal that started the
// program) close the main window as the user would, so the project and the options
// are saved instead of lost.

#include <QObject>
#include <QSocketNotifier>
#include <functional>
#include <memory>

namespace qn {

class QNTerminationSignals : public QObject {
  Q_OBJECT

 public:
  // `close` runs on the GUI thread for each signal that arrives.
  explicit QNTerminationSignals(std::function<void()> close);
  ~QNTerminationSignals() override;

 private:
  std::function<void()> close_;
  std::unique_ptr<QSocketNotifier> notifier_;
};

}  // namespace qn
