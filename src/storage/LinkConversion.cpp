#include "storage/LinkConversion.h"

#include <algorithm>
#include <fstream>
#include <system_error>

#include "records/DocTree.h"
#include "settings/ProjectSettings.h"
#include "storage/TempFile.h"
#include "text/NoCase.h"
#include "web/Address.h"
#include "web/ScriptScanner.h"

namespace qn {
namespace {

constexpr int kScriptLinesLooked = 1000;
constexpr std::size_t kLinePiece = 4160;

// The local path was decoded once when the file was named; a "%" left in it is part
// of the file's name, which a browser reading the link must not decode again.
std::string EscapePercent(const std::string& path) {
  std::string out;
  out.reserve(path.size());
  for (const char c : path) {
    if (c == '%')
      out += "%25";
    else
      out += c;
  }
  return out;
}

bool IsScriptNode(const CQNDocNode& node) {
  return node.type == kCatJava;
}

// The node whose page a file's links are relative to: a script stands in for the
// page it was found in, when that page has a saved file; a module stands for itself.
const CQNDocNode& PageOf(const CQNDocNode& node, bool module) {
  if (!IsScriptNode(node) || module) return node;
  const CQNDocNode* parent = node.parent;
  if (parent && parent->kind != kNodeRoot && !parent->url.empty() && !parent->localFile.empty())
    return *parent;
  return node;
}

}  // namespace

std::optional<std::string> ConvertLinkValue(const QNLinkToConvert& link,
                                            std::string_view pageAddress,
                                            const QNLinkRules& rules) {
  std::string address = ResolveLink(link.value, link.baseDirectory, pageAddress);
  // The fragment names a place in the file, not the file: "guide/#start" is the
  // folder's page, saved under the folder's default name.
  const std::size_t hash = address.find('#');
  const std::string fragment = hash == std::string::npos ? std::string() : address.substr(hash);
  address.resize(std::min(hash, address.size()));
  const std::string resolved = address;
  std::string local = LocalPathForAddress(address, true, link.notImage, rules.naming);
  // A folder address completed with its "/" is named once more from its completed form.
  if (address != resolved) local = LocalPathForAddress(address, true, link.notImage, rules.naming);

  if (rules.updLinks == 1) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(local, ec)) return std::nullopt;
  }
  if (link.form == QNLinkForm::Absolute) return EscapePercent(local);

  const std::string_view page = link.pagePath;
  const std::size_t sep = FindLastSeparator(page);
  const std::string_view folder =
      sep == std::string_view::npos ? page.substr(0, 0) : page.substr(0, sep);
  std::string relative = EscapePercent(MakeRelativePath(local, folder));
  BackslashesToSlashes(relative);
  return relative + fragment;
}

bool ScriptMentionsFunction(const std::filesystem::path& script) {
  std::ifstream in(script, std::ios::binary);
  std::string piece;
  for (int line = 0; in && line < kScriptLinesLooked; ++line) {
    // One piece ends after a line feed or when the buffer is full, like fgets.
    piece.clear();
    char c = 0;
    while (piece.size() < kLinePiece - 1 && in.get(c)) {
      piece += c;
      if (c == '\n') break;
    }
    if (piece.empty()) break;
    if (FindNoCase(piece, "function") != std::string::npos) return true;
  }
  return false;
}

bool ReplaceWithConverted(const std::filesystem::path& path,
                          const std::function<bool(std::istream&, std::ostream&)>& convert) {
  std::error_code ec;
  // The page's times and permissions go back onto the converted file; a failure to
  // read them only means they are not restored.
  const auto modified = std::filesystem::last_write_time(path, ec);
  const bool haveTime = !ec;
  const auto permissions = std::filesystem::status(path, ec).permissions();
  const bool havePermissions = !ec;

  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  // Beside the page, so that the finished copy replaces it in one rename: the page
  // is never deleted before its replacement is in place.
  auto temp = QNTempFile::Create(path.parent_path());
  if (!temp) return false;
  std::ofstream out(temp->Path(), std::ios::binary | std::ios::trunc);
  if (!out) return false;

  const bool converted = convert(in, out);
  const bool readAll = !in.bad();
  in.close();
  out.close();
  if (!converted || !readAll || out.fail()) return false;

  std::filesystem::rename(temp->Path(), path, ec);
  if (ec) return false;
  temp->Keep();
  if (havePermissions) std::filesystem::permissions(path, permissions, ec);
  if (haveTime) std::filesystem::last_write_time(path, modified, ec);
  return true;
}

bool ConvertSavedFile(const CQNDocNode& node, const CQNSettings& settings,
                      const QNLinkRules& rules) {
  if (node.localFile.empty()) return true;
  const bool script = IsScriptNode(node);
  // A module names its imports in statements, with or without a function.
  const bool module = script && IsModuleScript(node.localFile);
  if (script && !module && !ScriptMentionsFunction(node.localFile)) return true;

  const CQNDocNode& page = PageOf(node, module);
  const std::string base = GetBaseDirectory(page.url);
  const std::string pageAddress = page.url;
  const QNConvertPage convertPage{pageAddress, base, page.localFile, QNLinkForm::Relative};
  const QNLinkConverter converter = [&](const QNLinkToConvert& link) {
    return ConvertLinkValue(link, pageAddress, rules);
  };
  return ReplaceWithConverted(node.localFile, [&](std::istream& in, std::ostream& out) {
    return script ? ConvertScriptFile(in, out, convertPage, settings, converter)
                  : ConvertHtmlFile(in, out, convertPage, settings, converter);
  });
}

}  // namespace qn
