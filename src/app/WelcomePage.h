#pragma once

#include <string>

namespace qn {

// The page shown at start: the files of the data folder `sourceFolder` are copied
// into "_QNwelcome" under `writableFolder` (existing files are overwritten), where
// the page view finds them. The path of its "Welcome.htm", or "" when it could not
// be written (the program then starts without it).
std::string WriteWelcomePage(const std::string& sourceFolder, const std::string& writableFolder);

}  // namespace qn
