#pragma once

#include <string>

namespace qn {

// The page shown at start: the files of the data folder `sourceFolder` are copied
// into "_QNwelcome" under `writableFolder` (existing files are overwritten), where
// the page view finds them. The path of the page in the chosen language
// ("Welcome.German.htm" for the language file "German.qlg") when the folder has one,
// else of "Welcome.htm"; "" when it could not be written (the program then starts
// without it).
std::string WriteWelcomePage(const std::string& sourceFolder, const std::string& writableFolder,
                             const std::string& languageFile = {});

}  // namespace qn
