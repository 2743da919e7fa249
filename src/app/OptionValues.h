#pragma once

// How single option values are kept in the options file, so that each reads back
// exactly as it was written.

#include <QVariant>
#include <string>

namespace qn {

// Reverses the password and swaps each pair of adjacent bits in every byte; the
// same call undoes it. The result is seldom valid text.
std::string ScramblePassword(std::string_view password);

// A text value: stored as text when it is valid UTF-8, otherwise as its bytes (a
// Linux file name may be any bytes).
QVariant TextToSetting(const std::string& text);
std::string TextFromSetting(const QVariant& value);

// A password: scrambled and stored as bytes. Reading also accepts the scrambled
// bytes stored as text, one character per byte.
QVariant PasswordToSetting(const std::string& password);
std::string PasswordFromSetting(const QVariant& value);

// An integer value; `fallback` when it is missing or no number.
int IntFromSetting(const QVariant& value, int fallback);

}  // namespace qn
