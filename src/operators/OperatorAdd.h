#pragma once
#include <QDialog>

class QLineEdit;
class QPushButton;

// Creates operators one after another; the boxes are emptied after each.
class TfrmOperatorAdd : public QDialog {
  Q_OBJECT
 public:
  explicit TfrmOperatorAdd(QWidget* parent = nullptr);

  QLineEdit* edtOperNo;
  QLineEdit* edtOperName;
  QLineEdit* edtPwd;
  QLineEdit* edtPwd2;
  QLineEdit* edtDept;
  QPushButton* btnSave;
  QPushButton* btnCancel;

 private:
  void save();
};
