// quillorne-lang: compiles a translator's readable language source into a .qlg
// language file and decompiles a .qlg file back into its source.
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "text/LanguageFile.h"
#include "text/LanguageSource.h"
#include "text/StringTable.h"
#include "text/Texts.h"
#include "text/TranslationCheck.h"

namespace {

constexpr char kUsage[] =
    "Usage: quillorne-lang compile SOURCE.txt FILE.qlg\n"
    "       quillorne-lang decompile FILE.qlg [SOURCE.txt]\n"
    "       quillorne-lang template [SOURCE.txt]\n"
    "\n"
    "compile    writes the language file for a source; warns about strings the program\n"
    "           does not have and about placeholders that differ from the English text\n"
    "decompile  writes the source of a language file (to standard output without a name)\n"
    "template   writes a source holding every string of the program in English, the\n"
    "           starting point of a new translation\n";

int Fail(const std::string& message) {
  std::fprintf(stderr, "quillorne-lang: %s\n", message.c_str());
  return 1;
}

bool ReadAll(const std::string& path, std::string& text) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return !in.bad();
}

// Writes `text` to `path`, or to standard output for an empty path.
bool WriteAll(const std::string& path, const std::string& text) {
  if (path.empty()) return std::fwrite(text.data(), 1, text.size(), stdout) == text.size();
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(text.data(), static_cast<std::streamsize>(text.size()));
  out.close();
  return static_cast<bool>(out);
}

int Compile(const std::string& sourcePath, const std::string& filePath) {
  std::string source, why;
  if (!ReadAll(sourcePath, source)) return Fail("cannot read '" + sourcePath + "'");
  const auto language = qn::ParseLanguageSource(source, &why);
  if (!language) return Fail(sourcePath + ": " + why);
  for (const std::string& warning : qn::CheckTranslation(*language))
    std::fprintf(stderr, "quillorne-lang: warning: %s: %s\n", sourcePath.c_str(), warning.c_str());
  const auto file = qn::FormatLanguageFile(*language, &why);
  if (!file) return Fail(sourcePath + ": " + why);
  if (!WriteAll(filePath, *file)) return Fail("cannot write '" + filePath + "'");
  return 0;
}

int Decompile(const std::string& filePath, const std::string& sourcePath) {
  std::string why;
  const auto language = qn::ReadLanguageFile(filePath, &why);
  if (!language) return Fail(filePath + ": " + why);
  if (!WriteAll(sourcePath, qn::FormatLanguageSource(*language)))
    return Fail("cannot write '" + sourcePath + "'");
  return 0;
}

int Template(const std::string& sourcePath) {
  qn::QNLanguageData language;
  language.name = "English";
  qn::QNLanguageGroup& strings = language.Table(qn::QNLanguageTable::Strings).emplace_back();
  const qn::QNTexts texts;
  for (const int id : qn::BuiltinStringIds()) strings.items.push_back({id, texts.Text(id)});
  if (!WriteAll(sourcePath, qn::FormatLanguageSource(language)))
    return Fail("cannot write '" + sourcePath + "'");
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  const std::string command = args.empty() ? "" : args[0];
  if (command == "compile" && args.size() == 3) return Compile(args[1], args[2]);
  if (command == "decompile" && (args.size() == 2 || args.size() == 3))
    return Decompile(args[1], args.size() == 3 ? args[2] : "");
  if (command == "template" && args.size() <= 2) return Template(args.size() == 2 ? args[1] : "");
  if (command == "--help" || command == "-h") {
    std::fputs(kUsage, stdout);
    return 0;
  }
  std::fputs(kUsage, stderr);
  return 2;
}
