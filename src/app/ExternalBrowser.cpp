#include "app/ExternalBrowser.h"

#include <QDir>
#include <QProcess>
#include <QStringList>
#include <QUrl>
#include <sstream>

#include "text/MessageIds.h"
#include "text/NoCase.h"
#include "web/Address.h"

namespace qn {
namespace {

// A scheme of two or more letters: "C:" is a drive, not a scheme.
bool HasScheme(const std::string& target) {
  const std::size_t colon = target.find(':');
  if (colon == std::string::npos || colon < 2) return false;
  for (std::size_t i = 0; i < colon; ++i) {
    const char c = target[i];
    const bool letter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
    if (!letter && (i == 0 || !((c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.')))
      return false;
  }
  return true;
}

std::vector<std::string> Words(const std::string& command) {
  std::istringstream in(command);
  std::vector<std::string> words;
  for (std::string word; in >> word;) words.push_back(word);
  return words;
}

// One command of $BROWSER with the address in place of "%s" (or after the last word).
bool StartBrowserCommand(const std::string& command, const std::string& url,
                         const QNProgramStarter& start) {
  std::vector<std::string> words = Words(command);
  if (words.empty()) return false;
  bool placed = false;
  for (std::string& word : words) {
    for (std::size_t at = word.find("%s"); at != std::string::npos; at = word.find("%s", at)) {
      word.replace(at, 2, url);
      at += url.size();
      placed = true;
    }
  }
  if (!placed) words.push_back(url);
  const std::string program = words.front();
  words.erase(words.begin());
  return start(program, words);
}

}  // namespace

const char* const kMakerWebSite = "https://www.lumbrook.example/quillorne/";
const char* const kMakerMailAddress = "quillorne@lumbrook.example";

std::string BrowserAddress(const std::string& target, const std::string& currentFolder) {
  std::string path = target;
  if (HasScheme(target)) {
    if (!StartsWithNoCase(target, "file:")) return target;
    const auto local = FileAddressToPath(target);
    if (!local) return target;
    path = *local;
  }
  const QString absolute =
      QDir(QString::fromStdString(currentFolder)).absoluteFilePath(QString::fromStdString(path));
  return QUrl::fromLocalFile(QDir::cleanPath(absolute)).toString(QUrl::FullyEncoded).toStdString();
}

bool OpenInExternalBrowser(const std::string& target, const QNBrowserLaunch& launch) {
  const std::string url = BrowserAddress(target, launch.currentFolder);
  if (launch.desktop && launch.desktop->OpenUrl(url)) return true;
  if (!launch.start) return false;
  if (const char* browsers = launch.getenv ? launch.getenv("BROWSER") : nullptr) {
    std::istringstream list(browsers);
    for (std::string command; std::getline(list, command, ':');)
      if (StartBrowserCommand(command, url, launch.start)) return true;
  }
  return launch.start("x-www-browser", {url});
}

bool StartDetached(const std::string& program, const std::vector<std::string>& args) {
  QStringList arguments;
  for (const std::string& arg : args) arguments << QString::fromStdString(arg);
  return QProcess::startDetached(QString::fromStdString(program), arguments);
}

int ComposeContactMail(IQNDesktopServices& desktop, const std::string& subject) {
  QUrl mail;
  mail.setScheme("mailto");
  mail.setPath(kMakerMailAddress);
  mail.setQuery("subject=" + QUrl::toPercentEncoding(QString::fromStdString(subject)));
  return desktop.OpenUrl(mail.toString(QUrl::FullyEncoded).toStdString()) ? 0 : kMsgNoMailSupport;
}

}  // namespace qn
