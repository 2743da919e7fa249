#pragma once

// The messages of the project operations and the small window shown while one runs.

#include <string>

namespace qn {

class IQNObserver;

constexpr int kMsgDeleteDownloadedToo = 65054;
constexpr int kMsgNeedPassword = 65153;
constexpr int kMsgNeedConfirmation = 65154;
constexpr int kMsgConfirmFailed = 65155;
constexpr int kMsgEncryptingProject = 65156;
constexpr int kMsgDecryptingProject = 65157;
constexpr int kMsgEncryptingDownloads = 65158;
constexpr int kMsgDecryptingDownloads = 65159;
constexpr int kMsgEncryptDownloadsFailed = 65160;
constexpr int kMsgDecryptDownloadsFailed = 65161;
constexpr int kMsgEncryptProjectFailed = 65162;
constexpr int kMsgDecryptProjectFailed = 65163;
constexpr int kMsgPasswordNotAscii = 65164;
constexpr int kMsgDownloadsStayEncrypted = 65165;
constexpr int kMsgProjectStaysEncrypted = 65166;
constexpr int kMsgCopyFailed = 65168;
constexpr int kMsgCopyToOriginal = 65169;
constexpr int kMsgCopyFilesFailed = 65170;
constexpr int kMsgCopying = 65178;

// Shows the message box of `id` with its built-in text.
void ShowStorageMessage(IQNObserver& observer, int id);

// The small window with the text of `id`, shown for the lifetime of the object.
class QNWaitNote {
 public:
  QNWaitNote(IQNObserver& observer, int id);
  ~QNWaitNote();
  QNWaitNote(const QNWaitNote&) = delete;
  QNWaitNote& operator=(const QNWaitNote&) = delete;

 private:
  IQNObserver& observer_;
  std::string text_;
};

}  // namespace qn
