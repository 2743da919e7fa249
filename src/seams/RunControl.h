#pragma once

#include <array>
#include <atomic>
#include <cstdint>

namespace qn {

constexpr int kMaxWorkers = 100;

// Download kinds of a run.
constexpr int kKindNew = 1;
constexpr int kKindContinue = 2;
constexpr int kKindSelected = 4;
constexpr int kKindFailed = 8;

// The state of a download run that a transfer polls. The document implements it;
// the flags are set by the user-interface thread and read by the workers.
class IQNRunControl {
 public:
  virtual ~IQNRunControl() = default;
  virtual bool StopRequested() const = 0;
  // Asks the whole run to stop (a local file could not be written).
  virtual void RequestStop() = 0;
  // Reads and clears worker `worker`'s abort-file flag in one step.
  virtual bool TakeAbortFile(int worker) = 0;
  virtual int SpeedLevel() const = 0;  // 1 slow … 10 fast
  virtual int DownloadKind() const = 0;
  virtual bool IsPreview() const = 0;
  virtual std::uint64_t ByteTotal() const = 0;  // bytes saved by the run so far
};

// The plain set of run flags, for callers that hold no document.
class QNRunFlags : public IQNRunControl {
 public:
  std::atomic<bool> stopRequest{false};
  std::atomic<int> speedLevel{10};
  std::atomic<int> downloadKind{1};
  std::atomic<bool> preview{false};
  std::atomic<std::uint64_t> byteTotal{0};
  std::array<std::atomic<bool>, kMaxWorkers> abortFile{};

  bool StopRequested() const override { return stopRequest; }
  void RequestStop() override { stopRequest = true; }
  bool TakeAbortFile(int worker) override {
    return worker >= 0 && worker < kMaxWorkers && abortFile[worker].exchange(false);
  }
  void AbortFile(int worker) {
    if (worker >= 0 && worker < kMaxWorkers) abortFile[worker] = true;
  }
  int SpeedLevel() const override { return speedLevel; }
  int DownloadKind() const override { return downloadKind; }
  bool IsPreview() const override { return preview; }
  std::uint64_t ByteTotal() const override { return byteTotal; }
};

}  // namespace qn
