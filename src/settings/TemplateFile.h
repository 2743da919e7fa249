#pragma once

// Template files (".qnt"): the settings of a project as readable lines of a key and
// a value, without a contents tree. Lines end in "\r\n" on every platform; the
// reader accepts "\n" alone as well.

#include <istream>
#include <string>

#include "settings/ProjectSettings.h"

namespace qn {

constexpr const char* kTemplateExtension = "qnt";

// The text of a template holding `settings`.
std::string FormatTemplate(const CQNSettings& settings);
// Writes the template safely (the previous file survives a failed write); false
// with the reason in `error` when the file cannot be written.
bool WriteTemplateFile(const std::string& path, const CQNSettings& settings, std::string& error);

// Applies the lines of a template to `settings`; every setting the template does not
// mention keeps its value. True when at least one line carried a known key and no
// value was refused.
bool ReadTemplate(std::istream& in, CQNSettings& settings);
// The same for a file; false as well when it cannot be opened.
bool ReadTemplateFile(const std::string& path, CQNSettings& settings);

}  // namespace qn
