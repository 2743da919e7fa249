#pragma once

// The page view: saved pages, the download report and the welcome page, shown by
// Qt WebEngine. While the program works offline it refuses every network address,
// for the page itself and for anything the page would load.

#include <QWebEngineView>
#include <memory>
#include <string>

class QPrinter;

namespace qn {

class QNPageView : public QWebEngineView {
  Q_OBJECT

 public:
  explicit QNPageView(QWidget* parent = nullptr);
  ~QNPageView() override;

  // Shows a local file (an absolute path) or an address.
  void ShowAddress(const std::string& addressOrPath);
  bool HasPage() const;
  // The local file the view shows; empty for a network page.
  std::string LocalFile() const;

  // "Font Size": five steps from the largest (0) to the smallest (4); 2 is medium.
  void SetFontStep(int step);
  int FontStep() const { return fontStep_; }

  // Page setup and printing share one printer, so the setup holds for later prints.
  QPrinter& Printer() { return *printer_; }

 Q_SIGNALS:
  // Going back or forward, or whether a page is shown, may have changed.
  void NavigationChanged();
  // A network page was refused while working offline.
  void RefusedOffline(const QUrl& url);

 private:
  std::unique_ptr<QPrinter> printer_;
  int fontStep_ = 2;
};

}  // namespace qn
