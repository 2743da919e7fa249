#pragma once

// One URL filter: whether matching addresses are loaded or skipped, the protocol,
// and the patterns for server, directory and file name ("*" any run of characters,
// "^" exactly one; an empty pattern is not tested).

#include <QDialog>
#include <string>
#include <vector>

#include "settings/FileTypes.h"
#include "text/Texts.h"

class QComboBox;
class QLineEdit;
class QRadioButton;

namespace qn {

class QNUrlFilterDialog : public QDialog {
  Q_OBJECT

 public:
  QNUrlFilterDialog(const CQNUrlFilter& filter, const QString& title, const QNTexts& texts,
                    QWidget* parent);

  CQNUrlFilter Filter() const;

 private:
  CQNUrlFilter filter_;
  QRadioButton* load_;
  QRadioButton* skip_;
  QComboBox* protocol_;
  QLineEdit* server_;
  QLineEdit* directory_;
  QLineEdit* file_;
};

// The protocol's name as the filter list shows it ("http", ..., 65053 "All").
QString ProtocolName(int protocol, const QNTexts& texts);

// A filter for the addresses of the selected nodes: one address gives its protocol,
// server, directory and file name as the filters split it; several leave the
// patterns empty.
CQNUrlFilter FilterForAddresses(const std::vector<std::string>& addresses);

}  // namespace qn
