#pragma once
#include <QHash>
#include <QString>

#include "store/Store.h"
#include "toolkit/ChildWindow.h"
#include "toolkit/DataSet.h"

class DataGrid;
class MonthPicker;
class QAction;
class TExParser;

// The monthly salary sheet: one row per employee, one column per salary item
// of the month's item copy. Mode 0 enters and calculates, modes 1 and 2 are
// read-only views from which payslips and the payment sheet are printed.
class TfrmGzData : public TChildWindow {
  Q_OBJECT
 public:
  explicit TfrmGzData(QWidget* parent = nullptr);
  ~TfrmGzData() override;

  // Set by the opener right after creation: 0 entry, 1 payslips, 2 payment sheet.
  void setMode(int mode);
  int mode() const { return mode_; }

  int loadedYear() const { return loadedYear_; }
  int loadedMonth() const { return loadedMonth_; }
  DataSet* sheet() { return &tmp; }
  DataGrid* dataGrid() const { return grid; }
  MonthPicker* monthPicker() const { return edtMonth; }

  // The operations of the sheet, in the order a load and a calculation use them.
  void PrepareMonth(int year, int month);
  void LoadSheet();
  void BuildColumns();
  void CalcSheet();
  void SaveSheet();
  double PieceSum(int column);  // 0: piece-work amount, 1: quantity, of the current row
  double ExParser1Variable(const QString& name);

 private:
  void btnLoadClick();
  void btnRegenClick();
  void btnCalcClick();
  void btnPayslipClick();
  void btnPaySheetClick();
  void btnSetupClick();
  void btnExportClick();

  void loadMonth();
  void defineSheet();
  void commitEdit();
  void loadPieceSums();
  QString settingsSection() const { return QStringLiteral("GzData") + QString::number(mode_); }
  QAction* addButton(const QString& name, const QString& text, int icon);

  int mode_ = 0;
  int loadedYear_ = 0;
  int loadedMonth_ = 0;

  Query qryGs;      // formulas, read once when the window opens
  Query qryDepart;  // departments, read once
  Query qryTp;      // positions, read once
  Query qryXm;      // the loaded month's item copy
  QHash<QString, QString> departNames_, tpNames_;
  QHash<QString, int> itemIndex_;  // item name as stored and in lower case -> field of tmp
  QHash<QString, bool> textItem_;  // fname -> stored as text

  // Piece-work sums of every employee for the month, read once per calculation.
  struct Piece {
    double je = 0, sl = 0;
  };
  bool pieceCached_ = false;
  QString pieceError_;
  QHash<QString, Piece> pieceSums_;

  DataSet tmp;
  DataGrid* grid = nullptr;
  MonthPicker* edtMonth = nullptr;
  QAction* btnCalc = nullptr;
  QAction* btnRegen = nullptr;
  QAction* btnPayslip = nullptr;
  QAction* btnPaySheet = nullptr;
};
