#include "ui/CommandRules.h"

#include "records/DocTree.h"
#include "ui/CommandIds.h"

namespace qn {

bool CommandEnabled(int command, const QNCommandState& s) {
  const bool idle = !s.running && !s.busy;
  const bool open = s.projectOpen;
  const QNSelectionSummary& sel = s.selection;
  switch (command) {
    case kCmdNew:
    case kCmdOpen:
    case kCmdRecent1:
    case kCmdRecent1 + 1:
    case kCmdRecent1 + 2:
    case kCmdRecent1 + 3:
    case kCmdPrintContents:
      return idle;
    case kCmdClose:
    case kCmdCopyProject:
    case kCmdDeleteProject:
    case kCmdPreview:
    case kCmdConvertLinks:
      return open && idle;
    case kCmdSave:
    case kCmdSaveAs:
    case kCmdProjectSettings:
      return open && !s.busy;
    case kCmdPageSetup:
    case kCmdPrintPage:
      return s.pageShown && !s.busy;
    case kCmdPrintFolder:
      return open && idle && sel.count == 1 &&
             (sel.kind == kNodeFolder || (sel.kind == kNodeRoot && sel.hasChildren));
    case kCmdCut:
      return s.canCut;
    case kCmdCopy:
      return s.canCopy;
    case kCmdPaste:
      return s.canPaste;
    case kCmdStartDownload:
      return open && !s.busy && (!s.running || s.paused);
    case kCmdPauseDownload:
      return s.running && !s.paused;
    case kCmdStopDownload:
      return s.running;
    case kCmdDownloadBranch:
      return open && idle && sel.count == 1 && sel.kind == kNodeFolder;
    case kCmdAddUrlFilter:
    case kCmdSelectForDownload:
    case kCmdDeleteNode:
      return idle && sel.NonRootSelected();
    case kCmdAddFolder:
    case kCmdAddLink:
      return idle && sel.count > 0;
    case kCmdNodeProperties:
      return sel.count > 0;
    case kCmdGoBack:
      return s.canGoBack;
    case kCmdGoForward:
      return s.canGoForward;
    case kCmdShowReport:
      return open && s.reportExists;
    case kCmdFindInContents:
      return open;
    case kCmdWorkOffline:
      return !s.running;
    default:
      // The view, browser and help commands, the options and the schedule: always.
      return true;
  }
}

}  // namespace qn
