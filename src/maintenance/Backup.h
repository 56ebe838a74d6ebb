#pragma once
#include <QDialog>

class QLineEdit;
class QProgressBar;
class QPushButton;
class QToolButton;

// Packs the database file into a dated zip archive in a chosen directory.
class TfrmBackup : public QDialog {
  Q_OBJECT
 public:
  explicit TfrmBackup(QWidget* parent = nullptr);

  QLineEdit* edtDir;
  QToolButton* btnDir;
  QProgressBar* pbBackup;
  QPushButton* btnBackup;
  QPushButton* btnCancel;

 private:
  void chooseDir();
  void backup();
};
