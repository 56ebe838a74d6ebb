#include "payroll/GzReports.h"

namespace GzReports {
void showPayslips(QWidget*, DataGrid*, int, int) {}
void showPaymentSheet(QWidget*, DataGrid*, int, int) {}
}  // namespace GzReports
