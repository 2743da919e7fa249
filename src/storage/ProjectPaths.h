#pragma once

// Where the files of a project lie, as the copy, delete and encryption operations
// see them.

#include <optional>
#include <string>

#include "project/SavedFileBounds.h"

namespace qn {

struct CQNSettings;

// The files a document keeps paths for. An empty path means the file does not
// belong to the project (a project never saved, a project without a report).
struct QNProjectFiles {
  std::string project;
  std::string log;
  std::string report;
  std::string downloadFolder;  // where the saved files are (DownloadFolderOf)
};

// The archive of the downloaded files: the project file with ".qnz" for its
// extension; empty for a project without a file.
std::string DownloadArchivePath(const std::string& projectFile);

// The report's companion, its logo "qnlogo.gif" in the report's folder.
std::string ReportCompanionPath(const std::string& reportPath);

// The folder of a file's path (without a final separator); empty when none.
std::string FolderOf(const std::string& path);

// The name a file is stored under in an archive of saved files: its full path
// without the drive (the leading "/" here), with "/" as separator.
std::string EntryNameFor(const std::string& path);

// Where extracting the entry `name` below `root` writes, or nothing for an entry
// that would leave the root: a ".." component, an empty name, or a name that is
// nothing but separators. A leading separator is read as relative to the root.
std::optional<std::string> EntryTarget(const std::string& root, const std::string& name);

}  // namespace qn
