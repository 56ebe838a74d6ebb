#pragma once
#include <QString>

class QWidget;
class DataGrid;
class ReportEngine;
struct GridPrintOptions;

// The salary reports printed from the salary window's grid: one payslip per
// sheet row through the report template, and the payment sheet through the
// grid printer. Both use the grid's visible columns in grid order. The
// caller has made the permission test.
namespace GzReports {
void showPayslips(QWidget* parent, DataGrid* grid, int year, int month);
void showPaymentSheet(QWidget* parent, DataGrid* grid, int year, int month);

// The same printouts written straight to a PDF file; false when there is no
// usable template or the file cannot be written.
bool writePayslipsPdf(DataGrid* grid, int year, int month, const QString& pdfPath);
bool writePaymentSheetPdf(DataGrid* grid, int year, int month, const QString& pdfPath);

// "   工资月份：2010年4月" before the table, in 宋体 11 pt, and the page header
// in 宋体 bold 21 pixels; shared with the department summary.
GridPrintOptions sheetPrintOptions(const QString& header, int year, int month);
QString payslipTemplatePath();
}  // namespace GzReports
