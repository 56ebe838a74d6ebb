#pragma once
#include <QDialog>
#include <QPointer>
#include <QString>

class DataGrid;
class QListWidget;
class QListWidgetItem;
class QGroupBox;

// Per-grid column choices kept in config.ini: section = the window's name,
// key "col" + column number, "1" shows and anything else hides. Columns with
// Tag 1 are the window's own business and are never touched.
namespace Setup {
// Applies the saved choice to the grid's ordinary columns.
void loadColumns(const QString& section, DataGrid* grid);
// The "设置" button: the column settings dialog over the grid, modal.
void showDialog(QWidget* parent, const QString& section, DataGrid* grid);
// The "导出" button: asks for a file name and writes the grid's visible
// columns and every row as an Excel workbook; tells the user when the file
// cannot be written.
void exportGrid(DataGrid* grid, QWidget* parent = nullptr);
// Writes the workbook; false with the reason when it cannot. An existing file
// is replaced only once the new one is complete.
bool writeXlsx(DataGrid* grid, const QString& path, QString* error = nullptr);
}  // namespace Setup

// The column settings dialog: every click is applied to the grid and written
// at once; there is nothing to confirm.
class TfrmSetup : public QDialog {
  Q_OBJECT
 public:
  explicit TfrmSetup(QWidget* parent = nullptr);
  void setSection(const QString& section) { section_ = section; }
  void setGrid(DataGrid* grid) { grid_ = grid; }

  QGroupBox* grpItems;
  QListWidget* chkList;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void fill();
  void apply();

  QString section_;
  QPointer<DataGrid> grid_;
  bool filling_ = false;
};
