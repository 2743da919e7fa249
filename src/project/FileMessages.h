#pragma once

#include <string>

#include "text/Texts.h"

namespace qn {

class IQNObserver;
class IQNLogSink;

// Where the project and template files report trouble: message boxes go to the
// observer, which the desktop program shows and the headless front end prints.
// During an unattended run (command line or scheduler) a damaged project file is
// reported in the download log instead.
struct QNFileMessages {
  IQNObserver* observer = nullptr;
  IQNLogSink* unattendedLog = nullptr;
  QNTexts texts;

  // Message `id` with the path in its "%s".
  void Show(int id, const std::string& path) const;
  // 65074 " Error reading file '%s'": in the log when unattended, else a message box.
  void ReadError(const std::string& path) const;
  // Whether a template may open as the project `projectPath`, which exists already
  // and would be replaced by the next save. The observer is asked, No preselected;
  // when unattended the refusal is then reported with its reason.
  bool ConfirmReplace(const std::string& projectPath) const;
};

}  // namespace qn
