#include "toolkit/DataGrid.h"

#include <QComboBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QLocale>
#include <QStyledItemDelegate>
#include <QTimer>
#include <QToolButton>
#include <QToolTip>

#include "common/MyFun.h"
#include "toolkit/GridFind.h"
#include "toolkit/MsgBox.h"

namespace {
// Information fields are shaded like the system's tooltips.
QColor infoColor() { return QToolTip::palette().color(QPalette::Inactive, QPalette::ToolTipBase); }

bool isNumber(const QVariant& v) {
  switch (v.typeId()) {
    case QMetaType::Double:
    case QMetaType::Float:
    case QMetaType::Int:
    case QMetaType::LongLong:
      return true;
    default:
      return false;
  }
}
}  // namespace

QString formatValue(const QVariant& value, const QString& format) {
  if (value.isNull() || !value.isValid()) return QString();
  if (format.isEmpty()) {
    if (value.typeId() == QMetaType::Double) return QString::number(value.toDouble(), 'g', 15);
    return value.toString();
  }
  bool ok = isNumber(value);
  double d = ok ? value.toDouble() : value.toString().trimmed().toDouble(&ok);
  if (!ok) return value.toString();
  int dot = format.indexOf('.');
  int decimals = dot < 0 ? 0 : format.size() - dot - 1;
  QString text = QString::number(MyFun::roundTo(decimals, d), 'f', decimals);
  if (format.contains(',')) {
    bool negative = text.startsWith('-');
    if (negative) text.remove(0, 1);
    int point = text.indexOf('.');
    if (point < 0) point = text.size();
    for (int i = point - 3; i > 0; i -= 3) text.insert(i, ',');
    if (negative) text.prepend('-');
  }
  return text;
}

// ---------------------------------------------------------------- delegate

class DataGridDelegate : public QStyledItemDelegate {
 public:
  explicit DataGridDelegate(DataGrid* grid) : QStyledItemDelegate(grid), grid_(grid) {}

  QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                        const QModelIndex& index) const override {
    const GridColumn& c = grid_->column(index.column());
    if (!c.pickList.isEmpty()) {
      auto* combo = new QComboBox(parent);
      combo->setEditable(!c.pickListOnly);
      combo->addItems(c.pickList);
      combo->setObjectName("gridPickList");
      return combo;
    }
    auto* edit = new QLineEdit(parent);
    edit->setObjectName("gridEditor");
    if (c.ellipsis) {
      auto* button = new QToolButton(edit);
      button->setObjectName("gridEllipsis");
      button->setText("...");
      button->setCursor(Qt::ArrowCursor);
      button->setFocusPolicy(Qt::NoFocus);
      int h = option.rect.height();
      button->setFixedSize(h, h);
      edit->setTextMargins(0, 0, h, 0);
      QObject::connect(button, &QToolButton::clicked, grid_, [g = grid_] { g->clickEditButton(); });
      edit->installEventFilter(const_cast<DataGridDelegate*>(this));
      edit->setProperty("ellipsis", true);
    }
    return edit;
  }

  void updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option,
                            const QModelIndex& index) const override {
    QStyledItemDelegate::updateEditorGeometry(editor, option, index);
    if (auto* b = editor->findChild<QToolButton*>("gridEllipsis")) {
      int h = editor->height();
      b->setFixedSize(h, h);
      b->move(editor->width() - h, 0);
    }
  }

  void setEditorData(QWidget* editor, const QModelIndex& index) const override {
    QString text = index.data(Qt::EditRole).toString();
    if (auto* combo = qobject_cast<QComboBox*>(editor)) {
      int i = combo->findText(text);
      if (i >= 0)
        combo->setCurrentIndex(i);
      else if (combo->isEditable())
        combo->setEditText(text);
      return;
    }
    if (auto* edit = qobject_cast<QLineEdit*>(editor)) {
      // a key that opened the editor has already been typed into it
      if (!edit->property("opened").toBool()) {
        edit->setText(text);
        edit->setProperty("opened", true);
      }
    }
  }

  void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override {
    if (auto* combo = qobject_cast<QComboBox*>(editor)) {
      model->setData(index, combo->currentText(), Qt::EditRole);
      return;
    }
    if (auto* edit = qobject_cast<QLineEdit*>(editor)) {
      if (edit->text() != index.data(Qt::EditRole).toString()) model->setData(index, edit->text(), Qt::EditRole);
    }
  }

 protected:
  bool eventFilter(QObject* object, QEvent* event) override {
    if (event->type() == QEvent::KeyPress) {
      auto* key = static_cast<QKeyEvent*>(event);
      // Ctrl+Enter opens the picker of an ellipsis cell
      if (object->property("ellipsis").toBool() && (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) &&
          (key->modifiers() & Qt::ControlModifier)) {
        grid_->clickEditButton();
        return true;
      }
      if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
        auto* editor = qobject_cast<QWidget*>(object);
        emit const_cast<DataGridDelegate*>(this)->commitData(editor);
        emit const_cast<DataGridDelegate*>(this)->closeEditor(editor, QAbstractItemDelegate::EditNextItem);
        return true;
      }
    }
    return QStyledItemDelegate::eventFilter(object, event);
  }

 private:
  DataGrid* grid_;
};

// ---------------------------------------------------------------- model

DataGridModel::DataGridModel(DataGrid* grid) : QAbstractTableModel(grid), grid_(grid) {}

void DataGridModel::attach(DataSet* ds) {
  for (auto& l : links_) disconnect(l);
  links_.clear();
  beginResetModel();
  rows_ = ds ? ds->recordCount() : 0;
  endResetModel();
  if (!ds) return;
  links_ << connect(ds, &DataSet::reset, this, [this, ds] {
    beginResetModel();
    rows_ = ds->recordCount();
    endResetModel();
    grid_->followDataSet();
  });
  links_ << connect(ds, &DataSet::rowChanged, this, [this](int row) {
    if (row >= 0 && row < rows_) emit dataChanged(index(row, 0), index(row, columnCount() - 1));
  });
  links_ << connect(ds, &DataSet::rowInserted, this, [this](int row) {
    beginInsertRows({}, row, row);
    ++rows_;
    endInsertRows();
  });
  links_ << connect(ds, &DataSet::rowRemoved, this, [this](int row) {
    beginRemoveRows({}, row, row);
    --rows_;
    endRemoveRows();
  });
  links_ << connect(ds, &DataSet::currentChanged, grid_, [this] { grid_->followDataSet(); });
}

void DataGridModel::columnsChanged() {
  beginResetModel();
  endResetModel();
}

int DataGridModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : rows_; }

int DataGridModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : grid_->columns_.size();
}

QVariant DataGridModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || !grid_->ds_) return {};
  const GridColumn& c = grid_->columns_[index.column()];
  switch (role) {
    case Qt::DisplayRole:
      return grid_->cellText(index.row(), index.column());
    case Qt::EditRole: {
      QVariant v = grid_->cellValue(index.row(), index.column());
      if (v.typeId() == QMetaType::Double) return QString::number(v.toDouble(), 'g', 15);
      return v.toString();
    }
    case Qt::BackgroundRole:
      if (c.infoColor) return infoColor();
      return {};
    case Qt::TextAlignmentRole: {
      if (c.alignment) return int(c.alignment | Qt::AlignVCenter);
      int f = grid_->ds_->fieldIndex(c.field);
      bool numeric = f >= 0 && (grid_->ds_->fieldDef(f).type == FieldType::Float ||
                                grid_->ds_->fieldDef(f).type == FieldType::Integer);
      if (!c.displayFormat.isEmpty() || numeric) return int(Qt::AlignRight | Qt::AlignVCenter);
      return int(Qt::AlignLeft | Qt::AlignVCenter);
    }
    default:
      return {};
  }
}

bool DataGridModel::setData(const QModelIndex& index, const QVariant& value, int role) {
  if (role != Qt::EditRole || !grid_->ds_) return false;
  DataSet* ds = grid_->ds_;
  // an editor still open on a row that was just cancelled away has nowhere to go
  if (index.row() >= ds->recordCount()) return false;
  const GridColumn& c = grid_->columns_[index.column()];
  try {
    if (ds->recNo() != index.row()) ds->moveTo(index.row());
    ds->setValue(c.field, value);
  } catch (const Abort&) {
    return false;
  } catch (const std::exception& e) {
    MsgBox::error(QString::fromUtf8(e.what()), QStringLiteral("错误"), grid_);
    return false;
  }
  return true;
}

QVariant DataGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation == Qt::Horizontal && section >= 0 && section < grid_->columns_.size()) {
    if (role == Qt::DisplayRole) return grid_->columns_[section].title;
    if (role == Qt::TextAlignmentRole) return int(Qt::AlignCenter);
  }
  if (orientation == Qt::Vertical && role == Qt::DisplayRole) return QString();
  return {};
}

Qt::ItemFlags DataGridModel::flags(const QModelIndex& index) const {
  if (!index.isValid()) return Qt::NoItemFlags;
  Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
  if (!grid_->readOnly_ && !grid_->columns_[index.column()].readOnly) f |= Qt::ItemIsEditable;
  return f;
}

// ---------------------------------------------------------------- grid

DataGrid::DataGrid(QWidget* parent) : QTableView(parent), model_(new DataGridModel(this)) {
  setModel(model_);
  setItemDelegate(new DataGridDelegate(this));
  setEditTriggers(QAbstractItemView::AnyKeyPressed | QAbstractItemView::EditKeyPressed |
                  QAbstractItemView::DoubleClicked);
  horizontalHeader()->setDefaultAlignment(Qt::AlignCenter);
  horizontalHeader()->setHighlightSections(false);
  verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 8);
  verticalHeader()->setFixedWidth(14);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setAlternatingRowColors(false);
  GridFind::install(this);
}

void DataGrid::setDataSet(DataSet* ds) {
  ds_ = ds;
  model_->attach(ds);
  applyColumns();
  followDataSet();
}

void DataGrid::setColumns(const QVector<GridColumn>& columns) {
  columns_ = columns;
  model_->columnsChanged();
  applyColumns();
  followDataSet();
}

void DataGrid::addColumn(const GridColumn& column) {
  columns_.append(column);
  model_->columnsChanged();
  applyColumns();
}

void DataGrid::clearColumns() { setColumns({}); }

void DataGrid::updateColumn(int i, const std::function<void(GridColumn&)>& change) {
  change(columns_[i]);
  applyColumns();
  viewport()->update();
  horizontalHeader()->viewport()->update();
}

int DataGrid::columnOfField(const QString& field) const {
  for (int i = 0; i < columns_.size(); ++i)
    if (columns_[i].field.compare(field, Qt::CaseInsensitive) == 0) return i;
  return -1;
}

void DataGrid::setColumnVisible(int i, bool visible) {
  columns_[i].visible = visible;
  setColumnHidden(i, !visible);
}

bool DataGrid::isColumnVisible(int i) const { return i >= 0 && i < columns_.size() && columns_[i].visible; }

QVector<int> DataGrid::visibleColumns() const {
  QVector<int> out;
  for (int v = 0; v < columns_.size(); ++v) {
    int logical = horizontalHeader()->logicalIndex(v);
    if (logical >= 0 && columns_[logical].visible) out << logical;
  }
  return out;
}

void DataGrid::applyColumns() {
  for (int i = 0; i < columns_.size(); ++i) {
    setColumnHidden(i, !columns_[i].visible);
    setColumnWidth(i, columns_[i].width);
  }
}

void DataGrid::setGridReadOnly(bool readOnly) {
  readOnly_ = readOnly;
  setEditTriggers(readOnly ? QAbstractItemView::NoEditTriggers
                           : QAbstractItemView::AnyKeyPressed | QAbstractItemView::EditKeyPressed |
                                 QAbstractItemView::DoubleClicked);
}

QVariant DataGrid::cellValue(int row, int column) const {
  if (!ds_ || column < 0 || column >= columns_.size()) return {};
  int f = ds_->fieldIndex(columns_[column].field);
  return f < 0 ? QVariant() : ds_->valueAt(row, f);
}

QString DataGrid::cellText(int row, int column) const {
  if (column < 0 || column >= columns_.size()) return {};
  QVariant v = cellValue(row, column);
  const GridColumn& c = columns_[column];
  if (c.displayText) return c.displayText(v);
  return formatValue(v, c.displayFormat);
}

int DataGrid::currentColumn() const { return currentIndex().isValid() ? currentIndex().column() : -1; }

void DataGrid::setCurrentCell(int row, int column) { setCurrentIndex(model_->index(row, column)); }

void DataGrid::followDataSet() {
  if (!ds_ || syncing_) return;
  int row = ds_->recNo();
  if (row < 0 || row >= model_->rowCount()) return;
  int col = currentIndex().isValid() ? currentIndex().column() : -1;
  if (col < 0 || isColumnHidden(col)) {
    QVector<int> vis = visibleColumns();
    col = vis.isEmpty() ? 0 : vis.first();
  }
  if (currentIndex().row() == row && currentIndex().column() == col) return;
  syncing_ = true;
  setCurrentIndex(model_->index(row, col));
  syncing_ = false;
}

void DataGrid::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
  QTableView::currentChanged(current, previous);
  if (syncing_ || !ds_ || !current.isValid() || current.row() == ds_->recNo()) return;
  try {
    ds_->moveTo(current.row());
  } catch (const Abort&) {
  } catch (const std::exception& e) {
    MsgBox::error(QString::fromUtf8(e.what()), QStringLiteral("错误"), this);
  }
  // the move may have been refused or may have dropped an empty new row
  if (ds_->recNo() != current.row() || !ds_->isActive()) {
    QTimer::singleShot(0, this, [this] { followDataSet(); });
  }
}

bool DataGrid::appendRow() {
  if (!ds_ || readOnly_ || !ds_->isActive()) return false;
  if (ds_->state() == DataSet::Insert && !ds_->modified()) return false;
  try {
    ds_->append();
  } catch (const Abort&) {
    return false;
  } catch (const std::exception& e) {
    MsgBox::error(QString::fromUtf8(e.what()), QStringLiteral("错误"), this);
    return false;
  }
  QVector<int> vis = visibleColumns();
  setCurrentCell(ds_->recNo(), vis.isEmpty() ? 0 : vis.first());
  return true;
}

void DataGrid::moveNext() {
  QModelIndex cur = currentIndex();
  QVector<int> vis = visibleColumns();
  if (vis.isEmpty()) return;
  if (!cur.isValid()) {
    if (model_->rowCount() > 0) setCurrentCell(0, vis.first());
    return;
  }
  int pos = vis.indexOf(cur.column());
  if (pos >= 0 && pos + 1 < vis.size()) {
    setCurrentCell(cur.row(), vis[pos + 1]);
    return;
  }
  if (cur.row() + 1 < model_->rowCount()) {
    setCurrentCell(cur.row() + 1, vis.first());
  } else if (autoAppend_) {
    appendRow();
  }
}

void DataGrid::clickEditButton() {
  int col = currentColumn();
  if (col >= 0 && columns_[col].ellipsis) emit editButtonClicked(col);
}

void DataGrid::setPopupMenu(QMenu* menu) {
  setContextMenuPolicy(Qt::CustomContextMenu);
  connect(this, &QWidget::customContextMenuRequested, menu,
          [this, menu](const QPoint& at) { menu->popup(viewport()->mapToGlobal(at)); });
}

void DataGrid::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) {
  if (hint == QAbstractItemDelegate::EditNextItem) {
    QTableView::closeEditor(editor, QAbstractItemDelegate::NoHint);
    moveNext();
    return;
  }
  QTableView::closeEditor(editor, hint);
}

bool DataGrid::edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) {
  if (!QTableView::edit(index, trigger, event)) return false;
  if (ds_ && ds_->state() == DataSet::Browse && index.row() == ds_->recNo()) ds_->edit();
  return true;
}

void DataGrid::keyPressEvent(QKeyEvent* event) {
  switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
      if (state() != QAbstractItemView::EditingState) {
        moveNext();
        return;
      }
      break;
    case Qt::Key_Down:
      if (autoAppend_ && currentIndex().isValid() && currentIndex().row() == model_->rowCount() - 1) {
        appendRow();
        return;
      }
      if (autoAppend_ && model_->rowCount() == 0) {
        appendRow();
        return;
      }
      break;
    case Qt::Key_Escape:
      if (ds_ && ds_->isEditing() && state() != QAbstractItemView::EditingState) {
        ds_->cancel();
        return;
      }
      break;
    default:
      break;
  }
  QTableView::keyPressEvent(event);
}
