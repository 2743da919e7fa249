#pragma once

// Helpers shared by the scanner tests: a sink that records what the scanner
// reports, and scans of in-memory pages.

#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "settings/ProjectSettings.h"
#include "web/FlashScanner.h"
#include "web/HtmlConverter.h"
#include "web/HtmlScanner.h"
#include "web/LinkSink.h"
#include "web/ScriptScanner.h"
#include "web/TagTable.h"

namespace qn::test {

struct RecordingSink : IQNLinkSink {
  std::vector<QNScannedLink> links;
  std::vector<std::string> titles;
  int analyzing = 0;
  int analysed = 0;

  void AddFoundLink(const QNScannedLink& link) override { links.push_back(link); }
  void OnPageTitle(const std::string& title) override { titles.push_back(title); }
  void OnAnalyzing() override { ++analyzing; }
  void OnAnalysed() override { ++analysed; }

  // The cleaned values of the links, BASE values left out.
  std::vector<std::string> Texts() const {
    std::vector<std::string> texts;
    for (const QNScannedLink& link : links)
      if (link.tag != kTagBaseHref) texts.push_back(link.text);
    return texts;
  }
  std::vector<std::string> Addresses() const {
    std::vector<std::string> addresses;
    for (const QNScannedLink& link : links)
      if (link.tag != kTagBaseHref) addresses.push_back(link.address);
    return addresses;
  }
  bool HasText(std::string_view text) const {
    for (const QNScannedLink& link : links)
      if (link.text == text) return true;
    return false;
  }
};

inline constexpr std::string_view kPageAddress = "http://host/dir/page.htm";

inline RecordingSink ScanPage(std::string_view html, const CQNSettings& settings = {},
                              std::string_view address = kPageAddress,
                              const QNScanControl& control = {}) {
  RecordingSink sink;
  std::istringstream in{std::string(html)};
  ScanHtml(in, address, settings, control, sink);
  return sink;
}

// Disables the extension entry `name` in every list.
inline void DisableExtension(CQNSettings& settings, std::string_view name) {
  for (ExtList& list : settings.QN_FILE_EXT)
    for (CQNExtEntry& entry : list)
      if (entry.extension == name) entry.enabled = 0;
}

// A converter that prefixes every value with "L/" and records what it was given.
struct PrefixConverter {
  std::vector<QNLinkToConvert> calls;
  std::vector<std::string> values;
  // The base directory of each call: the conversion's own, valid only during it.
  std::vector<std::string> bases;
  QNLinkConverter Function() {
    return [this](const QNLinkToConvert& link) -> std::optional<std::string> {
      calls.push_back(link);
      values.emplace_back(link.value);
      bases.emplace_back(link.baseDirectory);
      return "L/" + std::string(link.value);
    };
  }
};

inline std::string ConvertPage(std::string_view html, const QNLinkConverter& convert,
                               QNLinkForm form = QNLinkForm::Relative, bool* result = nullptr,
                               const CQNSettings& settings = {}) {
  std::istringstream in{std::string(html)};
  std::ostringstream out;
  const QNConvertPage page{kPageAddress, "http://host/dir/", "/site/dir/page.htm", form};
  const bool ok = ConvertHtmlFile(in, out, page, settings, convert);
  if (result) *result = ok;
  return out.str();
}

}  // namespace qn::test
