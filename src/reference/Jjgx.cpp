#include "reference/Jjgx.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QSplitter>
#include <QStyle>
#include <QToolBar>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "app/MainDM.h"
#include "common/Input.h"
#include "common/Setup.h"
#include "reference/JjgxMdy.h"
#include "store/DBFun.h"
#include "toolkit/DataGrid.h"
#include "toolkit/DataSet.h"
#include "toolkit/GridPrinter.h"
#include "toolkit/MsgBox.h"

TfrmJjgx::TfrmJjgx(QWidget* parent) : TChildWindow(parent) {
  setObjectName("TfrmJjgx");
  setWindowTitle(QStringLiteral("计件工序设置"));

  QToolBar* bar = createOwnToolBar(QStringLiteral("工序设置"), "tbJjgx");
  btnAppend = addTool("btnAppend", QStringLiteral("增加"), QStyle::SP_FileIcon);
  btnMdy = addTool("btnMdy", QStringLiteral("修改"), QStyle::SP_FileDialogDetailedView);
  btnDel = addTool("btnDel", QStringLiteral("删除"), QStyle::SP_TrashIcon);
  bar->addSeparator();
  btnPrint = addTool("btnPrint", QStringLiteral("打印"), QStyle::SP_DialogSaveButton);
  btnLocate = addTool("btnLocate", QStringLiteral("定位"), QStyle::SP_FileDialogContentsView);
  btnSetup = addTool("btnSetup", QStringLiteral("设置"), QStyle::SP_FileDialogListView);
  btnExport = addTool("btnExport", QStringLiteral("导出"), QStyle::SP_ArrowRight);
  bar->addSeparator();
  btnClose = addTool("btnClose", QStringLiteral("退出"), QStyle::SP_DialogCloseButton);

  auto* title = new QLabel(QStringLiteral("工序设置"), this);
  title->setObjectName("lblTitle");
  title->setAlignment(Qt::AlignCenter);
  QFont big = title->font();
  big.setPointSize(big.pointSize() + 8);
  big.setBold(true);
  title->setFont(big);
  title->setFrameShape(QFrame::Panel);
  title->setFrameShadow(QFrame::Raised);
  title->setMinimumHeight(44);

  auto* split = new QSplitter(Qt::Horizontal, this);
  split->setObjectName("Splitter1");
  auto* groupGz = new QGroupBox(QStringLiteral("工种列表"), split);
  tvGz = new QTreeWidget(groupGz);
  tvGz->setObjectName("tvGz");
  tvGz->setHeaderHidden(true);
  tvGz->setRootIsDecorated(false);
  tvGz->setEditTriggers(QAbstractItemView::NoEditTriggers);
  (new QVBoxLayout(groupGz))->addWidget(tvGz);

  auto* groupGx = new QGroupBox(QStringLiteral("工序列表"), split);
  grid = new DataGrid(groupGx);
  grid->setObjectName("grid");
  grid->setGridReadOnly(true);
  grid->setSelectionBehavior(QAbstractItemView::SelectRows);
  (new QVBoxLayout(groupGx))->addWidget(grid);
  split->setStretchFactor(1, 1);
  split->setSizes({200, 800});

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(2, 2, 2, 2);
  layout->addWidget(title);
  layout->addWidget(split, 1);

  grid->setColumns({
      {"gxcode", QStringLiteral("工序代码"), 80},
      {"gxname", QStringLiteral("工序名称"), 200},
      {"unit", QStringLiteral("计价单位"), 80},
      {"price", QStringLiteral("计件单价"), 100},
      {"rs", QStringLiteral("工序人数"), 80},
  });
  qryJjgx = new DataSet(this);
  qryJjgx->setObjectName("qryJjgx");
  qryJjgx->setConnection(&db());
  grid->setDataSet(qryJjgx);

  pmJjgx = new QMenu(this);
  pmJjgx->setObjectName("pmJjgx");
  connect(pmJjgx->addAction(QStringLiteral("增加工序")), &QAction::triggered, this, &TfrmJjgx::btnAppendClick);
  connect(pmJjgx->addAction(QStringLiteral("修改工序")), &QAction::triggered, this, &TfrmJjgx::btnMdyClick);
  connect(pmJjgx->addAction(QStringLiteral("删除工序")), &QAction::triggered, this, &TfrmJjgx::btnDelClick);
  grid->setPopupMenu(pmJjgx);
  connect(grid, &QAbstractItemView::doubleClicked, this, [this] { btnMdyClick(); });

  connect(btnAppend, &QAction::triggered, this, &TfrmJjgx::btnAppendClick);
  connect(btnMdy, &QAction::triggered, this, &TfrmJjgx::btnMdyClick);
  connect(btnDel, &QAction::triggered, this, &TfrmJjgx::btnDelClick);
  connect(btnPrint, &QAction::triggered, this, &TfrmJjgx::btnPrintClick);
  connect(btnLocate, &QAction::triggered, this, &TfrmJjgx::btnLocateClick);
  connect(btnSetup, &QAction::triggered, this, [this] { Setup::showDialog(this, "Jjgx", grid); });
  connect(btnExport, &QAction::triggered, this, [this] { Setup::exportGrid(grid, this); });
  connect(btnClose, &QAction::triggered, this, &TfrmJjgx::close);
  connect(tvGz, &QTreeWidget::currentItemChanged, this, [this] { openGrid(); });

  move(0, 0);
  setWindowState(Qt::WindowMaximized);
  fillTrades();
  if (tvGz->topLevelItemCount() > 0) tvGz->setCurrentItem(tvGz->topLevelItem(0));
  Setup::loadColumns("Jjgx", grid);
}

void TfrmJjgx::fillTrades() {
  tvGz->clear();
  Query& q = dmMain()->qryExec;
  q.open("select * from jjgz order by gzcode");
  for (q.first(); !q.eof(); q.next()) {
    auto* node = new QTreeWidgetItem(tvGz, {q.str("gzcode") + "-" + q.str("gzname")});
    node->setData(0, Qt::UserRole, q.str("gzcode"));
  }
  q.close();
}

QString TfrmJjgx::gzcode() const {
  QTreeWidgetItem* node = tvGz->currentItem();
  return node ? node->data(0, Qt::UserRole).toString() : QString();
}

void TfrmJjgx::openGrid() {
  if (!tvGz->currentItem()) return;
  qryJjgx->close();
  qryJjgx->setSql("select * from jjgx where gzcode=:gzcode order by gxcode");
  qryJjgx->bind("gzcode", gzcode());
  qryJjgx->open();
}

void TfrmJjgx::btnAppendClick() {
  QTreeWidgetItem* node = tvGz->currentItem();
  if (!node) return;
  TfrmJjgxMdy dlg(window());
  dlg.setMode(1);
  dlg.setGzcode(gzcode());
  dlg.setWindowTitle(QStringLiteral("增加工序"));
  dlg.lblGz->setText(QStringLiteral("所属工种：") + node->text(0));
  dlg.edtCode->setText(DBFun::nextProcessCode(gzcode()));
  dlg.exec();
  openGrid();
  qryJjgx->last();
}

void TfrmJjgx::btnMdyClick() {
  QTreeWidgetItem* node = tvGz->currentItem();
  if (!node || qryJjgx->isEmpty()) return;
  TfrmJjgxMdy dlg(window());
  dlg.setMode(2);
  dlg.setGzcode(gzcode());
  dlg.setWindowTitle(QStringLiteral("修改工序"));
  dlg.lblGz->setText(QStringLiteral("所属工种：") + node->text(0));
  dlg.edtCode->setEnabled(false);
  QString code = qryJjgx->str("gxcode");
  dlg.setRecalc(false);
  dlg.edtCode->setText(code);
  dlg.edtName->setText(qryJjgx->str("gxname"));
  dlg.edtUnit->setText(qryJjgx->str("unit"));
  FieldValue price = qryJjgx->field("price");
  dlg.edtPrice->setText(price.isNull() ? QString() : TfrmJjgxMdy::priceText(price.asFloat()));
  dlg.edtRs->setText(qryJjgx->str("rs"));
  dlg.setRecalc(true);
  if (dlg.exec() != QDialog::Accepted) return;
  openGrid();
  qryJjgx->locate("gxcode", code);
}

// The split rows go with their process in one transaction, so a refused
// delete leaves both as they were.
void TfrmJjgx::btnDelClick() {
  if (qryJjgx->isEmpty()) return;
  QString code = qryJjgx->str("gxcode");
  if (!MsgBox::ask(QStringLiteral("确认要删除工序：") + qryJjgx->str("gxname") + QStringLiteral("吗？"), this)) return;
  try {
    Transaction t(db());
    Query& q = dmMain()->qryExec;
    q.close();
    q.setSql("delete from jjgx_d where gzcode=:gzcode and gxcode=:gxcode");
    q.bind("gzcode", gzcode()).bind("gxcode", code);
    q.exec();
    q.setSql("delete from jjgx where gzcode=:gzcode and gxcode=:gxcode");
    q.bind("gzcode", gzcode()).bind("gxcode", code);
    q.exec();
    t.commit();
  } catch (const StoreError&) {
    MsgBox::error(QStringLiteral("工序删除失败！"), QStringLiteral("提示"), this);
    return;
  }
  openGrid();
}

void TfrmJjgx::btnPrintClick() {
  if (!qryJjgx->isActive()) return;
  GridPrintOptions options;
  options.pageHeader = QStringLiteral("工序设置");
  options.headerFont = QFont(font().family(), 16, QFont::Bold);
  if (QTreeWidgetItem* node = tvGz->currentItem()) options.textBefore = QStringLiteral("工种：") + node->text(0);
  options.textFont = font();
  GridPrinter::preview(this, grid, options);
}

void TfrmJjgx::btnLocateClick() {
  QString code = Input(QStringLiteral("工序输入"), QStringLiteral("请输入工序代码"));
  if (!code.isEmpty()) qryJjgx->locate("gxcode", code);
}
