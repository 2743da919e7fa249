#include "cli/CliOutput.h"

#include <sys/ioctl.h>
#include <unistd.h>

#include "cli/PasswordPrompt.h"
#include "text/SizeText.h"

namespace qn {
namespace {

constexpr std::size_t kDefaultWidth = 80;
constexpr double kSmoothing = 0.3;

std::size_t TerminalWidth(std::FILE* stream) {
  winsize size{};
  if (ioctl(fileno(stream), TIOCGWINSZ, &size) == 0 && size.ws_col > 0) return size.ws_col;
  return kDefaultWidth;
}

std::uint64_t NotNegative(std::int64_t n) {
  return n < 0 ? 0 : static_cast<std::uint64_t>(n);
}

}  // namespace

std::string FormatSpeed(const QNTexts& texts, double bytesPerSecond) {
  return FormatSizeText(texts, NotNegative(static_cast<std::int64_t>(bytesPerSecond))) + "/s";
}

QNCliOutput::QNCliOutput(std::FILE* out, std::FILE* err, bool terminal, QNTexts texts)
    : texts_(std::move(texts)),
      out_(out),
      err_(err),
      terminal_(terminal),
      lastTime_(std::chrono::steady_clock::now()) {}

void QNCliOutput::ClearLineLocked() {
  if (!lineShown_) return;
  std::fputs("\r\033[K", out_);
  lineShown_ = false;
}

void QNCliOutput::Progress(const QNProgress& progress) {
  std::lock_guard lock(mutex_);
  const auto now = std::chrono::steady_clock::now();
  const double seconds = std::chrono::duration<double>(now - lastTime_).count();
  if (lastBytes_ >= 0 && seconds > 0) {
    const double rate = static_cast<double>(progress.bytes - lastBytes_) / seconds;
    speed_ = speed_ * (1 - kSmoothing) + (rate > 0 ? rate : 0) * kSmoothing;
  }
  lastBytes_ = progress.bytes;
  lastTime_ = now;
  progressShown_ = true;
  if (!terminal_ || countdownShown_) return;
  DrawLocked(std::to_string(progress.files) + " files  " +
             FormatSizeText(texts_, NotNegative(progress.bytes)) + "  " +
             FormatSpeed(texts_, speed_) + "  " + std::to_string(progress.links) + " links  " +
             current_);
}

void QNCliOutput::DrawLocked(std::string line) {
  const std::size_t width = TerminalWidth(out_);
  if (line.size() >= width) line.resize(width - 1);
  std::fputs("\r\033[K", out_);
  std::fputs(line.c_str(), out_);
  std::fflush(out_);
  lineShown_ = true;
}

void QNCliOutput::Finish() {
  std::lock_guard lock(mutex_);
  ClearLineLocked();
  std::fflush(out_);
}

void QNCliOutput::Error(const std::string& text) {
  std::lock_guard lock(mutex_);
  ClearLineLocked();
  std::fflush(out_);
  std::fprintf(err_, "quillorne-cli: %s\n", text.c_str());
  std::fflush(err_);
}

void QNCliOutput::OnStatus(const QNStatus& status) {
  std::lock_guard lock(mutex_);
  if ((status.mask & QNStatus::kText1) && !status.text1.empty()) current_ = status.text1;
  if (!(status.mask & QNStatus::kStatusText) || status.text3.empty()) return;
  current_ = status.text3;
  // Work without a progress loop (converting links on command) shows its status
  // line at once.
  if (terminal_ && !progressShown_ && !countdownShown_) DrawLocked(current_);
}

void QNCliOutput::OnLogText(const std::string& text) {
  std::lock_guard lock(mutex_);
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find_first_of("\r\n", start);
    if (end == std::string::npos) end = text.size();
    if (end > start) {
      ClearLineLocked();
      std::fwrite(text.data() + start, 1, end - start, out_);
      std::fputc('\n', out_);
    }
    start = end + 1;
  }
  std::fflush(out_);
}

void QNCliOutput::ShowMessage(int, const std::string& text) {
  Error(text);
}

void QNCliOutput::ShowWait(const std::string& text, bool shown) {
  if (shown) Error(text);
}

bool QNCliOutput::DoCountdown(const std::string& format, int seconds) {
  return CountDown(format, seconds, [this](std::unique_lock<std::mutex>& lock) {
    countdownChanged_.wait_for(lock, std::chrono::seconds(1),
                               [this] { return countdownCancelled_; });
    return countdownCancelled_;
  });
}

bool QNCliOutput::CountdownWatching(const std::string& format, int seconds,
                                    const std::function<bool()>& cancelledWithinSecond) {
  return CountDown(format, seconds, [&](std::unique_lock<std::mutex>& lock) {
    lock.unlock();
    const bool cancelled = cancelledWithinSecond();
    lock.lock();
    return cancelled;
  });
}

bool QNCliOutput::CountDown(const std::string& format, int seconds, const SecondWait& wait) {
  std::unique_lock lock(mutex_);
  if (!terminal_) return true;
  countdownShown_ = true;
  countdownCancelled_ = false;
  bool cancelled = false;
  int left = seconds;
  for (; left > 0 && !cancelled; --left) {
    DrawLocked(FillText(format, left) + "  (Ctrl+C: cancel)");
    cancelled = wait(lock);
  }
  countdownShown_ = false;
  ClearLineLocked();
  if (!cancelled) return true;
  std::fflush(out_);
  std::fputs(("quillorne-cli: cancelled: " + FillText(format, left + 1) + "\n").c_str(), err_);
  std::fflush(err_);
  return false;
}

bool QNCliOutput::CountdownShown() {
  std::lock_guard lock(mutex_);
  return countdownShown_;
}

void QNCliOutput::CancelCountdown() {
  {
    std::lock_guard lock(mutex_);
    countdownCancelled_ = true;
  }
  countdownChanged_.notify_all();
}

std::optional<std::string> QNCliOutput::DoAskPassword() {
  std::lock_guard lock(mutex_);
  ClearLineLocked();
  return ReadPassword();
}

}  // namespace qn
