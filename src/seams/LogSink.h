#pragma once

#include <string>

namespace qn {

// Kinds of log entries; their exact texts are made by the download log.
enum class LogKind : int { Started = 0, Completed = 1, Stopped = 2, Summary = 3, Text = 4 };

// Where the engine's log lines go. The download log writes them to the project's
// log file; tests record them. Safe to call from any thread.
class IQNLogSink {
 public:
  virtual ~IQNLogSink() = default;
  virtual void WriteLine(LogKind kind, const std::string& text) = 0;
};

}  // namespace qn
