#pragma once
#include <QMainWindow>

class QMdiArea;

// The main window: the multiple-document frame of the program.
class TfrmMain : public QMainWindow {
  Q_OBJECT
 public:
  explicit TfrmMain(QWidget* parent = nullptr);
  QMdiArea* mdiArea() const { return mdi_; }

 private:
  QMdiArea* mdi_;
};
