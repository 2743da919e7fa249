#include "web/LinkReporter.h"

#include <algorithm>

#include "web/Address.h"
#include "web/EntityTable.h"
#include "web/TagTable.h"
#include "web/ValueRules.h"

namespace qn {
namespace {

// Decoding never makes a value longer and no named entity is longer than eight
// characters, so this much of a value decides the 1039 characters that are kept
// (short of a "&#" number whose ";" stands thousands of characters away).
constexpr std::size_t kDecodeWindow = 16 * kMaxLinkLength;

}  // namespace

std::optional<std::string> CleanLinkValue(std::string_view value) {
  std::string text(value.substr(0, kDecodeWindow));
  DecodeEntities(text);
  if (text.find('\0') != std::string::npos) return std::nullopt;
  text.erase(std::remove(text.begin(), text.end(), '\t'), text.end());
  if (text.size() > kMaxLinkLength) text.resize(kMaxLinkLength);
  return text;
}

std::optional<std::string> BaseFromValue(const std::string& value, std::string_view baseDirectory,
                                         std::string_view documentAddress) {
  // Either would otherwise send every later link to a made-up server.
  if (value.empty()) return std::nullopt;
  return IsAbsoluteAddress(value) ? value : ResolveLink(value, baseDirectory, documentAddress);
}

QNLinkReporter::QNLinkReporter(std::string_view documentAddress, std::string_view baseDirectory,
                               IQNLinkSink& sink)
    : document_(documentAddress), base_(baseDirectory), sink_(sink) {}

void QNLinkReporter::Report(std::string_view value, int tag) {
  auto cleaned = CleanLinkValue(value);
  if (!cleaned) return;
  std::string text = std::move(*cleaned);
  if (tag == kTagBaseHref) {
    const std::optional<std::string> base = BaseFromValue(text, base_, document_);
    if (!base) return;
    base_ = GetBaseDirectory(*base);
    sink_.AddFoundLink(QNScannedLink{*base, *base, {}, tag});
    return;
  }
  std::string address = ResolveLink(text, base_, document_);
  if (!IsFetchableLink(text)) return;
  std::string title = GetFileName(text);
  if (title.empty()) title = CutToBuffer(address);
  sink_.AddFoundLink(QNScannedLink{std::move(text), std::move(address), std::move(title), tag});
}

}  // namespace qn
