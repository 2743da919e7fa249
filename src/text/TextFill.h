#pragma once

// Fills the placeholders of a text that may come from a language file. A
// translator can swap, add or drop placeholders, so the text is never handed to a
// printf-style function: its "%s" and "%d" are matched against the values' kinds
// first, and a text whose placeholders do not fit its values is shown as written.

#include <concepts>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace qn {

// One value for a placeholder: a number for "%d" ("%i", "%u"), a text for "%s".
class QNTextValue {
 public:
  template <std::integral T>
  QNTextValue(T number) : text_(std::to_string(number)), number_(true) {}
  QNTextValue(std::string_view text) : text_(text) {}
  QNTextValue(const std::string& text) : text_(text) {}
  QNTextValue(const char* text) : text_(text ? text : "") {}

  const std::string& Text() const { return text_; }
  bool IsNumber() const { return number_; }

 private:
  std::string text_;
  bool number_ = false;
};

// The values go into the placeholders in order when there are as many placeholders
// as values and each fits its value's kind ("%%" then stands for "%"). Otherwise,
// and for any other conversion ("%x", "%5s", a lone "%"), `format` comes back as
// written.
std::string FillTextValues(std::string_view format, std::span<const QNTextValue> values);

// The kinds of `format`'s placeholders in order, "s" for a text and "d" for a
// number ("%i" and "%u" count as "d"): " Error (HTTP code %d) - '%s'" gives "ds".
// Nothing when a placeholder is one the filler never fills.
std::optional<std::string> PlaceholderKinds(std::string_view format);

template <typename... Values>
std::string FillText(std::string_view format, const Values&... values) {
  if constexpr (sizeof...(Values) == 0) {
    return FillTextValues(format, {});
  } else {
    const QNTextValue list[] = {QNTextValue(values)...};
    return FillTextValues(format, list);
  }
}

}  // namespace qn
