#pragma once

#include <optional>
#include <string>

namespace qn {

// The environment variable that answers the password question in unattended runs.
constexpr const char* kPasswordVariable = "QUILLORNE_PASSWORD";

// The password from QUILLORNE_PASSWORD, or else typed on the terminal without echo
// (the prompt goes to standard error); nothing when neither is there.
std::optional<std::string> ReadPassword();

// The first line of a file, without its line end; nothing when it cannot be read.
std::optional<std::string> ReadPasswordFile(const std::string& path);

}  // namespace qn
