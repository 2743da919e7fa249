#pragma once

#include <string>

namespace qn {

// The folder of the running program file, ending with "/"; the current folder when
// the system cannot tell.
std::string ProgramFolder();

// Where the program keeps what the system writes into its own folder (the default
// download folder among it): the program folder when it is writable, otherwise the
// per-user data folder ~/.local/share/Lumbrook/Quillorne/. Ends with "/".
std::string WritableProgramFolder();

}  // namespace qn
