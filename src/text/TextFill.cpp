#include "text/TextFill.h"

#include <optional>

namespace qn {
namespace {

enum class Slot { Text, Number, Unfit };

// Characters printf would read between "%" and the conversion letter.
bool IsModifier(char c) {
  return std::string_view("-+ #0123456789.*'").find(c) != std::string_view::npos;
}
bool IsLengthModifier(char c) {
  return std::string_view("hlLqjzt").find(c) != std::string_view::npos;
}

// The placeholder that starts at format[at] (a "%" that is not "%%"), and where
// it ends.
Slot ReadPlaceholder(std::string_view format, std::size_t at, std::size_t& end) {
  std::size_t i = at + 1;
  bool modified = false;
  while (i < format.size() && IsModifier(format[i])) {
    modified = true;
    ++i;
  }
  bool lengthOnly = false;
  while (i < format.size() && IsLengthModifier(format[i])) {
    lengthOnly = true;
    ++i;
  }
  end = i + 1;
  if (i >= format.size()) {
    end = format.size();
    return Slot::Unfit;
  }
  const char conversion = format[i];
  if (!modified && !lengthOnly && conversion == 's') return Slot::Text;
  if (!modified && (conversion == 'd' || conversion == 'i' || conversion == 'u'))
    return Slot::Number;
  return Slot::Unfit;
}

std::optional<std::string> Fill(std::string_view format, std::span<const QNTextValue> values) {
  std::string text;
  text.reserve(format.size());
  std::size_t next = 0;
  for (std::size_t i = 0; i < format.size(); ++i) {
    if (format[i] != '%') {
      text += format[i];
      continue;
    }
    if (i + 1 < format.size() && format[i + 1] == '%') {
      text += '%';
      ++i;
      continue;
    }
    std::size_t end = 0;
    const Slot slot = ReadPlaceholder(format, i, end);
    if (slot == Slot::Unfit || next == values.size()) return std::nullopt;
    const QNTextValue& value = values[next++];
    if (value.IsNumber() != (slot == Slot::Number)) return std::nullopt;
    text += value.Text();
    i = end - 1;
  }
  if (next != values.size()) return std::nullopt;
  return text;
}

}  // namespace

std::optional<std::string> PlaceholderKinds(std::string_view format) {
  std::string kinds;
  for (std::size_t i = 0; i < format.size(); ++i) {
    if (format[i] != '%') continue;
    if (i + 1 < format.size() && format[i + 1] == '%') {
      ++i;
      continue;
    }
    std::size_t end = 0;
    const Slot slot = ReadPlaceholder(format, i, end);
    if (slot == Slot::Unfit) return std::nullopt;
    kinds += slot == Slot::Text ? 's' : 'd';
    i = end - 1;
  }
  return kinds;
}

std::string FillTextValues(std::string_view format, std::span<const QNTextValue> values) {
  return Fill(format, values).value_or(std::string(format));
}

}  // namespace qn
