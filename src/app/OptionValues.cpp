#include "app/OptionValues.h"

#include <QByteArray>
#include <QString>
#include <QStringDecoder>
#include <algorithm>

namespace qn {
namespace {

// Buffers of the stored passwords hold 1040 bytes with the terminating zero.
constexpr std::size_t kPasswordMax = 1039;

bool IsUtf8(const QByteArray& bytes) {
  QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
  [[maybe_unused]] const QString text = decoder(bytes);
  return !decoder.hasError();
}

}  // namespace

std::string ScramblePassword(std::string_view password) {
  std::string out(password.rbegin(), password.rend());
  for (char& c : out) {
    const auto byte = static_cast<unsigned char>(c);
    c = static_cast<char>(((byte & 0x55) << 1) | ((byte & 0xAA) >> 1));
  }
  return out;
}

QVariant TextToSetting(const std::string& text) {
  const QByteArray bytes = QByteArray::fromStdString(text);
  if (IsUtf8(bytes)) return QString::fromUtf8(bytes);
  return bytes;
}

std::string TextFromSetting(const QVariant& value) {
  if (value.typeId() == QMetaType::QByteArray) return value.toByteArray().toStdString();
  return value.toString().toStdString();
}

QVariant PasswordToSetting(const std::string& password) {
  return QByteArray::fromStdString(ScramblePassword(password.substr(0, kPasswordMax)));
}

std::string PasswordFromSetting(const QVariant& value) {
  std::string scrambled;
  if (value.typeId() == QMetaType::QByteArray) {
    scrambled = value.toByteArray().toStdString();
  } else {
    const QString text = value.toString();
    const bool oneBytePerChar =
        std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() <= 0xFF; });
    scrambled = oneBytePerChar ? text.toLatin1().toStdString() : text.toStdString();
  }
  return ScramblePassword(std::string_view(scrambled).substr(0, kPasswordMax));
}

int IntFromSetting(const QVariant& value, int fallback) {
  bool ok = false;
  const int n = value.toInt(&ok);
  return ok ? n : fallback;
}

}  // namespace qn
