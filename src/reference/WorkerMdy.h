#pragma once
#include <QDialog>

class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QPushButton;

// Adds (mode 1) or modifies (mode 2) one employee. The caller sets the mode,
// the department, the caption, the department line and, when modifying, the
// control values before showing it.
class TfrmWorkerMdy : public QDialog {
  Q_OBJECT
 public:
  explicit TfrmWorkerMdy(QWidget* parent = nullptr);

  void setMode(int mode) { mode_ = mode; }
  int mode() const { return mode_; }
  void setBmcode(const QString& bmcode) { bmcode_ = bmcode; }
  QString bmcode() const { return bmcode_; }

  QLabel* lblBm;
  QLineEdit* edtCode;
  QLineEdit* edtName;
  QComboBox* cboSex;
  QComboBox* cboTp;
  QLineEdit* edtSfid;
  QLineEdit* edtXl;
  QLineEdit* edtAddr;
  QLineEdit* edtPhone;
  QDateEdit* dtpIndate;
  QLineEdit* edtBankacc;
  QComboBox* cboGztp;
  QComboBox* cboState;
  QLineEdit* edtMm;
  QPushButton* btnSave;
  QPushButton* btnCancel;

 private:
  void btnSaveClick();

  int mode_ = 1;
  QString bmcode_;
};
