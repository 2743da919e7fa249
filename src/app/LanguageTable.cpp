#include "app/LanguageTable.h"

#include <QString>
#include <algorithm>
#include <filesystem>
#include <system_error>

#include "text/LanguageFile.h"
#include "text/MessageIds.h"
#include "text/NoCase.h"

namespace qn {

std::vector<QNLanguageChoice> LanguageChoices(const std::vector<std::string>& folders) {
  std::vector<QNLanguageChoice> choices;
  for (const std::string& folder : folders) {
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(folder, ec)) {
      const std::filesystem::path& path = entry.path();
      if (!EqualNoCase(path.extension().string(), ".qlg") || !entry.is_regular_file(ec)) continue;
      // Unicode-aware case, so that "русский.qlg" is offered as "Русский".
      const QString stem = QString::fromStdString(path.stem().string());
      std::string name = (stem.left(1).toUpper() + stem.mid(1).toLower()).toStdString();
      if (std::none_of(choices.begin(), choices.end(),
                       [&](const QNLanguageChoice& c) { return c.name == name; }))
        choices.push_back({std::move(name), path.filename().string()});
    }
  }
  std::sort(choices.begin(), choices.end(),
            [](const auto& a, const auto& b) { return a.name < b.name; });
  choices.push_back({kBuiltinLanguage, ""});
  return choices;
}

std::string LanguageFilePath(const std::string& lngFile, const std::vector<std::string>& folders) {
  if (lngFile.empty() || std::filesystem::path(lngFile).is_absolute() || folders.empty())
    return lngFile;
  std::error_code ec;
  for (const std::string& folder : folders)
    if (std::filesystem::is_regular_file(folder + lngFile, ec)) return folder + lngFile;
  return folders.front() + lngFile;
}

std::optional<std::string> LoadLanguageTable(QNTexts& texts, bool useLngFile,
                                             const std::string& lngFile,
                                             const std::vector<std::string>& folders) {
  if (!useLngFile) {
    texts.Install(nullptr);
    return std::nullopt;
  }
  const std::string path = LanguageFilePath(lngFile, folders);
  const auto language = ReadLanguageFile(path);
  texts.Install(language ? std::make_shared<const QNTextTable>(*language) : nullptr);
  if (language) return std::nullopt;
  return texts.Format(kMsgCannotOpen, path);
}

}  // namespace qn
