#include "bookmarks/BookmarkSources.h"

#include <utility>

#include "bookmarks/BookmarkFile.h"
#include "bookmarks/BrowserProfiles.h"
#include "bookmarks/ChromiumBookmarks.h"
#include "bookmarks/Favorites.h"
#include "bookmarks/PlacesDatabase.h"

namespace qn {
namespace {

namespace fs = std::filesystem;

struct Folders {
  fs::path home;
  fs::path config;  // $XDG_CONFIG_HOME, else ~/.config
};

Folders UserFolders(const QNEnvironment& environment) {
  Folders folders{environment("HOME").value_or(""), {}};
  const auto config = environment("XDG_CONFIG_HOME");
  if (config && !config->empty())
    folders.config = *config;
  else if (!folders.home.empty())
    folders.config = folders.home / ".config";
  return folders;
}

// Firefox's profile lists: the classic folder, the XDG one of newer versions, Snap
// and Flatpak.
std::vector<fs::path> FirefoxRoots(const Folders& folders) {
  std::vector<fs::path> roots;
  if (!folders.home.empty()) {
    roots.push_back(folders.home / ".mozilla/firefox");
    roots.push_back(folders.home / "snap/firefox/common/.mozilla/firefox");
    roots.push_back(folders.home / ".var/app/org.mozilla.firefox/.mozilla/firefox");
    roots.push_back(folders.home / ".var/app/org.mozilla.firefox/config/mozilla/firefox");
  }
  if (!folders.config.empty()) roots.push_back(folders.config / "mozilla/firefox");
  return roots;
}

struct ChromiumFamily {
  QNBookmarkBrowser browser;
  const char* config;   // the user-data folder below the configuration folder
  const char* flatpak;  // the Flatpak application holding it
};

constexpr ChromiumFamily kChromiumFamily[] = {
    {QNBookmarkBrowser::Chromium, "chromium", "org.chromium.Chromium"},
    {QNBookmarkBrowser::GoogleChrome, "google-chrome", "com.google.Chrome"},
    {QNBookmarkBrowser::Brave, "BraveSoftware/Brave-Browser", "com.brave.Browser"},
    {QNBookmarkBrowser::MicrosoftEdge, "microsoft-edge", "com.microsoft.Edge"},
};

std::vector<fs::path> ChromiumUserData(const Folders& folders, const ChromiumFamily& family) {
  std::vector<fs::path> places;
  if (!folders.config.empty()) places.push_back(folders.config / family.config);
  if (!folders.home.empty()) {
    places.push_back(folders.home / ".var/app" / family.flatpak / "config" / family.config);
    if (family.browser == QNBookmarkBrowser::Chromium)
      places.push_back(folders.home / "snap/chromium/common/chromium");
  }
  return places;
}

std::vector<QNBookmarkProfile> ChromiumBookmarkFiles(const Folders& folders,
                                                     const ChromiumFamily& family) {
  std::vector<QNBookmarkProfile> profiles;
  for (const fs::path& userData : ChromiumUserData(folders, family))
    for (QNBrowserProfile& profile : FindChromiumProfiles(userData))
      profiles.push_back({std::move(profile.name), profile.folder / "Bookmarks"});
  return profiles;
}

}  // namespace

std::optional<fs::path> FindFavoritesFolder(const QNEnvironment& environment) {
  const auto chosen = environment("QUILLORNE_FAVORITES");
  fs::path folder;
  if (chosen && !chosen->empty())
    folder = ExpandVariables(*chosen, environment);
  else if (const auto home = environment("HOME"); home && !home->empty())
    folder = fs::path(*home) / "Favorites";
  std::error_code ec;
  if (folder.empty() || !fs::is_directory(folder, ec)) return std::nullopt;
  return folder;
}

std::vector<QNBookmarkSource> FindBookmarkSources(const QNEnvironment& environment) {
  const Folders folders = UserFolders(environment);
  std::vector<QNBookmarkSource> sources;

  QNBookmarkSource favorites{QNBookmarkBrowser::InternetExplorer, QNBookmarkFormat::Favorites, {}};
  if (const auto folder = FindFavoritesFolder(environment))
    favorites.profiles.push_back({folder->filename().string(), *folder});
  sources.push_back(std::move(favorites));

  QNBookmarkSource files{QNBookmarkBrowser::Netscape, QNBookmarkFormat::BookmarkFile, {}};
  QNBookmarkSource places{QNBookmarkBrowser::Firefox, QNBookmarkFormat::Places, {}};
  std::vector<fs::path> mozillaRoots = FirefoxRoots(folders);
  if (!folders.home.empty()) mozillaRoots.push_back(folders.home / ".netscape");
  for (const fs::path& root : mozillaRoots) {
    for (const QNBrowserProfile& profile : ReadMozillaProfiles(root)) {
      if (const auto file = FindFileNoCase(profile.folder, "bookmarks.html"))
        files.profiles.push_back({profile.name, *file});
      if (const auto database = FindFileNoCase(profile.folder, "places.sqlite"))
        places.profiles.push_back({profile.name, *database});
    }
  }
  sources.push_back(std::move(files));
  if (places.Available()) sources.push_back(std::move(places));

  for (const ChromiumFamily& family : kChromiumFamily) {
    QNBookmarkSource source{family.browser, QNBookmarkFormat::Chromium,
                            ChromiumBookmarkFiles(folders, family)};
    if (source.Available()) sources.push_back(std::move(source));
  }
  return sources;
}

QNBookmarkTree ReadBookmarks(QNBookmarkFormat format, const fs::path& file) {
  switch (format) {
    case QNBookmarkFormat::Favorites:
      return ReadFavorites(file);
    case QNBookmarkFormat::BookmarkFile:
      return ReadBookmarkFile(file);
    case QNBookmarkFormat::Places:
      return ReadPlacesDatabase(file);
    case QNBookmarkFormat::Chromium:
      return ReadChromiumBookmarksFile(file);
  }
  return {};
}

}  // namespace qn
