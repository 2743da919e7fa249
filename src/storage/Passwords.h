#pragma once

// The password rules of the encrypted archives.

#include <optional>
#include <string>

namespace qn {

struct QNMessenger;
struct CQNSettings;

// The Privacy page's check: 0 when the entries may be kept, otherwise the id of the
// message to show (65153 no password, 65154 no confirmation, 65155 they differ).
// A password left unchanged needs no confirmation.
int CheckPrivacyPassword(bool encryptionOn, const std::string& password,
                         const std::string& confirmation, bool unchanged);

// Whether every character of the password has a code of at most 127.
bool IsAsciiPassword(const std::string& password);

// The "Enter Password" dialog through the observer: a password with a character
// above 127 is refused with 65164 and asked again. Nothing for "Cancel"; three
// refused answers count as "Cancel", so a scripted answer cannot loop for ever.
std::optional<std::string> AskPassword(const QNMessenger& messenger);

// The password for reading encrypted entries: EncryptionPassword, or when that is
// empty the dialog's answer, which then becomes EncryptionPassword. "Cancel" shows
// the information `cancelId` and gives false.
bool ObtainPassword(CQNSettings& settings, const QNMessenger& messenger, int cancelId);

}  // namespace qn
