#include "operators/Operator.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/MainDM.h"
#include "operators/OperatorAdd.h"
#include "toolkit/DataGrid.h"
#include "toolkit/DataSet.h"
#include "toolkit/MsgBox.h"

TfrmOperator::TfrmOperator(QWidget* parent) : QDialog(parent) {
  setObjectName("TfrmOperator");
  setWindowTitle(QStringLiteral("操作员管理"));
  setWindowFlags(windowFlags() | Qt::WindowMinimizeButtonHint);

  auto* group = new QGroupBox(QStringLiteral("操作员列表"), this);
  qryOperator = new DataSet(this);
  qryOperator->setObjectName("qryOperator");
  qryOperator->setConnection(&db());
  qryOperator->setSql("select * from operator order by operno");
  grid = new DataGrid(group);
  grid->setObjectName("grid");
  grid->setDataSet(qryOperator);
  // The password column is never shown.
  grid->setColumns({{"operno", QStringLiteral("编码"), 80},
                    {"opername", QStringLiteral("名称"), 120},
                    {"dept", QStringLiteral("所属部门"), 140}});
  grid->setGridReadOnly(true);
  grid->horizontalHeader()->setStretchLastSection(true);
  auto* groupLayout = new QVBoxLayout(group);
  groupLayout->addWidget(grid);

  btnAppend = new QPushButton(QStringLiteral("创建"), this);
  btnAppend->setObjectName("btnAppend");
  btnDel = new QPushButton(QStringLiteral("删除"), this);
  btnDel->setObjectName("btnDel");
  btnClose = new QPushButton(QStringLiteral("退出"), this);
  btnClose->setObjectName("btnClose");
  btnAppend->setAutoDefault(false);
  btnDel->setAutoDefault(false);
  btnClose->setAutoDefault(false);
  connect(btnAppend, &QPushButton::clicked, this, &TfrmOperator::append);
  connect(btnDel, &QPushButton::clicked, this, &TfrmOperator::remove);
  connect(btnClose, &QPushButton::clicked, this, &QDialog::reject);

  auto* buttons = new QVBoxLayout;
  buttons->addWidget(btnAppend);
  buttons->addWidget(btnDel);
  buttons->addWidget(btnClose);
  buttons->addStretch();
  auto* layout = new QHBoxLayout(this);
  layout->addWidget(group, 1);
  layout->addLayout(buttons);
  resize(480, 320);

  qryOperator->open();
}

void TfrmOperator::done(int r) {
  qryOperator->close();
  QDialog::done(r);
}

void TfrmOperator::reload() {
  qryOperator->close();
  qryOperator->open();
}

void TfrmOperator::append() {
  TfrmOperatorAdd add(this);
  add.exec();
  reload();
}

void TfrmOperator::remove() {
  if (qryOperator->isEmpty()) return;
  // The administrator holds every right; a namesake in other letter case
  // would be the same account to the permission test.
  if (qryOperator->str("opername").compare(QLatin1String("admin"), Qt::CaseInsensitive) == 0) {
    MsgBox::info(QStringLiteral("此操作员不能被删除！"), QStringLiteral("提示"), this);
    return;
  }
  if (!MsgBox::ask(QStringLiteral("确认要删除该操作员吗？"), this)) return;
  Query& q = dmMain()->qryExec;
  q.setSql("delete from operator where operno=:operno");
  q.bind("operno", qryOperator->str("operno"));
  try {
    q.exec();
  } catch (const StoreError&) {
    MsgBox::error(QStringLiteral("操作员正在使用！"), QStringLiteral("提示"), this);
  }
  q.close();
  reload();
}
