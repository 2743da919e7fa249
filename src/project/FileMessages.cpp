#include "project/FileMessages.h"

#include "seams/LogSink.h"
#include "seams/Observer.h"
#include "text/MessageIds.h"

namespace qn {

void QNFileMessages::Show(int id, const std::string& path) const {
  if (observer) observer->ShowMessage(id, texts.Format(id, path));
}

void QNFileMessages::ReadError(const std::string& path) const {
  if (unattendedLog)
    unattendedLog->WriteLine(LogKind::Text, texts.Format(kMsgReadError, path));
  else
    Show(kMsgReadError, path);
}

bool QNFileMessages::ConfirmReplace(const std::string& projectPath) const {
  const bool replace =
      observer && observer->AskYesNo(kMsgAskReplaceProject,
                                     texts.Format(kMsgAskReplaceProject, projectPath), false);
  if (!replace && unattendedLog) Show(kMsgProjectNotReplaced, projectPath);
  return replace;
}

}  // namespace qn
