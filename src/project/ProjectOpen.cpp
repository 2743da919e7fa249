#include "project/ProjectOpen.h"

#include <filesystem>
#include <fstream>
#include <system_error>

#include "project/BinaryStream.h"
#include "project/ProjectFile.h"
#include "project/SavedFileBounds.h"
#include "settings/TemplateFile.h"
#include "text/MessageIds.h"
#include "web/Address.h"

namespace qn {
namespace {

constexpr std::size_t kEncryptedProbe = 128;
constexpr std::uintmax_t kWaitWindowSize = 102400;

bool StartsWithMagic(std::istream& in) {
  try {
    QNBinaryReader r(in);
    return r.String(std::string_view(kProjectMagic).size() + 1) == kProjectMagic;
  } catch (const QNReadError&) {
    return false;
  }
}

bool LooksEncrypted(std::istream& in) {
  char probe[kEncryptedProbe];
  in.read(probe, sizeof probe);
  const bool zip = in.gcount() == static_cast<std::streamsize>(sizeof probe) && probe[0] == 'P' &&
                   probe[1] == 'K';
  in.clear();
  in.seekg(0);
  return zip;
}

bool ReadProjectAt(const std::string& path, CQNSettings& settings, CQNDocTree& tree,
                   const QNOpenContext& context) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::error_code ec;
  const bool large = std::filesystem::file_size(path, ec) > kWaitWindowSize && !ec;
  if (large && context.showWait) context.showWait(true);
  const bool ok = ReadProject(in, path, settings, tree, context.messages);
  if (large && context.showWait) context.showWait(false);
  return ok;
}

}  // namespace

QNFileKind RecogniseFile(const std::string& path, const QNDecryptProject& decrypt) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return kFileUnreadable;
  if (LooksEncrypted(in)) {
    in.close();
    if (!decrypt || !decrypt(path)) return kFileUnreadable;
    in.open(path, std::ios::binary);
    if (!in) return kFileUnreadable;
  }
  return StartsWithMagic(in) ? kFileProject : kFileTemplate;
}

std::string WithExtension(const std::string& path, const std::string& extension) {
  const std::size_t dot = path.find_last_of('.');
  const std::size_t sep = FindLastSeparator(path);
  // A "." in a folder name is not the file's extension.
  if (dot == std::string::npos || (sep != std::string::npos && dot < sep))
    return path + "." + extension;
  return path.substr(0, dot + 1) + extension;
}

bool OpenDocumentFile(std::string& path, CQNSettings& settings, CQNDocTree& tree,
                      const QNOpenContext& context) {
  settings.ResetToDefaults(context.lastFilesDir, context.programDir);
  tree.Clear();
  // Decrypting a project keeps its password in the settings just reset.
  const QNFileKind kind = RecogniseFile(path, context.decryptProject);
  const std::string project = kind == kFileTemplate ? WithExtension(path, kProjectExtension) : path;
  // A template opens as the project beside it, which the next save writes: one that
  // is there already, with the log beside it, is replaced only when the user says so.
  std::error_code ec;
  if (kind == kFileTemplate && std::filesystem::exists(project, ec) &&
      !context.messages.ConfirmReplace(project))
    return false;
  bool ok = false;
  switch (kind) {
    case kFileUnreadable:
      break;
    case kFileTemplate:
      ok = ReadTemplateFile(path, settings);
      if (ok) path = project;
      break;
    case kFileProject:
      ok = ReadProjectAt(path, settings, tree, context);
      if (ok) {
        const QNStrayFiles stray = ForgetStrayFiles(tree, settings, path);
        if (stray.count > 0) context.messages.Show(kMsgStrayFiles, stray.first);
      }
      if (ok && context.addRecent) context.addRecent(path);
      if (ok && settings.EncryptDownloadedFiles && context.decryptDownloads)
        context.decryptDownloads(path, settings);
      break;
  }
  if (!ok) {
    context.messages.Show(kMsgCannotOpen, path);
    settings.ResetToDefaults(context.lastFilesDir, context.programDir);
    tree.Clear();
    return false;
  }
  if (!tree.root) tree.CreateRoot(RootTitle(context.messages.texts, settings.QN_TITLE));
  return true;
}

}  // namespace qn
