#include "cli/CliProgramOptions.h"

#include <QSettings>
#include <algorithm>

#include "app/LanguageTable.h"
#include "app/ProgramFolders.h"

namespace qn {

std::string ScrambledPassword(std::string password) {
  std::reverse(password.begin(), password.end());
  for (char& c : password) {
    const auto byte = static_cast<unsigned char>(c);
    c = static_cast<char>(((byte & 0x55u) << 1) | ((byte & 0xAAu) >> 1));
  }
  return password;
}

QNCliProgramOptions LoadCliProgramOptions() {
  QSettings settings("Lumbrook", "Quillorne");
  settings.beginGroup("Options");
  QNCliProgramOptions options;
  options.dialUp.connType = settings.value("ConnType", 0).toInt();
  options.dialUp.entry = settings.value("RasEntry").toString().toStdString();
  options.dialUp.userId = settings.value("RasUserID").toString().toStdString();
  // Scrambled bytes are no text: kept as a byte array, which reads back exactly.
  options.dialUp.password =
      ScrambledPassword(settings.value("RasUserPsw").toByteArray().toStdString());
  options.autoDisconnect = settings.value("AutoDisconn", 0).toInt() != 0;
  options.autoShutdown = settings.value("AutoShutdown", 0).toInt() != 0;
  options.useLngFile = settings.value("UseLngFile", 0).toInt() != 0;
  options.lngFile = settings.value("LngFile").toString().toStdString();
  settings.endGroup();
  return options;
}

std::optional<std::string> LoadCliLanguage(QNTexts& texts) {
  const QNCliProgramOptions options = LoadCliProgramOptions();
  return LoadLanguageTable(texts, options.useLngFile, options.lngFile, {ProgramFolder()});
}

}  // namespace qn
