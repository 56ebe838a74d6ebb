#pragma once
#include <QFont>
#include <QString>

class QWidget;
class QPrinter;
class DataGrid;

// Prints a grid as the user sees it: the visible columns in grid order with
// their titles, every row, values formatted as in the grid, scaled to the
// page width, 1 cm margins.
struct GridPrintOptions {
  QString pageHeader;   // printed at the top of every page
  QFont headerFont;
  QString textBefore;   // a line of text before the table
  QFont textFont;
  bool landscape = false;
  bool pageNumbers = false;  // "第 n 页 共 m 页" at the foot of each page
};

namespace GridPrinter {
// Qt's print preview, from which the user prints or saves a PDF.
void preview(QWidget* parent, DataGrid* grid, const GridPrintOptions& options);
// Writes the printout straight to a PDF file; false when it cannot be written.
bool printToPdf(DataGrid* grid, const GridPrintOptions& options, const QString& pdfPath);
// Lays the printout out on a printer that is already set up; false when the
// printer cannot be started. Used by both of the above.
bool render(QPrinter* printer, DataGrid* grid, const GridPrintOptions& options);
}  // namespace GridPrinter
