#pragma once
#include <QDialog>

class QProgressBar;
class QPushButton;

// Replaces the database file by the one in a backup archive, once checked.
class TfrmRestore : public QDialog {
  Q_OBJECT
 public:
  explicit TfrmRestore(QWidget* parent = nullptr);

  QProgressBar* pbRestore;
  QPushButton* btnRestore;
  QPushButton* btnCancel;

 private:
  void restore();
};
