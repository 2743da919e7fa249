#include "ui/PageView.h"

#include <QFileInfo>
#include <QPrinter>
#include <QWebEngineHistory>
#include <QWebEnginePage>
#include <QWebEngineUrlRequestInterceptor>
#include <array>

#include "web/OfflineState.h"

namespace qn {
namespace {

constexpr std::array<double, 5> kFontZoom = {1.5, 1.25, 1.0, 0.85, 0.7};

bool IsNetworkAddress(const QUrl& url) {
  const QString scheme = url.scheme().toLower();
  return scheme == "http" || scheme == "https" || scheme == "ftp";
}

// Refuses the network requests of a page's parts (pictures, frames, scripts) while
// offline. Asked on WebEngine's own thread: the offline flag is atomic.
class QNOfflineInterceptor : public QWebEngineUrlRequestInterceptor {
 public:
  using QWebEngineUrlRequestInterceptor::QWebEngineUrlRequestInterceptor;
  void interceptRequest(QWebEngineUrlRequestInfo& info) override {
    if (IsOffline() && IsNetworkAddress(info.requestUrl())) info.block(true);
  }
};

// Refuses a network page itself while offline, and says so.
class QNOfflinePage : public QWebEnginePage {
 public:
  QNOfflinePage(QNPageView& view) : QWebEnginePage(&view), view_(view) {}

 protected:
  bool acceptNavigationRequest(const QUrl& url, NavigationType, bool isMainFrame) override {
    if (!IsOffline() || !IsNetworkAddress(url)) return true;
    if (isMainFrame) Q_EMIT view_.RefusedOffline(url);
    return false;
  }

 private:
  QNPageView& view_;
};

}  // namespace

QNPageView::QNPageView(QWidget* parent)
    : QWebEngineView(parent), printer_(std::make_unique<QPrinter>(QPrinter::HighResolution)) {
  setObjectName("PageView");
  setAccessibleName(tr("Page"));
  auto* page = new QNOfflinePage(*this);
  // A child of the page, so that it lasts as long as the page asks it.
  page->setUrlRequestInterceptor(new QNOfflineInterceptor(page));
  setPage(page);
  connect(this, &QWebEngineView::urlChanged, this, &QNPageView::NavigationChanged);
  connect(this, &QWebEngineView::loadFinished, this, [this] {
    // WebEngine may take a page's own zoom on a new site; the chosen size holds.
    if (!qFuzzyCompare(zoomFactor(), kFontZoom[fontStep_])) setZoomFactor(kFontZoom[fontStep_]);
    Q_EMIT NavigationChanged();
  });
}

QNPageView::~QNPageView() = default;

void QNPageView::ShowAddress(const std::string& addressOrPath) {
  const QString text = QString::fromStdString(addressOrPath);
  setUrl(QFileInfo(text).isAbsolute() && !text.contains("://") ? QUrl::fromLocalFile(text)
                                                               : QUrl(text));
}

bool QNPageView::HasPage() const {
  return !url().isEmpty();
}

std::string QNPageView::LocalFile() const {
  return url().isLocalFile() ? url().toLocalFile().toStdString() : std::string();
}

void QNPageView::SetFontStep(int step) {
  fontStep_ = std::clamp(step, 0, static_cast<int>(kFontZoom.size()) - 1);
  setZoomFactor(kFontZoom[fontStep_]);
}

}  // namespace qn
