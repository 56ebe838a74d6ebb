#pragma once
#include <QHash>

#include "piecework/JjDataSel.h"
#include "store/Store.h"
#include "toolkit/ChildWindow.h"
#include "toolkit/DataSet.h"
#include "toolkit/GridPrinter.h"

class QAction;
class QLabel;
class QMenu;
class DataGrid;

// The piece-work list of one month: by record, or by line with the workers.
class TfrmJjData : public TChildWindow {
  Q_OBJECT
 public:
  explicit TfrmJjData(QWidget* parent = nullptr);
  ~TfrmJjData() override;

  void setTitle(const QString& text);
  QString title() const;
  // Runs the statement and rebuilds the list; on a refused statement the
  // store's message is shown, the list keeps what it had and false returns.
  bool run(const JjFilter& filter);
  bool detail() const { return detail_; }
  const JjFilter& lastFilter() const { return filter_; }

  DataSet* list() { return &tmp; }
  DataGrid* dataGrid() const { return grid; }
  GridPrintOptions printOptions() const;

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  struct Employee {
    QString name, bmcode, sex;
  };

  void readLookups();
  void rebuild();
  void rerun();
  void btnQueryClick();
  void btnAppendClick();
  void btnMdyClick();
  void btnDelClick();
  void btnPrintClick();
  void btnSetupClick();
  void btnExportClick();

  QLabel* lblTitle;
  DataGrid* grid;
  QMenu* popup;
  Query qry;
  DataSet tmp;
  JjFilter filter_;
  bool detail_ = false;
  bool ran_ = false;

  QHash<QString, QString> trades_, coefficients_, departments_, positions_;
  QHash<QString, QString> processes_;  // by trade code + "\x1f" + process code
  QHash<QString, Employee> employees_;
};
