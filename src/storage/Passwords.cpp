#include "storage/Passwords.h"

#include "seams/Messenger.h"
#include "seams/Observer.h"
#include "settings/ProjectSettings.h"
#include "text/MessageIds.h"

namespace qn {

namespace {
constexpr int kAttempts = 3;
}

int CheckPrivacyPassword(bool encryptionOn, const std::string& password,
                         const std::string& confirmation, bool unchanged) {
  if (!encryptionOn) return 0;
  if (password.empty()) return kMsgNeedPassword;
  if (unchanged) return 0;
  if (confirmation.empty()) return kMsgNeedConfirmation;
  if (password != confirmation) return kMsgConfirmFailed;
  return 0;
}

bool IsAsciiPassword(const std::string& password) {
  for (const char c : password)
    if (static_cast<unsigned char>(c) > 127) return false;
  return true;
}

std::optional<std::string> AskPassword(const QNMessenger& messenger) {
  for (int attempt = 0; attempt < kAttempts; ++attempt) {
    std::optional<std::string> answer = messenger.observer.AskPassword();
    if (!answer || IsAsciiPassword(*answer)) return answer;
    messenger.Show(kMsgPasswordNotAscii);
  }
  return std::nullopt;
}

bool ObtainPassword(CQNSettings& settings, const QNMessenger& messenger, int cancelId) {
  if (!settings.EncryptionPassword.empty()) return true;
  std::optional<std::string> answer = AskPassword(messenger);
  if (!answer) {
    messenger.Show(cancelId);
    return false;
  }
  settings.EncryptionPassword = std::move(*answer);
  return true;
}

}  // namespace qn
