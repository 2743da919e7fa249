#pragma once

// Opening a page in the user's own browser, and the mail to the maker.

#include <functional>
#include <string>
#include <vector>

#include "app/DesktopServices.h"
#include "app/EnvironmentLookup.h"

namespace qn {

// Starts a program in the background with an argument list, never through a shell;
// false when it could not be started.
using QNProgramStarter =
    std::function<bool(const std::string& program, const std::vector<std::string>& args)>;

struct QNBrowserLaunch {
  IQNDesktopServices* desktop = nullptr;
  QNProgramStarter start;
  QNEnvironmentLookup getenv;
  std::string currentFolder;  // what a relative local path is taken from
};

// The address a browser is given: an address with a scheme stays as it is; a local
// path (also one in a "file:" address) becomes an absolute, escaped "file:///"
// address, so that no target can pass for an option of the browser.
std::string BrowserAddress(const std::string& target, const std::string& currentFolder);

// Tries the desktop's handler, then each command of $BROWSER (a list separated by
// ":", "%s" standing for the address, which is otherwise the last argument), then
// x-www-browser. False when none of them started.
bool OpenInExternalBrowser(const std::string& target, const QNBrowserLaunch& launch);

// Starts `program` detached from this process (QProcess).
bool StartDetached(const std::string& program, const std::vector<std::string>& args);

// The maker's web site and support mail address.
extern const char* const kMakerWebSite;
extern const char* const kMakerMailAddress;

// Opens a new mail to the maker with `subject` in the user's mail program. The id of
// the message to show when that failed, or 0.
int ComposeContactMail(IQNDesktopServices& desktop, const std::string& subject);

}  // namespace qn
