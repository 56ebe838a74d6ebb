#include "payroll/GzReports.h"

#include <QFont>

#include "common/MyFun.h"
#include "store/DBFun.h"
#include "toolkit/Application.h"
#include "toolkit/DataGrid.h"
#include "toolkit/GridPrinter.h"
#include "toolkit/ReportEngine.h"

namespace {

// The payslip's data as the template pulls it: the sheet's rows in sheet
// order, and every visible grid column, so that a narrow window drops none.
class PayslipSource : public ReportSource {
 public:
  explicit PayslipSource(DataGrid* grid) : grid_(grid) {
    if (grid_) columns_ = grid_->visibleColumns();
  }
  int columns() const { return columns_.size(); }

  int masterCount() override {
    DataSet* ds = grid_ ? grid_->dataSet() : nullptr;
    return ds && ds->isActive() ? ds->recordCount() : 0;
  }
  void setMasterRow(int row) override { row_ = row; }
  QVariant value(const QString& name, int column) override {
    if (column < 0 || column >= columns_.size()) return {};
    const int c = columns_[column];
    if (name == "head") return grid_->column(c).title;
    if (name == "cell") return grid_->cellValue(row_, c);
    return {};
  }
  int columnWidth(int n) override {
    if (n < 1 || n > columns_.size()) return lastWidth_;
    const int c = columns_[n - 1];
    const int shown = grid_->columnWidth(c);
    lastWidth_ = shown > 0 ? shown : grid_->column(c).width;
    return lastWidth_;
  }
  int lastColumnWidth() override { return lastWidth_; }

 private:
  DataGrid* grid_;
  QVector<int> columns_;
  int row_ = -1;
  int lastWidth_ = 0;
};

void setUp(ReportEngine& engine, PayslipSource& source, int year, int month) {
  engine.loadFromFile(GzReports::payslipTemplatePath());
  engine.setSource(&source);
  engine.setColumnCount(source.columns());
  engine.setVariable("year", QString::number(year));
  engine.setVariable("month", QString::number(month));
  engine.setVariable("org", DBFun::getParam(8));
}

QString monthText(int year, int month) {
  return "   工资月份：" + QString::number(year) + "年" + QString::number(month) + "月";
}

}  // namespace

namespace GzReports {

QString payslipTemplatePath() { return MyFun::programDir() + "rep/gzbar.frf"; }

void showPayslips(QWidget* parent, DataGrid* grid, int year, int month) {
  ReportEngine engine;
  PayslipSource source(grid);
  setUp(engine, source, year, month);
  engine.showReport(parent, "工资条");
}

bool writePayslipsPdf(DataGrid* grid, int year, int month, const QString& pdfPath) {
  ReportEngine engine;
  PayslipSource source(grid);
  setUp(engine, source, year, month);
  return engine.prepare() && engine.exportPdf(pdfPath);
}

GridPrintOptions sheetPrintOptions(const QString& header, int year, int month) {
  GridPrintOptions o;
  o.pageHeader = header;
  o.headerFont = QFont(songFamily());
  o.headerFont.setBold(true);
  // 21 pixels of a 96-dpi screen; a pixel size would be taken in printer
  // dots and come out a fraction of a millimetre high.
  o.headerFont.setPointSizeF(21 * 72.0 / 96);
  o.textBefore = monthText(year, month);
  o.textFont = QFont(songFamily());
  o.textFont.setPointSize(11);
  return o;
}

void showPaymentSheet(QWidget* parent, DataGrid* grid, int year, int month) {
  GridPrinter::preview(parent, grid, sheetPrintOptions("工资发放表", year, month));
}

bool writePaymentSheetPdf(DataGrid* grid, int year, int month, const QString& pdfPath) {
  return GridPrinter::printToPdf(grid, sheetPrintOptions("工资发放表", year, month), pdfPath);
}

}  // namespace GzReports
