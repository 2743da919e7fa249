#pragma once

// Reading and writing the program options. Sections are read and written in one
// order: "Desktop", "Options", "ExOptions", the scheduler's "Schedule", then
// "Recent File List". A value that is missing or unreadable gives its default.

#include <QSettings>
#include <functional>
#include <memory>

#include "app/ProgramOptions.h"

namespace qn {

// Reads or writes the scheduler's section at its place in the order.
using QNSectionIo = std::function<void(QSettings&)>;

QNOptionSections LoadOptions(QSettings& settings, const QNScreenMetrics& screen,
                             const QNSectionIo& schedule = {});
void SaveOptions(QSettings& settings, const QNOptionSections& sections,
                 const QNSectionIo& schedule = {});

// The program's options file (organisation "Lumbrook", application "Quillorne").
// It holds scrambled passwords, so it is made readable by its owner only before
// anything is written to it.
std::unique_ptr<QSettings> OpenOptionsFile();
// The options as the file holds them, for a program that only reads them: a
// missing file is not made.
QNOptionSections ReadOptionsFile();

// Writes what `settings` holds to its file; false when the file cannot be written.
bool SyncOptionsFile(QSettings& settings);

}  // namespace qn
