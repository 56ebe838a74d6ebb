#include "reference/Worker.h"

#include <QComboBox>
#include <QDateEdit>
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
#include "common/MyFun.h"
#include "common/Setup.h"
#include "reference/WorkerMdy.h"
#include "store/DBFun.h"
#include "toolkit/DataGrid.h"
#include "toolkit/DataSet.h"
#include "toolkit/GridPrinter.h"
#include "toolkit/MsgBox.h"

namespace {
QString word(const QVariant& v, const QStringList& words) {
  if (v.isNull()) return QString();
  bool ok = false;
  qint64 i = v.toLongLong(&ok);
  return ok && i >= 0 && i < words.size() ? words[int(i)] : QString();
}
}  // namespace

TfrmWorker::TfrmWorker(QWidget* parent) : TChildWindow(parent) {
  setObjectName("TfrmWorker");
  setWindowTitle(QStringLiteral("员工名册管理"));

  QToolBar* bar = createOwnToolBar(QStringLiteral("员工名册"), "tbWorker");
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

  auto* title = new QLabel(QStringLiteral("员工名册"), this);
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
  auto* groupBm = new QGroupBox(QStringLiteral("部门列表"), split);
  tvBm = new QTreeWidget(groupBm);
  tvBm->setObjectName("tvBm");
  tvBm->setHeaderHidden(true);
  tvBm->setRootIsDecorated(false);
  tvBm->setEditTriggers(QAbstractItemView::NoEditTriggers);
  (new QVBoxLayout(groupBm))->addWidget(tvBm);

  auto* groupWorker = new QGroupBox(QStringLiteral("员工列表"), split);
  grid = new DataGrid(groupWorker);
  grid->setObjectName("grid");
  grid->setGridReadOnly(true);
  grid->setSelectionBehavior(QAbstractItemView::SelectRows);
  (new QVBoxLayout(groupWorker))->addWidget(grid);
  split->setStretchFactor(1, 1);
  split->setSizes({200, 800});

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(2, 2, 2, 2);
  layout->addWidget(title);
  layout->addWidget(split, 1);

  const QStringList gztpWords = {QStringLiteral("计件"), QStringLiteral("按月")};
  const QStringList stateWords = {QStringLiteral("在职"), QStringLiteral("离职")};
  QVector<GridColumn> columns = {
      {"wkcode", QStringLiteral("员工代码"), 70}, {"wkname", QStringLiteral("员工姓名"), 80},
      {"sex", QStringLiteral("性别"), 40},        {"tpname", QStringLiteral("职位名称"), 90},
      {"sfid", QStringLiteral("身份证号"), 150},  {"xl", QStringLiteral("学历"), 60},
      {"addr", QStringLiteral("地址"), 160},      {"phone", QStringLiteral("电话"), 100},
      {"indate", QStringLiteral("入职日期"), 90}, {"bankacc", QStringLiteral("银行帐号"), 150},
      {"gztp", QStringLiteral("工资类型"), 64},   {"state", QStringLiteral("状态"), 50},
      {"mm", QStringLiteral("备注"), 160},
  };
  columns[10].displayText = [gztpWords](const QVariant& v) { return word(v, gztpWords); };
  columns[11].displayText = [stateWords](const QVariant& v) { return word(v, stateWords); };
  columns[10].alignment = columns[11].alignment = Qt::AlignCenter;
  grid->setColumns(columns);

  qryWorker = new DataSet(this);
  qryWorker->setObjectName("qryWorker");
  qryWorker->setConnection(&db());
  grid->setDataSet(qryWorker);

  pmWorker = new QMenu(this);
  pmWorker->setObjectName("pmWorker");
  connect(pmWorker->addAction(QStringLiteral("增加员工")), &QAction::triggered, this, &TfrmWorker::btnAppendClick);
  connect(pmWorker->addAction(QStringLiteral("修改员工")), &QAction::triggered, this, &TfrmWorker::btnMdyClick);
  connect(pmWorker->addAction(QStringLiteral("删除员工")), &QAction::triggered, this, &TfrmWorker::btnDelClick);
  grid->setPopupMenu(pmWorker);
  connect(grid, &QAbstractItemView::doubleClicked, this, [this] { btnMdyClick(); });

  connect(btnAppend, &QAction::triggered, this, &TfrmWorker::btnAppendClick);
  connect(btnMdy, &QAction::triggered, this, &TfrmWorker::btnMdyClick);
  connect(btnDel, &QAction::triggered, this, &TfrmWorker::btnDelClick);
  connect(btnPrint, &QAction::triggered, this, &TfrmWorker::btnPrintClick);
  connect(btnLocate, &QAction::triggered, this, &TfrmWorker::btnLocateClick);
  connect(btnSetup, &QAction::triggered, this, [this] { Setup::showDialog(this, "Worker", grid); });
  connect(btnExport, &QAction::triggered, this, [this] { Setup::exportGrid(grid, this); });
  connect(btnClose, &QAction::triggered, this, &TfrmWorker::close);
  connect(tvBm, &QTreeWidget::currentItemChanged, this, [this] { openGrid(); });

  move(0, 0);
  setWindowState(Qt::WindowMaximized);
  fillDepartments();
  if (tvBm->topLevelItemCount() > 0) tvBm->setCurrentItem(tvBm->topLevelItem(0));
  Setup::loadColumns("Worker", grid);
}

void TfrmWorker::fillDepartments() {
  tvBm->clear();
  Query& q = dmMain()->qryExec;
  q.open("select * from depart order by bmcode");
  for (q.first(); !q.eof(); q.next()) {
    auto* node = new QTreeWidgetItem(tvBm, {q.str("bmcode") + "-" + q.str("bmname")});
    node->setData(0, Qt::UserRole, q.str("bmcode"));
  }
  q.close();
}

QString TfrmWorker::bmcode() const {
  QTreeWidgetItem* node = tvBm->currentItem();
  return node ? node->data(0, Qt::UserRole).toString() : QString();
}

void TfrmWorker::openGrid() {
  if (!tvBm->currentItem()) return;
  qryWorker->close();
  qryWorker->setSql(
      "select * from worker a left join worker_tp b on a.tpcode=b.tpcode where bmcode=:bmcode order by wkcode");
  qryWorker->bind("bmcode", bmcode());
  qryWorker->open();
}

void TfrmWorker::btnAppendClick() {
  QTreeWidgetItem* node = tvBm->currentItem();
  if (!node) return;
  TfrmWorkerMdy dlg(window());
  dlg.setMode(1);
  dlg.setBmcode(bmcode());
  dlg.setWindowTitle(QStringLiteral("增加员工"));
  dlg.lblBm->setText(QStringLiteral("所属部门：") + node->text(0));
  if (DBFun::getParam(7) == "1") dlg.edtCode->setText(DBFun::nextWorkerCode());
  dlg.exec();
  openGrid();
  qryWorker->last();
}

void TfrmWorker::btnMdyClick() {
  QTreeWidgetItem* node = tvBm->currentItem();
  if (!node || qryWorker->isEmpty()) return;
  TfrmWorkerMdy dlg(window());
  dlg.setMode(2);
  dlg.setBmcode(bmcode());
  dlg.setWindowTitle(QStringLiteral("修改员工信息"));
  dlg.lblBm->setText(QStringLiteral("所属部门：") + node->text(0));
  dlg.edtCode->setEnabled(false);
  QString code = qryWorker->str("wkcode");
  dlg.edtCode->setText(code);
  dlg.edtName->setText(qryWorker->str("wkname"));
  dlg.cboSex->setCurrentIndex(dlg.cboSex->findText(qryWorker->str("sex")));
  dlg.cboTp->setCurrentIndex(
      dlg.cboTp->findText(MyFun::codeName(qryWorker->str("a.tpcode"), qryWorker->str("tpname"))));
  dlg.edtSfid->setText(qryWorker->str("sfid"));
  dlg.edtXl->setText(qryWorker->str("xl"));
  dlg.edtAddr->setText(qryWorker->str("addr"));
  dlg.edtPhone->setText(qryWorker->str("phone"));
  QDate indate = qryWorker->field("indate").asDate();
  if (indate.isValid()) dlg.dtpIndate->setDate(indate);
  dlg.edtBankacc->setText(qryWorker->str("bankacc"));
  dlg.cboGztp->setCurrentIndex(int(qryWorker->field("gztp").asInteger()));
  dlg.cboState->setCurrentIndex(int(qryWorker->field("state").asInteger()));
  dlg.edtMm->setText(qryWorker->str("mm"));
  if (dlg.exec() != QDialog::Accepted) return;
  openGrid();
  qryWorker->locate("wkcode", code);
}

void TfrmWorker::btnDelClick() {
  if (qryWorker->isEmpty()) return;
  QString code = qryWorker->str("wkcode");
  if (DBFun::workerInUse(code)) {
    MsgBox::error(QStringLiteral("该员工存在相关信息，不能删除"), QStringLiteral("提示"), this);
    return;
  }
  if (!MsgBox::ask(QStringLiteral("确认要删除员工：") + qryWorker->str("wkname") + QStringLiteral("吗？"), this))
    return;
  Query& q = dmMain()->qryExec;
  q.close();
  q.setSql("delete from worker where wkcode=:wkcode");
  q.bind("wkcode", code);
  try {
    q.exec();
  } catch (const StoreError&) {
    MsgBox::error(QStringLiteral("员工删除失败！"), QStringLiteral("提示"), this);
    return;
  }
  openGrid();
}

void TfrmWorker::btnPrintClick() {
  if (!qryWorker->isActive()) return;
  GridPrintOptions options;
  options.pageHeader = QStringLiteral("员工名册");
  options.headerFont = QFont(font().family(), 16, QFont::Bold);
  if (QTreeWidgetItem* node = tvBm->currentItem()) options.textBefore = QStringLiteral("部门：") + node->text(0);
  options.textFont = font();
  GridPrinter::preview(this, grid, options);
}

void TfrmWorker::btnLocateClick() {
  QString name = Input(QStringLiteral("员工输入"), QStringLiteral("请输入员工姓名"));
  if (!name.isEmpty()) qryWorker->locate("wkname", name);
}
