#pragma once

#include <string>
#include <string_view>

namespace qn {

// Replaces the file at `path` by `bytes` so that a failure at any moment leaves
// either the old file or the complete new one: the bytes go to a temporary file in
// the same folder, which is flushed to the disk and then renamed over the old file.
// On failure the old file is untouched, the temporary file is gone, `error` says
// why and the result is false.
bool WriteFileSafely(const std::string& path, std::string_view bytes, std::string& error);

}  // namespace qn
