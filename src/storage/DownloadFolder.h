#pragma once

#include <ctime>
#include <string>
#include <string_view>

namespace qn {

struct CQNSettings;

// The project folder with its date and time fields filled in from `now`: every
// "[%d]" becomes month, day and two-digit year ("030701" for 7 March 2001) and every
// "[%t]" hours, minutes and seconds ("14_05_09"). A final separator is added to a
// folder that is not empty.
std::string ExpandDownloadDir(std::string_view projectDir, const std::tm& now);

// The root under which local files are named: DownloadDir, or the program folder
// when DownloadDir is empty, always ending with a separator.
std::string DownloadRoot(const CQNSettings& settings, std::string_view programDir);

}  // namespace qn
