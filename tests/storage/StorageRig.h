#pragma once

// Shared pieces of the project-operation tests: an observer that records messages
// and answers the password dialog from a list, a small project on disk, and the
// standard ZIP tools when the machine has them.

#include <deque>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "records/DocTree.h"
#include "seams/Messenger.h"
#include "settings/ProjectSettings.h"
#include "storage/ProjectPaths.h"
#include "support/TempDir.h"

namespace qn::test {

class RecordingObserver : public IQNObserver {
 public:
  void ShowMessage(int id, const std::string&) override { messages.push_back(id); }
  std::optional<std::string> DoAskPassword() override {
    ++passwordQuestions;
    if (answers.empty()) return std::nullopt;
    std::optional<std::string> answer = answers.front();
    answers.pop_front();
    return answer;
  }
  void ShowWait(const std::string& text, bool shown) override {
    if (shown) waits.push_back(text);
  }
  bool DoAskYesNo(int id, const std::string&, bool preselectYes) override {
    messages.push_back(id);
    return yes.value_or(preselectYes);
  }
  // The operations talk to this observer with the built-in texts.
  operator QNMessenger() { return {*this, QNTexts()}; }

  std::vector<int> messages;
  std::vector<std::string> waits;
  std::deque<std::optional<std::string>> answers;
  std::optional<bool> yes;
  int passwordQuestions = 0;
};

// A saved project in `dir`/project: a project file, its log, a report with its logo
// and three saved pages linked from the tree, in tree order www/index.htm,
// www/about.htm and www/img/a.gif, followed by a link without a file.
struct SampleProject {
  explicit SampleProject(const std::filesystem::path& dir);
  std::string Folder() const { return (root / "project").string(); }
  std::vector<std::string> SavedFiles() const;

  std::filesystem::path root;
  QNProjectFiles files;
  CQNSettings settings;
  CQNDocTree tree;
};

// Runs a shell command and returns its exit status.
int RunShell(const std::string& command);
bool HaveUnzip();
bool HavePython();
std::string Quote(const std::string& s);

}  // namespace qn::test
