#pragma once
#include <QDialog>
#include <QPointer>

class DataGrid;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;

// The grid's find dialog (Ctrl+F in any data grid): looks for a text in the
// cells as the grid shows them, from the cell after the current one onwards,
// going round to the top once.
namespace GridFind {
void install(DataGrid* grid);
// column: a grid column, or -1 for every visible column. Moves the grid's
// current cell to the match; false when nothing matches.
bool findNext(DataGrid* grid, const QString& text, int column, bool wholeCell);
}  // namespace GridFind

class TfrmGridFind : public QDialog {
  Q_OBJECT
 public:
  explicit TfrmGridFind(DataGrid* grid);

  QLineEdit* edtText;
  QComboBox* cboColumn;
  QCheckBox* chkWhole;
  QPushButton* btnFind;
  QPushButton* btnClose;

 private:
  void find();
  QPointer<DataGrid> grid_;
};
