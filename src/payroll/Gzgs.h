#pragma once
#include "toolkit/ChildWindow.h"
#include "toolkit/DataSet.h"

class DataGrid;
class QAction;
class QMenu;
class QToolButton;

// The salary formulas whose target item exists, with add, modify and delete.
class TfrmGzgs : public TChildWindow {
  Q_OBJECT
 public:
  explicit TfrmGzgs(QWidget* parent = nullptr);

  DataSet qryGzgs;
  DataGrid* grid;
  QToolButton* btnAppend;
  QToolButton* btnMdy;
  QToolButton* btnDel;
  QToolButton* btnExit;
  QMenu* pmGrid;

  void append();
  void modify();
  void remove();

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void reopen();
};
