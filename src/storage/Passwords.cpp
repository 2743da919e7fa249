#include "storage/Passwords.h"

#include "seams/Observer.h"
#include "settings/ProjectSettings.h"
#include "storage/StorageMessages.h"

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

std::optional<std::string> AskPassword(IQNObserver& observer) {
  for (int attempt = 0; attempt < kAttempts; ++attempt) {
    std::optional<std::string> answer = observer.AskPassword();
    if (!answer || IsAsciiPassword(*answer)) return answer;
    ShowStorageMessage(observer, kMsgPasswordNotAscii);
  }
  return std::nullopt;
}

bool ObtainPassword(CQNSettings& settings, IQNObserver& observer, int cancelId) {
  if (!settings.EncryptionPassword.empty()) return true;
  std::optional<std::string> answer = AskPassword(observer);
  if (!answer) {
    ShowStorageMessage(observer, cancelId);
    return false;
  }
  settings.EncryptionPassword = std::move(*answer);
  return true;
}

}  // namespace qn
