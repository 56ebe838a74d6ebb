#pragma once
#include "toolkit/ChildWindow.h"

class DataGrid;
class DataSet;
class QAction;
class QLabel;
class QMenu;
class QTreeWidget;

// The employee roster: the departments on the left, the chosen department's
// employees on the right.
class TfrmWorker : public TChildWindow {
  Q_OBJECT
 public:
  explicit TfrmWorker(QWidget* parent = nullptr);

  QTreeWidget* tvBm;
  DataGrid* grid;
  DataSet* qryWorker;
  QMenu* pmWorker;
  QAction *btnAppend, *btnMdy, *btnDel, *btnPrint, *btnLocate, *btnSetup, *btnExport, *btnClose;

 private:
  void fillDepartments();
  void openGrid();
  QString bmcode() const;  // of the selected department; empty when none
  void btnAppendClick();
  void btnMdyClick();
  void btnDelClick();
  void btnPrintClick();
  void btnLocateClick();
};
