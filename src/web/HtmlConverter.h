#pragma once

// Conversion: a saved page (or script) is copied with every recognised link value
// replaced by what the link converter returns for it. The scanner decides where
// the links are and how a replacement is put in; the converter decides what each
// link becomes.

#include <functional>
#include <istream>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>

#include "settings/ProjectSettings.h"
#include "web/Splice.h"

namespace qn {

// Relative links for offline browsing, or absolute local addresses for printing.
enum class QNLinkForm { Absolute = 0, Relative = 1 };

// One link value to convert: the value as written (tabs removed, entities kept),
// the base directory of the page, the path of the page's local file, whether the
// value is not an IMG tag's, and the form.
struct QNLinkToConvert {
  std::string_view value;
  std::string_view baseDirectory;
  std::string_view pagePath;
  bool notImage = true;
  QNLinkForm form = QNLinkForm::Relative;
};
// The replacement text, or nothing to leave the link as written.
using QNLinkConverter = std::function<std::optional<std::string>(const QNLinkToConvert&)>;

// The page being converted.
struct QNConvertPage {
  std::string_view address;        // the page's address (a POST form without action posts here)
  std::string_view baseDirectory;  // GetBaseDirectory of the address
  std::string_view localFile;      // the page's saved file, from which relative links start
  QNLinkForm form = QNLinkForm::Relative;
};

// Copies `in` to `out` converting every link; a BASE tag is commented out. In the
// absolute form "file://" is put in front of each replacement (backslashes become
// slashes), and a FRAME tag makes the conversion give up with false.
bool ConvertHtmlFile(std::istream& in, std::ostream& out, const QNConvertPage& page,
                     const CQNSettings& settings, const QNLinkConverter& convert);

// Copies a script converting its address-like quoted strings, line by line.
bool ConvertScriptFile(std::istream& in, std::ostream& out, const QNConvertPage& page,
                       const CQNSettings& settings, const QNLinkConverter& convert);

}  // namespace qn
