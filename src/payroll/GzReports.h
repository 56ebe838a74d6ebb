#pragma once

class QWidget;
class DataGrid;

// The salary reports printed from the salary window's grid: one payslip per
// sheet row through the report template, and the payment sheet through the
// grid printer. Both use the grid's visible columns in grid order.
namespace GzReports {
void showPayslips(QWidget* parent, DataGrid* grid, int year, int month);
void showPaymentSheet(QWidget* parent, DataGrid* grid, int year, int month);
}  // namespace GzReports
