#pragma once
#include "toolkit/ChildWindow.h"

class DataGrid;
class DataSet;
class QAction;
class QMenu;
class QTreeWidget;

// The processes of each trade: the trades on the left, the chosen trade's
// processes with their prices on the right.
class TfrmJjgx : public TChildWindow {
  Q_OBJECT
 public:
  explicit TfrmJjgx(QWidget* parent = nullptr);

  QTreeWidget* tvGz;
  DataGrid* grid;
  DataSet* qryJjgx;
  QMenu* pmJjgx;
  QAction *btnAppend, *btnMdy, *btnDel, *btnPrint, *btnLocate, *btnSetup, *btnExport, *btnClose;

 private:
  void fillTrades();
  void openGrid();
  QString gzcode() const;  // of the selected trade; empty when none
  void btnAppendClick();
  void btnMdyClick();
  void btnDelClick();
  void btnPrintClick();
  void btnLocateClick();
};
