#pragma once

// The pages of "Quillorne Options", each showing a group of the program options
// from a copy and writing back what it shows.

#include <QWidget>
#include <optional>
#include <string>
#include <vector>

#include "app/LanguageTable.h"
#include "app/ProgramOptions.h"
#include "text/Texts.h"

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QFontComboBox;
class QGroupBox;
class QLineEdit;
class QSpinBox;

namespace qn {

class QNOptionsPage : public QWidget {
  Q_OBJECT

 public:
  QNOptionsPage(int pageId, const QString& title, QWidget* parent);
  virtual void Store(QNProgramOptions& options) const = 0;
};

// Connection: permanent (direct or through the proxy) or dial-up, the proxy, and
// what the internet layer does with redirections and its cache.
class QNOptionsConnectionPage : public QNOptionsPage {
  Q_OBJECT

 public:
  // `dialUpEntries`: the connections the dial-up layer knows; nothing when it has
  // none to offer.
  QNOptionsConnectionPage(const QNProgramOptions& options,
                          const std::optional<std::vector<std::string>>& dialUpEntries,
                          QWidget* parent);
  void Store(QNProgramOptions& options) const override;

 private:
  QButtonGroup* connType_;
  QCheckBox* useProxy_;
  QLineEdit* proxyAddress_;
  QSpinBox* proxyPort_;
  QLineEdit* ftpAddress_;
  QSpinBox* ftpPort_;
  QLineEdit* proxyUser_;
  QLineEdit* proxyPassword_;
  QComboBox* rasEntry_;
  QLineEdit* rasUser_;
  QLineEdit* rasPassword_;
  QCheckBox* autoDisconn_;
  QCheckBox* redirect_;
  QCheckBox* useCache_;
};

// General: projects at start and close, the periodic save, new projects, histories,
// the notification area, the welcome page and the shutdown after a download.
class QNOptionsGeneralPage : public QNOptionsPage {
  Q_OBJECT

 public:
  QNOptionsGeneralPage(const QNProgramOptions& options, const QNTexts& texts, QWidget* parent);
  void Store(QNProgramOptions& options) const override;

 private:
  void BrowseTemplate();

  QNTexts texts_;
  int wizards_;
  QCheckBox* autoLoad_;
  QCheckBox* autoSave_;
  QCheckBox* autoSaveTime_;
  QSpinBox* autoSaveValue_;
  QCheckBox* wizard_;
  QCheckBox* useTemplate_;
  QLineEdit* template_;
  QCheckBox* remUrl_;
  QCheckBox* remFind_;
  QCheckBox* useTray_;
  QCheckBox* showWelcome_;
  QCheckBox* autoShutdown_;
};

// Display: the contents tree's font and the language of the program.
class QNOptionsDisplayPage : public QNOptionsPage {
  Q_OBJECT

 public:
  QNOptionsDisplayPage(const QNProgramOptions& options, std::vector<QNLanguageChoice> languages,
                       QWidget* parent);
  void Store(QNProgramOptions& options) const override;

 private:
  QNProgramOptions shown_;
  std::vector<QNLanguageChoice> languages_;
  QFontComboBox* face_;
  QSpinBox* height_;
  QCheckBox* bold_;
  QComboBox* language_;
  bool faceChanged_ = false;
  bool boldChanged_ = false;
};

}  // namespace qn
