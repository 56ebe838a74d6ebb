#pragma once
#include <QDialog>

class QComboBox;
class QLineEdit;
class QDateEdit;
class QPushButton;

// The login dialog: operator, password and business date.
class TfrmLogin : public QDialog {
  Q_OBJECT
 public:
  explicit TfrmLogin(QWidget* parent = nullptr);

  // Sets the session values from the confirmed dialog.
  void takeSession() const;

  QComboBox* cboName;
  QLineEdit* edtPwd;
  QDateEdit* edtDt;
  QPushButton* btnLogin;
  QPushButton* btnCancel;

 private:
  void login();
};
