#include "payroll/Gzgs.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/MainDM.h"
#include "common/MyFun.h"
#include "payroll/GzgsMdy.h"
#include "toolkit/DataGrid.h"
#include "toolkit/EnterAsTab.h"
#include "toolkit/MsgBox.h"

TfrmGzgs::TfrmGzgs(QWidget* parent) : TChildWindow(parent) {
  setObjectName("TfrmGzgs");
  setWindowTitle("计算公式定义");
  setWindowState(Qt::WindowMaximized);

  QToolBar* bar = createOwnToolBar("计算公式定义", "tbGzgs");
  auto tool = [&](const char* name, const QString& caption, QStyle::StandardPixmap icon, void (TfrmGzgs::*slot)()) {
    QAction* a = addTool(name, caption, icon);
    connect(a, &QAction::triggered, this, slot);
    return qobject_cast<QToolButton*>(bar->widgetForAction(a));
  };
  btnAppend = tool("btnAppend", "增加", QStyle::SP_FileDialogNewFolder, &TfrmGzgs::append);
  btnMdy = tool("btnMdy", "修改", QStyle::SP_FileDialogDetailedView, &TfrmGzgs::modify);
  btnDel = tool("btnDel", "删除", QStyle::SP_TrashIcon, &TfrmGzgs::remove);
  bar->addSeparator();
  QAction* exit = addTool("btnExit", "退出", QStyle::SP_DialogCloseButton);
  connect(exit, &QAction::triggered, this, &QWidget::close);
  btnExit = qobject_cast<QToolButton*>(bar->widgetForAction(exit));

  auto* band = new QLabel("计算公式定义", this);
  band->setObjectName("lblBand");
  band->setAlignment(Qt::AlignCenter);
  band->setFrameShape(QFrame::Panel);
  band->setFrameShadow(QFrame::Raised);
  QFont f = band->font();
  f.setPointSize(f.pointSize() + 3);
  f.setBold(true);
  band->setFont(f);
  band->setMinimumHeight(30);

  qryGzgs.setConnection(&db());
  qryGzgs.setSql("select * from gzgs s,gzxm x where s.fname=x.fname order by s.xh");

  grid = new DataGrid(this);
  grid->setObjectName("grid");
  grid->setColumns({{"s.xh", "序号", 50},
                    {"s.fname", "项目编码", 70},
                    {"xmname", "项目名称", 110},
                    {"gs", "计算公式", 180},
                    {"gsdesc", "公式描述", 220},
                    {"con", "采用条件", 140},
                    {"condesc", "条件描述", 180}});
  grid->setGridReadOnly(true);
  grid->setSelectionBehavior(QAbstractItemView::SelectRows);
  grid->setDataSet(&qryGzgs);
  connect(grid, &QAbstractItemView::doubleClicked, this, &TfrmGzgs::modify);

  pmGrid = new QMenu(this);
  pmGrid->setObjectName("pmGrid");
  connect(pmGrid->addAction("增加公式"), &QAction::triggered, this, &TfrmGzgs::append);
  connect(pmGrid->addAction("修改公式"), &QAction::triggered, this, &TfrmGzgs::modify);
  connect(pmGrid->addAction("删除公式"), &QAction::triggered, this, &TfrmGzgs::remove);
  grid->setPopupMenu(pmGrid);

  auto* top = new QVBoxLayout(this);
  top->setContentsMargins(0, 0, 0, 0);
  top->setSpacing(0);
  top->addWidget(band);
  top->addWidget(grid, 1);
  resize(800, 450);
  new EnterAsTab(this);
}

void TfrmGzgs::showEvent(QShowEvent* event) {
  TChildWindow::showEvent(event);
  if (!qryGzgs.isActive()) qryGzgs.open();
}

void TfrmGzgs::closeEvent(QCloseEvent* event) {
  qryGzgs.close();
  TChildWindow::closeEvent(event);
}

void TfrmGzgs::reopen() {
  qryGzgs.close();
  qryGzgs.open();
}

void TfrmGzgs::append() {
  {
    TfrmGzgsMdy dlg(this);
    dlg.setMode(TfrmGzgsMdy::Add);
    dlg.setWindowTitle("增加公式");
    dlg.exec();
  }
  reopen();
  qryGzgs.last();
}

void TfrmGzgs::modify() {
  if (qryGzgs.isEmpty()) return;
  const int xh = int(qryGzgs.field("s.xh").asInteger());
  TfrmGzgsMdy dlg(this);
  dlg.setMode(TfrmGzgsMdy::Modify, xh);
  dlg.setWindowTitle("修改公式");
  dlg.cboDest->setCurrentIndex(dlg.cboDest->findText(MyFun::codeName(qryGzgs.str("s.fname"), qryGzgs.str("xmname"))));
  dlg.edtGs->setText(qryGzgs.str("gs"));
  dlg.edtCon->setText(qryGzgs.str("con"));
  if (dlg.exec() != QDialog::Accepted) return;
  reopen();
  qryGzgs.locate("s.xh", xh);
}

void TfrmGzgs::remove() {
  if (qryGzgs.isEmpty()) return;
  if (!MsgBox::ask("确定要删除吗？", this)) return;
  Query q(&db());
  q.setSql("delete from gzgs where xh=:xh");
  q.bind(":xh", qryGzgs.field("s.xh").asInteger());
  q.exec();  // a refusal reaches the general error box; the list stays as it was
  reopen();
}
