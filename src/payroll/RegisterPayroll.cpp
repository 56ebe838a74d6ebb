#include "app/Commands.h"

// The payroll windows register in three groups: items and formulas, the
// salary sheet with the carry-over, and the reports.
void registerItemCommands();
void registerSheetCommands();
void registerReportCommands();

void registerPayrollCommands() {
  registerItemCommands();
  registerSheetCommands();
  registerReportCommands();
}
