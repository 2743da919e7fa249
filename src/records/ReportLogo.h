#pragma once

#include <string>

namespace qn {

// The file name of the report's logo, written beside the report.
inline constexpr const char* kReportLogoName = "qnlogo.gif";

// The logo as the bytes of a GIF picture (a quill on a blue tile, 32 x 32).
std::string ReportLogoGif();

}  // namespace qn
