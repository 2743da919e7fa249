#pragma once

// What quillorne-cli shows: on a terminal one progress line, redrawn by the main
// loop, with the log's lines printed above it; off a terminal only the log's lines.
// Messages go to standard error. Safe to call from any thread.

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <mutex>
#include <optional>
#include <string>

#include "seams/Observer.h"
#include "text/Texts.h"

namespace qn {

struct QNProgress {
  int files = 0;
  std::int64_t bytes = 0;
  int links = 0;
};

class QNCliOutput : public IQNObserver {
 public:
  QNCliOutput(std::FILE* out, std::FILE* err, bool terminal, QNTexts texts);

  bool Terminal() const { return terminal_; }
  // Redraws the progress line (on a terminal only).
  void Progress(const QNProgress& progress);
  // Removes the progress line for good.
  void Finish();
  void Error(const std::string& text);

  void OnStatus(const QNStatus& status) override;
  void OnLogText(const std::string& text) override;
  void ShowMessage(int id, const std::string& text) override;
  void ShowWait(const std::string& text, bool shown) override;
  // A forced stop cancels the countdown a run waits on.
  void CancelQuestions() override { CancelCountdown(); }
  // The same on the thread that watches for Ctrl+C itself: `cancelledWithinSecond`
  // waits a second and tells whether the user cancelled meanwhile.
  bool CountdownWatching(const std::string& format, int seconds,
                         const std::function<bool()>& cancelledWithinSecond);

  // Whether a countdown is being shown; the main loop turns Ctrl+C into a cancel then.
  bool CountdownShown();
  void CancelCountdown();

 protected:
  // QUILLORNE_PASSWORD, or the password typed on the terminal.
  std::optional<std::string> DoAskPassword() override;
  // On a terminal the seconds are counted down on the progress line until they run
  // out or CancelCountdown is called; off a terminal the countdown confirms itself.
  bool DoCountdown(const std::string& format, int seconds) override;

 private:
  // Waits about a second with the lock held on entry and exit; true when cancelled.
  using SecondWait = std::function<bool(std::unique_lock<std::mutex>&)>;
  bool CountDown(const std::string& format, int seconds, const SecondWait& wait);
  void ClearLineLocked();
  void DrawLocked(std::string line);

  const QNTexts texts_;
  std::FILE* out_;
  std::FILE* err_;
  const bool terminal_;
  std::mutex mutex_;
  bool lineShown_ = false;
  std::string current_;  // the latest of a worker's address and the status line
  bool progressShown_ = false;
  bool countdownShown_ = false;
  bool countdownCancelled_ = false;
  std::condition_variable countdownChanged_;
  std::int64_t lastBytes_ = -1;
  std::chrono::steady_clock::time_point lastTime_;
  double speed_ = 0;  // bytes per second, smoothed
};

// "12.3 MB/s" style, for the progress line.
std::string FormatSpeed(const QNTexts& texts, double bytesPerSecond);

}  // namespace qn
