#include "ui/QtDesktopServices.h"

#include <QDesktopServices>
#include <QUrl>

namespace qn {

bool QNQtDesktopServices::OpenUrl(const std::string& url) {
  return QDesktopServices::openUrl(QUrl(QString::fromStdString(url), QUrl::StrictMode));
}

}  // namespace qn
