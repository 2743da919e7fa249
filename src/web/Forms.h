#pragma once

// Forms become addresses the engine can queue: a POST form's drop-down list gives
// one submission per option, a login form one submission with the project's user
// name and password. A submission address is the form's action, a marker and the
// body to post; the fetcher splits it again and sends a POST request.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "web/ScanText.h"
#include "web/TagHandlers.h"
#include "web/ValueRules.h"

namespace qn {

constexpr std::string_view kPostMarker = "?qnpost.";
constexpr std::string_view kLoginMarker = "?qnlogin.";

// True for a form submission address, whose answer is a page.
inline bool IsSubmissionAddress(std::string_view address) {
  return address.find(kPostMarker) != std::string_view::npos ||
         address.find(kLoginMarker) != std::string_view::npos;
}
// Names, types and values of login inputs keep at most this many characters.
constexpr std::size_t kMaxInputText = 127;

// The handler of FORM: [from, to) is the text between "<FORM" and "/FORM>".
void ReadFormValues(QNScanText& text, std::size_t from, std::size_t to,
                    const QNHandlerContext& context, QNTagValues& out);

// One named INPUT of a login form.
struct QNFormInput {
  std::string name;
  std::string type;
  std::string value;
};
// The named INPUT tags of a form text in order; an INPUT without a name, or
// without its ">", ends the collection.
std::vector<QNFormInput> CollectFormInputs(QNScanText& text, std::size_t from, std::size_t to);
// The body of a login submission, or nothing when the inputs hold no password
// field besides another input.
std::optional<std::string> MakeLoginBody(const std::vector<QNFormInput>& inputs,
                                         std::string_view user, std::string_view password);

// How the fetcher sends the object part of an address: a submission is posted to
// the text before its marker with the text after it as body; anything else is a GET.
struct QNSubmission {
  std::string_view object;
  std::string_view body;
  bool post = false;
};
QNSubmission SplitSubmission(std::string_view object);

// `text` (a log line, a status row, a report cell, a title) with the project's login
// `password` hidden wherever a login address carries it as a field's value.
std::string MaskLoginPassword(std::string_view text, std::string_view password);

}  // namespace qn
