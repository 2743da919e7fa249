#include "cli/CliProgramOptions.h"

#include "app/LanguageTable.h"
#include "app/OptionsStore.h"
#include "app/ProgramFolders.h"
#include "app/RunOptions.h"

namespace qn {

QNCliProgramOptions LoadCliProgramOptions() {
  QNCliProgramOptions options;
  options.shared = ReadOptionsFile().options;
  options.shared.LastFilesDir.clear();
  options.dialUp = DialUpSettingsFrom(options.shared);
  return options;
}

std::optional<std::string> LoadCliLanguage(QNTexts& texts) {
  const QNProgramOptions options = ReadOptionsFile().options;
  return LoadLanguageTable(texts, options.UseLngFile, options.LngFile, DataFolders());
}

}  // namespace qn
