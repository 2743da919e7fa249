#include "project/FileMessages.h"

#include "seams/LogSink.h"
#include "seams/Observer.h"
#include "text/StringTable.h"

namespace qn {
namespace {
constexpr int kReadErrorId = 65074;
}

void QNFileMessages::Show(int id, const std::string& path) const {
  if (observer) observer->ShowMessage(id, FormatText(BuiltinString(id), path.c_str()));
}

void QNFileMessages::ReadError(const std::string& path) const {
  if (unattendedLog)
    unattendedLog->WriteLine(LogKind::Text, FormatText(BuiltinString(kReadErrorId), path.c_str()));
  else
    Show(kReadErrorId, path);
}

}  // namespace qn
