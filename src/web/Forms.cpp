#include "web/Forms.h"

#include <algorithm>

#include "settings/ProjectSettings.h"
#include "text/NoCase.h"

namespace qn {
namespace {

std::string_view Span(QNScanText& text, const QNValueSpan& span) {
  return text.View().substr(span.begin, span.end - span.begin);
}

// One submission per option of the form's first SELECT: the option's visible
// text posted under the SELECT's name.
void ExpandDropDown(QNScanText& text, std::size_t from, std::size_t to, const std::string& action,
                    QNTagValues& out) {
  const std::size_t select = text.Find("<SELECT", from, to);
  if (select == QNScanText::npos) return;
  const std::size_t close = text.Find("/SELECT>", select, to);
  if (close == QNScanText::npos) return;
  const std::size_t selectEnd = text.Find(">", select, to);
  const std::size_t eq =
      FindAttribute(text, "NAME", select + 7, selectEnd == QNScanText::npos ? close : selectEnd);
  if (eq == QNScanText::npos) return;
  const auto name = GetPlainValue(text, eq, to);
  if (!name) return;
  const std::string field(Span(text, *name));

  std::size_t next = QNScanText::npos;
  for (std::size_t option = text.Find("<OPTION", select, close); option != QNScanText::npos;
       option = next) {
    const std::size_t tagEnd = text.Find(">", option, close);
    if (tagEnd == QNScanText::npos) break;
    std::size_t start = text.FindNot(" ", tagEnd + 1, close);
    if (start == QNScanText::npos) start = close;
    next = text.Find("<OPTION", option + 7, close);
    const std::size_t endTag = text.Find("</OPTION>", tagEnd + 1, close);
    std::size_t end = close - 1;  // the "<" of "</SELECT>" is not part of the text
    if (endTag != QNScanText::npos && (next == QNScanText::npos || endTag < next))
      end = endTag;
    else if (next != QNScanText::npos)
      end = next;
    const std::string_view shown =
        start < end ? text.View().substr(start, end - start) : std::string_view();
    out.values.push_back(action + std::string(kPostMarker) + field + "=" + std::string(shown));
    out.Read(end);
  }
}

// NAME, TYPE or VALUE inside the INPUT tag [from, close); the value must end
// before the tag's ">".
std::string InputAttribute(QNScanText& text, std::string_view name, std::size_t from,
                           std::size_t close, std::size_t to, bool& found) {
  found = false;
  const std::size_t eq = FindAttribute(text, name, from, close, QNEquals::FollowsOrRetry);
  if (eq == QNScanText::npos) return {};
  const auto value = GetPlainValue(text, eq, to);
  if (!value || value->next > close) return {};
  found = true;
  return std::string(Span(text, *value).substr(0, kMaxInputText));
}

bool IsLoginInputType(std::string_view type) {
  if (type.empty()) return true;
  for (std::string_view accepted : {"checkbox", "hidden", "password", "radio", "text"})
    if (EqualNoCase(type, accepted)) return true;
  return false;
}

}  // namespace

std::vector<QNFormInput> CollectFormInputs(QNScanText& text, std::size_t from, std::size_t to) {
  std::vector<QNFormInput> inputs;
  for (std::size_t pos = from;;) {
    const std::size_t input = text.Find("<INPUT", pos, to);
    if (input == QNScanText::npos) break;
    const std::size_t close = text.Find(">", input, to);
    if (close == QNScanText::npos) break;
    bool named = false;
    bool unused = false;
    QNFormInput record;
    record.name = InputAttribute(text, "NAME", input + 6, close, to, named);
    if (!named) break;
    record.type = InputAttribute(text, "TYPE", input + 6, close, to, unused);
    record.value = InputAttribute(text, "VALUE", input + 6, close, to, unused);
    inputs.push_back(std::move(record));
    pos = close;
  }
  return inputs;
}

std::optional<std::string> MakeLoginBody(const std::vector<QNFormInput>& inputs,
                                         std::string_view user, std::string_view password) {
  std::size_t secret = inputs.size();
  for (std::size_t i = 0; i < inputs.size() && inputs.size() > 1; ++i)
    if (EqualNoCase(inputs[i].type, "password")) {
      secret = i;
      break;
    }
  if (secret == inputs.size()) return std::nullopt;
  const std::size_t userField = secret > 0 ? secret - 1 : secret + 1;
  std::string body;
  for (std::size_t i = 0; i < inputs.size(); ++i) {
    if (!IsLoginInputType(inputs[i].type)) continue;
    if (!body.empty()) body += '&';
    body += inputs[i].name;
    body += '=';
    body += i == userField ? user : i == secret ? password : std::string_view(inputs[i].value);
  }
  return body;
}

void ReadFormValues(QNScanText& text, std::size_t from, std::size_t to,
                    const QNHandlerContext& context, QNTagValues& out) {
  // The form's own attributes are looked for in the FORM tag only, so that an
  // input named "action" or "method" inside the form is never taken for them.
  const std::size_t close = text.Find(">", from, to);
  const std::size_t tagEnd = close == QNScanText::npos ? to : close;

  bool post = false;
  if (const std::size_t eq = FindAttribute(text, "METHOD", from, tagEnd); eq != QNScanText::npos)
    if (const auto method = GetPlainValue(text, eq, to)) {
      out.Read(method->next);
      post = EqualNoCase(Span(text, *method), "POST");
    }
  std::string action;
  if (const std::size_t eq = FindAttribute(text, "ACTION", from, tagEnd); eq != QNScanText::npos)
    if (const auto value = GetAttributeValue(text, eq, to, false)) {
      out.Read(value->next);
      action = Span(text, *value);
    }

  if (!post && !action.empty()) out.values.push_back(action);
  if (post && action.empty()) {
    const std::string_view page = context.documentAddress;
    action = page.substr(0, page.find('?'));
  }
  ReadEventValues(text, from, tagEnd, {"ONSUBMIT", "ONRESET"}, context.settings.QN_FILE_EXT, out);
  if (!post) return;

  if (context.settings.ProcessForms) ExpandDropDown(text, from, to, action, out);
  if (context.settings.SubmitLoginForms) {
    const auto body = MakeLoginBody(CollectFormInputs(text, from, to), context.settings.QN_USER_ID,
                                    context.settings.QN_PASSWORD);
    if (body) out.values.push_back(action + std::string(kLoginMarker) + *body);
  }
}

QNSubmission SplitSubmission(std::string_view object) {
  for (std::string_view marker : {kPostMarker, kLoginMarker})
    if (const std::size_t at = object.find(marker); at != std::string_view::npos)
      return {object.substr(0, at), object.substr(at + marker.size()), true};
  return {object, {}, false};
}

std::string MaskLoginPassword(std::string_view text, std::string_view password) {
  const std::size_t login = text.find(kLoginMarker);
  if (password.empty() || login == std::string_view::npos) return std::string(text);
  // A value ends where a field or the address ends. The password itself may hold any
  // of these characters, so it is looked for as a whole after each "=" rather than
  // by splitting the address into fields.
  constexpr std::string_view kValueEnd = "&'\" <>\r\n";
  std::string out;
  std::size_t copied = 0;
  for (std::size_t eq = text.find('=', login); eq != std::string_view::npos;
       eq = text.find('=', eq + 1)) {
    const std::size_t end = eq + 1 + password.size();
    if (text.substr(eq + 1, password.size()) != password ||
        (end < text.size() && kValueEnd.find(text[end]) == std::string_view::npos))
      continue;
    out.append(text.substr(copied, eq + 1 - copied)).append("*****");
    copied = end;
    eq = end - 1;
  }
  out.append(text.substr(copied));
  return out;
}

}  // namespace qn
