#include "app/RunOptions.h"

#include "app/ProjectSession.h"
#include "settings/TemplateFile.h"
#include "text/MessageIds.h"

namespace qn {
QNInternetOptions InternetOptionsFrom(const QNProgramOptions& options) {
  QNInternetOptions internet;
  internet.UseProxy = options.UseProxy;
  internet.ProxyAddress = options.ProxyAddress;
  internet.ProxyPort = options.ProxyPort;
  internet.FtpProxyAddress = options.FtpProxyAddress;
  internet.FtpProxyPort = options.FtpProxyPort;
  internet.ProxyUserID = options.ProxyUserID;
  internet.ProxyPassword = options.ProxyPassword;
  internet.UseCache = options.UseCache;
  internet.Redirect = options.Redirect;
  return internet;
}

QNDialUpSettings DialUpSettingsFrom(const QNProgramOptions& options) {
  QNDialUpSettings dialUp;
  dialUp.connType = options.ConnType;
  dialUp.entry = options.RasEntry;
  dialUp.userId = options.RasUserID;
  dialUp.password = options.RasUserPsw;
  return dialUp;
}

void StartNewProject(QNProjectSession& session, const QNProgramOptions& options,
                     const std::string& writableDir) {
  session.NewProject(options.LastFilesDir, writableDir);
  if (!options.UseTemplFile) return;
  CQNSettings fromTemplate = session.settings;
  if (!ReadTemplateFile(options.TemplFile, fromTemplate)) {
    session.Messenger().Show(kMsgCannotOpen, options.TemplFile);
    return;
  }
  session.settings = fromTemplate;
  // The root carries the title the template gives.
  session.doc.CreateRoot();
}

}  // namespace qn
