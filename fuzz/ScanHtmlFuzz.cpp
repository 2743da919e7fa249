// Feeds arbitrary bytes to every scan of downloaded files: discovery in pages,
// scripts and binaries, and conversion of pages and scripts. A conversion whose
// converter refuses every link must give back the input byte for byte (a page
// without BASE tags, which conversion always comments out).
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

#include "web/Address.h"
#include "web/FlashScanner.h"
#include "web/HtmlConverter.h"
#include "web/HtmlScanner.h"
#include "web/ScanText.h"
#include "web/ScriptScanner.h"

namespace {

struct CountingSink : qn::IQNLinkSink {
  std::size_t links = 0;
  void AddFoundLink(const qn::QNScannedLink& link) override {
    if (link.text.size() > qn::kMaxAddressLength) std::abort();
    ++links;
  }
};

const qn::CQNSettings& Settings() {
  static const qn::CQNSettings settings = [] {
    qn::CQNSettings s;
    s.ProcessForms = 1;
    s.SubmitLoginForms = 1;
    s.QN_USER_ID = "user";
    s.QN_PASSWORD = "secret";
    return s;
  }();
  return settings;
}

std::string Convert(const std::string& bytes, qn::QNLinkForm form, bool script,
                    const qn::QNLinkConverter& convert) {
  std::istringstream in(bytes);
  std::ostringstream out;
  const qn::QNConvertPage page{"http://host/dir/page.htm?x=1", "http://host/dir/",
                               "/site/dir/page.htm", form};
  if (script)
    qn::ConvertScriptFile(in, out, page, Settings(), convert);
  else
    qn::ConvertHtmlFile(in, out, page, Settings(), convert);
  return out.str();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  const std::string address = "http://host/dir/page.htm?x=1";
  CountingSink sink;
  {
    std::istringstream in(bytes);
    qn::ScanHtml(in, address, Settings(), {}, sink);
  }
  {
    std::istringstream in(bytes);
    qn::ScanScript(in, address, Settings(), {}, sink);
  }
  {
    std::istringstream in(bytes);
    qn::ScanBinary(in, bytes.size(), address, Settings(), {}, sink);
  }

  const qn::QNLinkConverter refuse = [](const qn::QNLinkToConvert&) {
    return std::optional<std::string>();
  };
  const bool hasBase = qn::SearchNoCase(bytes, "<BASE", 0) != std::string::npos;
  if (!hasBase && Convert(bytes, qn::QNLinkForm::Relative, false, refuse) != bytes) std::abort();
  if (Convert(bytes, qn::QNLinkForm::Relative, true, refuse) != bytes) std::abort();
  const qn::QNLinkConverter local = [](const qn::QNLinkToConvert& link) {
    return std::optional<std::string>("local\\" + std::string(link.value) + "#x");
  };
  Convert(bytes, qn::QNLinkForm::Relative, false, local);
  Convert(bytes, qn::QNLinkForm::Absolute, false, local);
  Convert(bytes, qn::QNLinkForm::Relative, true, local);
  return 0;
}
