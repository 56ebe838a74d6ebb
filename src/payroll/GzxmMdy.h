#pragma once
#include <QDialog>

class QComboBox;
class QLineEdit;
class QPushButton;

// Adds salary items (any number in one session) or changes one item's name
// and width. A new item is a gzxm row and a gzdata column, written together.
class TfrmGzxmMdy : public QDialog {
  Q_OBJECT
 public:
  enum Mode { Add = 1, Modify = 2 };

  explicit TfrmGzxmMdy(QWidget* parent = nullptr);
  void setMode(Mode mode, int xh = 0);

  QLineEdit* edtName;
  QLineEdit* edtSize;
  QComboBox* cboTp;
  QPushButton* btnSave;
  QPushButton* btnCancel;

 private:
  void save();

  Mode mode_ = Add;
  int xh_ = 0;
};
