#include "app/StartCommand.h"

namespace qn {

QNStartCommand CommandAfterFirstOpen(const QNCommandLine& cmd, bool projectOpened) {
  if (cmd.projectFile.empty() || !(cmd.download || cmd.convert)) return QNStartCommand::kNone;
  if (!projectOpened)
    return cmd.exitAfter || cmd.shutdown ? QNStartCommand::kExitFailed : QNStartCommand::kNone;
  return cmd.download ? QNStartCommand::kStartDownload : QNStartCommand::kConvertLinks;
}

}  // namespace qn
