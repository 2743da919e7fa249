#pragma once

// Project files (".qnp"): the settings and the contents tree of a project as one
// sequential binary stream. Local files are stored relative to the project file's
// folder, so a project moved together with its download folder keeps its files;
// addresses are stored relative to the folder of the first start address.

#include <istream>
#include <string>

#include "project/FileMessages.h"
#include "records/DocTree.h"
#include "settings/ProjectSettings.h"

namespace qn {

constexpr const char* kProjectMagic = "Quillorne Project File v1.0";
constexpr const char* kProjectExtension = "qnp";

// The bytes of the project file at `projectPath`. Numbers the nodes in pre-order
// (their ordinal members) on the way; the tree is otherwise unchanged.
std::string FormatProject(const CQNSettings& settings, CQNDocTree& tree,
                          const std::string& projectPath);

// Saves the project so that the previous file survives any failure (see
// WriteFileSafely); false with the reason in `error` when the file was not written.
bool WriteProjectFile(const std::string& path, const CQNSettings& settings, CQNDocTree& tree,
                      std::string& error);

// Reads a project into `settings`, which should hold the defaults, and into `tree`,
// which is emptied first. A stream that ends (or is damaged) inside the magic, the
// first settings block or the tree is refused with 65074; one that ends in a later
// block is accepted, and whatever is missing keeps its default.
bool ReadProject(std::istream& in, const std::string& projectPath, CQNSettings& settings,
                 CQNDocTree& tree, const QNFileMessages& messages);

}  // namespace qn
