#pragma once

#include <functional>
#include <optional>
#include <string>

namespace qn {

// The answer to "The Project has been changed. Do you want to save it?".
enum class QNSaveAnswer { kSave, kDiscard, kCancel };

// What the application object asks of the front end that shows it. Called on the
// GUI thread only.
class IQNAppFrontEnd {
 public:
  virtual ~IQNAppFrontEnd() = default;
  // The question before a modified project is closed, with Yes, No and Cancel.
  virtual QNSaveAnswer AskSaveChanges(const std::string& text) = 0;
  // A file name for a project that has none yet; nothing when the user cancelled.
  virtual std::optional<std::string> AskSavePath() = 0;
  // Ends the program as closing the main window does (the project is closed first,
  // which may save it); `exitStatus` is the program's exit status.
  virtual void RequestClose(int exitStatus) = 0;
  // The program itself (the scheduler) closed the project and opened another: the
  // window shows it. The front end calls CQNApp::ContentsReady at the tree-ready
  // moment that follows (IQNObserver::OnTreeReady).
  virtual void ProjectOpened() = 0;
  // A scheduled download is about to start: the window is restored and shown.
  virtual void RestoreWindow() = 0;
  // Runs `stop`, a forced stop that may wait for a run's threads up to its limit,
  // and returns once it has ended; `text` says what the program waits for. A front
  // end with windows keeps them alive meanwhile; without one it simply runs here.
  virtual void WaitForStop(const std::string& /*text*/, const std::function<void()>& stop) {
    stop();
  }
};

}  // namespace qn
