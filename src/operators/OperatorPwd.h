#pragma once
#include <QDialog>

class QLineEdit;
class QPushButton;

// Changes the logged-in operator's own password.
class TfrmOperatorPwd : public QDialog {
  Q_OBJECT
 public:
  explicit TfrmOperatorPwd(QWidget* parent = nullptr);

  QLineEdit* edtOperName;
  QLineEdit* edtOldPwd;
  QLineEdit* edtNewPwd;
  QLineEdit* edtNewPwd2;
  QPushButton* btnSave;
  QPushButton* btnClose;

 private:
  void save();
};
