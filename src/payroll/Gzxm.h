#pragma once
#include <QDialog>

#include "toolkit/DataSet.h"

class DataGrid;
class QPushButton;

// The salary items: a modal list with add, modify and delete.
class TfrmGzxm : public QDialog {
  Q_OBJECT
 public:
  explicit TfrmGzxm(QWidget* parent = nullptr);

  DataSet qryGzxm;
  DataGrid* grid;
  QPushButton* btnAppend;
  QPushButton* btnMdy;
  QPushButton* btnDel;
  QPushButton* btnExit;

  void append();
  void modify();
  void remove();

 protected:
  void showEvent(QShowEvent* event) override;
  void done(int r) override;

 private:
  void reopen();
};
