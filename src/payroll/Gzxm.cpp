#include "payroll/Gzxm.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "app/MainDM.h"
#include "payroll/GzxmMdy.h"
#include "toolkit/DataGrid.h"
#include "toolkit/EnterAsTab.h"
#include "toolkit/MsgBox.h"

namespace {
QString typeWords(const QVariant& v) {
  if (v.isNull()) return {};
  switch (v.toInt()) {
    case 0: return "数值型";
    case 1: return "文本型";
    default: return {};
  }
}
}  // namespace

TfrmGzxm::TfrmGzxm(QWidget* parent) : QDialog(parent) {
  setObjectName("TfrmGzxm");
  setWindowTitle("工资项目定义");

  auto button = [this](const char* name, const QString& caption) {
    auto* b = new QPushButton(caption, this);
    b->setObjectName(name);
    b->setAutoDefault(false);
    return b;
  };
  btnAppend = button("btnAppend", "增加");
  btnMdy = button("btnMdy", "修改");
  btnDel = button("btnDel", "删除");
  btnExit = button("btnExit", "退出");
  connect(btnAppend, &QPushButton::clicked, this, &TfrmGzxm::append);
  connect(btnMdy, &QPushButton::clicked, this, &TfrmGzxm::modify);
  connect(btnDel, &QPushButton::clicked, this, &TfrmGzxm::remove);
  connect(btnExit, &QPushButton::clicked, this, &QDialog::reject);
  auto* buttons = new QHBoxLayout;
  for (QPushButton* b : {btnAppend, btnMdy, btnDel, btnExit}) buttons->addWidget(b);
  buttons->addStretch();

  auto* band = new QLabel("工资项目定义", this);
  band->setObjectName("lblBand");
  band->setAlignment(Qt::AlignCenter);
  band->setFrameShape(QFrame::Panel);
  band->setFrameShadow(QFrame::Raised);
  QFont f = band->font();
  f.setPointSize(f.pointSize() + 3);
  f.setBold(true);
  band->setFont(f);
  band->setMinimumHeight(30);

  qryGzxm.setConnection(&db());
  qryGzxm.setTable("gzxm", {"xh"});
  qryGzxm.setSql("select * from gzxm order by xh");

  grid = new DataGrid(this);
  grid->setObjectName("grid");
  GridColumn type{"ftype", "数据类型", 80};
  type.displayText = typeWords;
  type.alignment = Qt::AlignLeft | Qt::AlignVCenter;
  grid->setColumns({{"xh", "序号", 50}, {"fname", "工资项目编码", 100}, {"xmname", "工资项目名称", 160}, type,
                    {"fsize", "数据宽度", 70}});
  grid->setGridReadOnly(true);
  grid->setSelectionBehavior(QAbstractItemView::SelectRows);
  grid->setDataSet(&qryGzxm);
  connect(grid, &QAbstractItemView::doubleClicked, this, &TfrmGzxm::modify);

  auto* top = new QVBoxLayout(this);
  top->addLayout(buttons);
  top->addWidget(band);
  top->addWidget(grid, 1);
  resize(540, 400);
  new EnterAsTab(this);
}

void TfrmGzxm::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (!qryGzxm.isActive()) qryGzxm.open();
}

void TfrmGzxm::done(int r) {
  qryGzxm.close();
  QDialog::done(r);
}

void TfrmGzxm::reopen() {
  qryGzxm.close();
  qryGzxm.open();
}

void TfrmGzxm::append() {
  {
    TfrmGzxmMdy dlg(this);
    dlg.setMode(TfrmGzxmMdy::Add);
    dlg.setWindowTitle("增加项目");
    dlg.exec();
  }
  reopen();
  qryGzxm.last();
}

void TfrmGzxm::modify() {
  if (qryGzxm.isEmpty()) return;
  const int xh = int(qryGzxm.field("xh").asInteger());
  TfrmGzxmMdy dlg(this);
  dlg.setMode(TfrmGzxmMdy::Modify, xh);
  dlg.setWindowTitle("修改项目");
  dlg.cboTp->setEnabled(false);
  dlg.edtName->setText(qryGzxm.str("xmname"));
  dlg.cboTp->setCurrentIndex(int(qryGzxm.field("ftype").asInteger()) == 1 ? 1 : 0);
  dlg.edtSize->setText(QString::number(qryGzxm.field("fsize").asInteger()));
  if (dlg.exec() != QDialog::Accepted) return;
  reopen();
  qryGzxm.locate("xh", xh);
}

void TfrmGzxm::remove() {
  if (qryGzxm.isEmpty()) return;
  if (!MsgBox::ask("确定要删除吗？", this)) return;
  // The column goes only with its row: a refused row delete keeps both.
  try {
    Transaction t(db());
    Query q(&db());
    q.open("select count(*) from gzdata");
    if (q.field(0).asInteger() == 0) q.exec("alter table gzdata drop " + qryGzxm.str("fname"));
    qryGzxm.remove();
    t.commit();
  } catch (const std::exception&) {
    MsgBox::error("删除失败，正在使用！", "提示", this);
    reopen();
  }
}
