#pragma once

// The properties of a contents-tree node: "Folder Properties" and "Link Properties"
// when the user adds a node (several addresses at once make one node each), and
// "Node Properties" for a node that exists, with what the download knows of it.

#include <QDialog>
#include <cstdint>
#include <string>
#include <vector>

#include "ui/NodePictures.h"

class QComboBox;
class QFormLayout;
class QLineEdit;
class QPlainTextEdit;

namespace qn {

class QNTexts;

// What the dialog shows of an existing node.
struct QNNodeFacts {
  std::string title;
  std::string url;
  std::string localFile;
  QNNodeLook look;
  std::int64_t size = 0;
  int level = 0;
};

// What the user entered.
struct QNNodeEdit {
  std::string title;
  std::vector<std::string> urls;  // one for an existing node
  int type = 0;
};

class QNNodeDialog : public QDialog {
  Q_OBJECT

 public:
  // A new folder (kNodeFolder) or link (kNodeLink).
  QNNodeDialog(int kind, const QNTexts& texts, QWidget* parent = nullptr);
  // An existing node; `editable`: title, address and type may be changed.
  QNNodeDialog(const QNNodeFacts& facts, bool editable, const QNTexts& texts,
               QWidget* parent = nullptr);

  QNNodeEdit Edit() const;

 private:
  void BuildCommon(const QNTexts& texts, bool severalUrls);

  QFormLayout* form_ = nullptr;
  QLineEdit* title_ = nullptr;
  QLineEdit* url_ = nullptr;        // an existing node's address
  QPlainTextEdit* urls_ = nullptr;  // a new node's addresses, one a line
  QComboBox* type_ = nullptr;
};

}  // namespace qn
