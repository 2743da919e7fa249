#pragma once

#include <string>
#include <vector>

namespace qn {

// The folder of the running program file, ending with "/"; the current folder when
// the system cannot tell.
std::string ProgramFolder();

// Where the program keeps what the system writes into its own folder (the default
// download folder, the welcome page): the program folder when it is writable and
// the program is not an installed one, otherwise the per-user data folder
// ($XDG_DATA_HOME or ~/.local/share, then Lumbrook/Quillorne/). Ends with "/".
std::string WritableProgramFolder();

// The folders read-only data (the welcome page's files, "Language.ini", language
// files) is looked up in, in order: the program folder, the data folder of the
// installation the program belongs to (bin/../share/quillorne/), and the data folder
// the build was made to be installed into. Each ends with "/".
std::vector<std::string> DataFolders();

// The first of the data folders that holds `name` (a file or a folder), joined with
// it; "" when none does.
std::string FindDataFile(const std::string& name);

}  // namespace qn
