#pragma once
#include <QHash>

#include "store/Store.h"
#include "toolkit/ChildWindow.h"

class QAction;
class QLabel;
class DataGrid;
class DataSet;
class MonthPicker;

// The department summary of a salary month: one line per department with
// the sum of every item of the month's item copy.
class TfrmGzSum : public TChildWindow {
  Q_OBJECT
 public:
  explicit TfrmGzSum(QWidget* parent = nullptr);
  ~TfrmGzSum() override;

  int loadedYear() const { return year_; }
  int loadedMonth() const { return month_; }
  bool printToPdf(const QString& pdfPath);

  QAction* btnQuery;
  QAction* btnPrint;
  QAction* btnSetup;
  QAction* btnExport;
  QAction* btnExit;
  MonthPicker* edtMonth;
  DataGrid* grid;
  DataSet* tmp;

 private:
  void query();
  void buildColumns();
  void print();
  void setup();
  void exportGrid();

  int year_ = 0;
  int month_ = 0;
  QHash<QString, QString> departments_;
  Query qryXm;
};
