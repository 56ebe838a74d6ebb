#include "toolkit/GridFind.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "toolkit/DataGrid.h"
#include "toolkit/MsgBox.h"

namespace GridFind {

void install(DataGrid* grid) {
  auto* action = new QAction(QStringLiteral("查找"), grid);
  action->setObjectName("actGridFind");
  action->setShortcut(QKeySequence::Find);
  action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
  QObject::connect(action, &QAction::triggered, grid, [grid] {
    // one find dialog per grid, brought back when asked again
    auto* dlg = grid->findChild<TfrmGridFind*>(QString(), Qt::FindDirectChildrenOnly);
    if (!dlg) dlg = new TfrmGridFind(grid);
    dlg->show();
    dlg->raise();
    dlg->activateWindow();
  });
  grid->addAction(action);
}

bool findNext(DataGrid* grid, const QString& text, int column, bool wholeCell) {
  if (!grid || text.isEmpty() || !grid->dataSet()) return false;
  const int rows = grid->dataSet()->recordCount();
  QVector<int> cols = grid->visibleColumns();
  if (column >= 0) cols = cols.contains(column) ? QVector<int>{column} : QVector<int>{};
  if (rows == 0 || cols.isEmpty()) return false;
  const int n = rows * cols.size();
  int start = 0;
  const QModelIndex cur = grid->currentIndex();
  if (cur.isValid()) {
    const int pos = cols.indexOf(cur.column());
    start = cur.row() * cols.size() + (pos < 0 ? 0 : pos) + 1;
  }
  for (int k = 0; k < n; ++k) {
    const int at = (start + k) % n;
    const int r = at / cols.size(), c = cols[at % cols.size()];
    const QString cell = grid->cellText(r, c);
    const bool hit = wholeCell ? cell.compare(text, Qt::CaseInsensitive) == 0
                               : cell.contains(text, Qt::CaseInsensitive);
    if (hit) {
      grid->setCurrentCell(r, c);
      grid->scrollTo(grid->currentIndex());
      return true;
    }
  }
  return false;
}

}  // namespace GridFind

TfrmGridFind::TfrmGridFind(DataGrid* grid) : QDialog(grid), grid_(grid) {
  setObjectName("TfrmGridFind");
  setWindowTitle(QStringLiteral("查找"));
  setAttribute(Qt::WA_DeleteOnClose);

  edtText = new QLineEdit(this);
  edtText->setObjectName("edtText");
  cboColumn = new QComboBox(this);
  cboColumn->setObjectName("cboColumn");
  cboColumn->addItem(QStringLiteral("全部列"), -1);
  for (int c : grid->visibleColumns()) cboColumn->addItem(grid->column(c).title, c);
  chkWhole = new QCheckBox(QStringLiteral("整个单元格匹配"), this);
  chkWhole->setObjectName("chkWhole");
  btnFind = new QPushButton(QStringLiteral("查找下一个"), this);
  btnFind->setObjectName("btnFind");
  btnFind->setDefault(true);
  btnClose = new QPushButton(QStringLiteral("关闭"), this);
  btnClose->setObjectName("btnClose");

  auto* lblText = new QLabel(QStringLiteral("查找内容"), this);
  lblText->setBuddy(edtText);
  auto* lblColumn = new QLabel(QStringLiteral("查找范围"), this);
  lblColumn->setBuddy(cboColumn);

  auto* fields = new QGridLayout;
  fields->addWidget(lblText, 0, 0);
  fields->addWidget(edtText, 0, 1);
  fields->addWidget(lblColumn, 1, 0);
  fields->addWidget(cboColumn, 1, 1);
  fields->addWidget(chkWhole, 2, 1);
  auto* buttons = new QVBoxLayout;
  buttons->addWidget(btnFind);
  buttons->addWidget(btnClose);
  buttons->addStretch();
  auto* layout = new QHBoxLayout(this);
  layout->addLayout(fields);
  layout->addLayout(buttons);

  connect(btnFind, &QPushButton::clicked, this, &TfrmGridFind::find);
  connect(btnClose, &QPushButton::clicked, this, &QDialog::close);
}

void TfrmGridFind::find() {
  const QString text = edtText->text();
  if (text.isEmpty()) return;
  if (!GridFind::findNext(grid_, text, cboColumn->currentData().toInt(), chkWhole->isChecked()))
    MsgBox::info(QStringLiteral("找不到“%1”").arg(text), QStringLiteral("提示"), this);
}
