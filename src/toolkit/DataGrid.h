#pragma once
#include <QAbstractTableModel>
#include <QPointer>
#include <QStringList>
#include <QMenu>
#include <QTableView>
#include <QVector>
#include <functional>

#include "toolkit/DataSet.h"

// One column of a data grid.
struct GridColumn {
  QString field;
  QString title;
  int width = 80;
  QString displayFormat;   // "0.00", "0.0000", "#,##0.00"; empty shows the value as it is
  bool readOnly = false;
  bool infoColor = false;  // shaded like an information field (read-only look)
  int tag = 0;             // 0 ordinary, 1 fixed: its visibility is the window's business
  bool visible = true;
  QStringList pickList;    // a drop-down of choices
  bool pickListOnly = false;  // the drop-down takes no typed text
  bool ellipsis = false;   // an ellipsis button while the cell is edited
  std::function<QString(const QVariant&)> displayText;  // e.g. words for stored codes
  Qt::Alignment alignment = {};  // default: numbers right, text left
};

// Formats a value the way a column with that display format shows it.
QString formatValue(const QVariant& value, const QString& displayFormat);

class DataGridModel;

// A grid over a DataSet. Typing starts an edit, moving to another row posts
// (a refused post keeps the row), Enter moves on as Tab does, and with
// auto-append moving past the last row appends one.
class DataGrid : public QTableView {
  Q_OBJECT
 public:
  explicit DataGrid(QWidget* parent = nullptr);

  using QTableView::edit;
  void setDataSet(DataSet* dataSet);
  DataSet* dataSet() const { return ds_; }

  void setColumns(const QVector<GridColumn>& columns);
  void addColumn(const GridColumn& column);
  void clearColumns();
  int columnCount() const { return columns_.size(); }
  const GridColumn& column(int i) const { return columns_[i]; }
  // Changes a column in place (title, format, flags); the view follows.
  void updateColumn(int i, const std::function<void(GridColumn&)>& change);
  int columnOfField(const QString& field) const;  // -1 when absent
  void setColumnVisible(int i, bool visible);
  bool isColumnVisible(int i) const;
  QVector<int> visibleColumns() const;  // in grid order

  void setGridReadOnly(bool readOnly);
  bool isGridReadOnly() const { return readOnly_; }
  void setAutoAppend(bool on) { autoAppend_ = on; }

  QString cellText(int row, int column) const;  // as the grid shows it
  QVariant cellValue(int row, int column) const;
  int currentColumn() const;
  void setCurrentCell(int row, int column);
  void moveNext();           // what Enter does
  void clickEditButton();    // the ellipsis button of the current cell
  void setPopupMenu(QMenu* menu);  // shown on a right click in the grid

 signals:
  void editButtonClicked(int column);

 protected:
  // Opening a cell editor puts a browsing row into editing, as typing does.
  bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
  void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;

 private:
  friend class DataGridModel;
  friend class DataGridDelegate;
  void applyColumns();
  void followDataSet();
  bool appendRow();

  QPointer<DataSet> ds_;
  DataGridModel* model_;
  QVector<GridColumn> columns_;
  bool readOnly_ = false;
  bool autoAppend_ = false;
  bool syncing_ = false;
};

class DataGridModel : public QAbstractTableModel {
  Q_OBJECT
 public:
  explicit DataGridModel(DataGrid* grid);
  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  bool setData(const QModelIndex& index, const QVariant& value, int role) override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;

  void attach(DataSet* ds);
  void columnsChanged();

 private:
  DataGrid* grid_;
  int rows_ = 0;
  QList<QMetaObject::Connection> links_;
};
