#include "common/Setup.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QListWidget>
#include <QScreen>
#include <QTemporaryFile>
#include <QVBoxLayout>
#include <xlsxwriter.h>

#include "common/MyFun.h"
#include "toolkit/DataGrid.h"
#include "toolkit/FileDialog.h"
#include "toolkit/MsgBox.h"

namespace {
QString colKey(int i) { return QStringLiteral("col") + QString::number(i); }

bool shownIn(const QString& section, int i) {
  return MyFun::readIni(section, colKey(i), QStringLiteral("1")) == QLatin1String("1");
}

bool isNumber(const QVariant& v) {
  switch (v.typeId()) {
    case QMetaType::Double:
    case QMetaType::Float:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
      return true;
    default:
      return false;
  }
}

// The grid's display formats ("0.00", "#,##0.00") are Excel number formats
// as they stand.
lxw_format* numberFormat(lxw_workbook* wb, QHash<QString, lxw_format*>& cache, const QString& pattern) {
  if (pattern.isEmpty()) return nullptr;
  auto it = cache.find(pattern);
  if (it != cache.end()) return it.value();
  lxw_format* f = workbook_add_format(wb);
  format_set_num_format(f, pattern.toUtf8().constData());
  cache.insert(pattern, f);
  return f;
}
}  // namespace

namespace Setup {

void loadColumns(const QString& section, DataGrid* grid) {
  if (!grid) return;
  for (int i = 0; i < grid->columnCount(); ++i)
    if (grid->column(i).tag == 0) grid->setColumnVisible(i, shownIn(section, i));
}

void showDialog(QWidget* parent, const QString& section, DataGrid* grid) {
  TfrmSetup dlg(parent);
  dlg.setSection(section);
  dlg.setGrid(grid);
  dlg.exec();
}

bool writeXlsx(DataGrid* grid, const QString& path, QString* error) {
  auto fail = [error](const QString& why) {
    if (error) *error = why;
    return false;
  };
  const QFileInfo target(path);
  // Written beside the target first, so a failure leaves an existing file as it was.
  QTemporaryFile tmp(target.absolutePath() + "/" + target.fileName() + ".XXXXXX");
  if (!tmp.open()) return fail(tmp.errorString());
  const QString tmpPath = tmp.fileName();
  tmp.close();

  const QByteArray tmpName = QFile::encodeName(tmpPath);
  lxw_workbook* wb = workbook_new(tmpName.constData());
  if (!wb) return fail(QStringLiteral("无法创建文件"));
  lxw_worksheet* ws = workbook_add_worksheet(wb, nullptr);
  lxw_format* head = workbook_add_format(wb);
  format_set_bold(head);
  format_set_align(head, LXW_ALIGN_CENTER);
  QHash<QString, lxw_format*> formats;

  const QVector<int> cols = grid->visibleColumns();
  DataSet* ds = grid->dataSet();
  const int rows = ds ? ds->recordCount() : 0;
  for (int c = 0; c < cols.size(); ++c) {
    const GridColumn& col = grid->column(cols[c]);
    worksheet_set_column(ws, c, c, qBound(6.0, col.width / 7.0, 60.0), nullptr);
    worksheet_write_string(ws, 0, c, col.title.toUtf8().constData(), head);
  }
  for (int r = 0; r < rows; ++r) {
    for (int c = 0; c < cols.size(); ++c) {
      const GridColumn& col = grid->column(cols[c]);
      const QVariant v = grid->cellValue(r, cols[c]);
      if (v.isNull() || !v.isValid()) continue;
      if (!col.displayText && isNumber(v)) {
        worksheet_write_number(ws, r + 1, c, v.toDouble(), numberFormat(wb, formats, col.displayFormat));
      } else {
        const QByteArray text = grid->cellText(r, cols[c]).toUtf8();
        if (!text.isEmpty()) worksheet_write_string(ws, r + 1, c, text.constData(), nullptr);
      }
    }
  }
  worksheet_freeze_panes(ws, 1, 0);
  const lxw_error rc = workbook_close(wb);
  if (rc != LXW_NO_ERROR) {
    QFile::remove(tmpPath);
    return fail(QString::fromUtf8(lxw_strerror(rc)));
  }
  if (target.exists() && !QFile::remove(path)) {
    QFile::remove(tmpPath);
    return fail(QStringLiteral("无法替换 %1").arg(path));
  }
  if (!QFile::rename(tmpPath, path)) {
    QFile::remove(tmpPath);
    return fail(QStringLiteral("无法写入 %1").arg(path));
  }
  QFile(path).setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
  return true;
}

void exportGrid(DataGrid* grid, QWidget* parent) {
  if (!grid || !grid->dataSet() || !grid->dataSet()->isActive()) return;
  QString name = FileDialog::getSaveFileName(parent, QStringLiteral("另存为"), MyFun::programDir(),
                                             QStringLiteral("Excel Files(*.xlsx)"));
  if (name.isEmpty()) return;
  if (!name.endsWith(QLatin1String(".xlsx"))) name += QLatin1String(".xlsx");
  QString why;
  if (!writeXlsx(grid, name, &why)) MsgBox::error(QStringLiteral("导出失败(") + why + ")", QStringLiteral("提示"), parent);
}

}  // namespace Setup

// ---------------------------------------------------------------- dialog

TfrmSetup::TfrmSetup(QWidget* parent) : QDialog(parent) {
  setObjectName("TfrmSetup");
  setWindowTitle(QStringLiteral("项目显示设置"));
  setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);

  grpItems = new QGroupBox(QStringLiteral("项目列表"), this);
  grpItems->setObjectName("grpItems");
  chkList = new QListWidget(grpItems);
  chkList->setObjectName("chkList");
  // two columns of entries, filled row by row
  chkList->setViewMode(QListView::ListMode);
  chkList->setFlow(QListView::LeftToRight);
  chkList->setWrapping(true);
  chkList->setResizeMode(QListView::Adjust);
  chkList->setMovement(QListView::Static);
  chkList->setTextElideMode(Qt::ElideNone);
  chkList->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  connect(chkList, &QListWidget::itemChanged, this, [this] { apply(); });

  auto* inner = new QVBoxLayout(grpItems);
  inner->addWidget(chkList);
  auto* outer = new QVBoxLayout(this);
  outer->addWidget(grpItems);
  setFixedSize(390, 360);
}

void TfrmSetup::showEvent(QShowEvent* event) {
  fill();
  QDialog::showEvent(event);
  if (QScreen* screen = this->screen()) move(screen->availableGeometry().center() - rect().center());
}

void TfrmSetup::fill() {
  filling_ = true;
  chkList->clear();
  if (grid_) {
    QFont bold = chkList->font();
    bold.setBold(true);
    for (int i = 0; i < grid_->columnCount(); ++i) {
      auto* item = new QListWidgetItem(grid_->column(i).title, chkList);
      item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable | Qt::ItemIsSelectable);
      item->setFont(bold);
      item->setForeground(Qt::blue);
      item->setSizeHint(QSize(155, 24));
      item->setCheckState(shownIn(section_, i) ? Qt::Checked : Qt::Unchecked);
    }
  }
  filling_ = false;
}

void TfrmSetup::apply() {
  if (filling_ || !grid_) return;
  try {
    for (int i = 0; i < chkList->count() && i < grid_->columnCount(); ++i) {
      if (grid_->column(i).tag == 1) continue;
      const bool on = chkList->item(i)->checkState() == Qt::Checked;
      grid_->setColumnVisible(i, on);
      MyFun::writeIni(section_, colKey(i), on ? QStringLiteral("1") : QStringLiteral("0"));
    }
  } catch (const std::exception& e) {
    MsgBox::error(QString::fromUtf8(e.what()), QStringLiteral("错误"), this);
  }
}
