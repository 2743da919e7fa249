#pragma once

// Fixed ids of the small windows the program puts up on its own: the password
// question and the wait window. The table is in docs/resource-ids.md.

namespace qn {

enum QNPromptDialogId : int {
  kDlgPassword = 400,
  kDlgWait = 401,
};

enum QNPromptControlId : int {
  kIdcPasswordEntry = 1600,
};

}  // namespace qn
