#include "maintenance/Init.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/MainDM.h"
#include "toolkit/MsgBox.h"

TfrmInit::TfrmInit(QWidget* parent) : QDialog(parent) {
  setObjectName("TfrmInit");
  setWindowTitle(QStringLiteral("数据初始化"));

  auto* group = new QGroupBox(QStringLiteral("数据列表"), this);
  auto box = [group](const char* text, const char* name, bool checked) {
    auto* b = new QCheckBox(QString::fromUtf8(text), group);
    b->setObjectName(name);
    b->setChecked(checked);
    return b;
  };
  chkOperator = box("操作员、权限", "chkOperator", false);
  chkJjgz = box("工种、工序、系数", "chkJjgz", false);
  chkGzxm = box("工资项目及公式", "chkGzxm", false);
  chkDepart = box("部门、职位", "chkDepart", false);
  chkWorker = box("员工档案", "chkWorker", true);
  chkJjData = box("计件数据", "chkJjData", true);
  chkGzData = box("工资数据", "chkGzData", true);
  auto* grid = new QGridLayout(group);
  grid->addWidget(chkOperator, 0, 0);
  grid->addWidget(chkJjgz, 1, 0);
  grid->addWidget(chkGzxm, 2, 0);
  grid->addWidget(chkDepart, 3, 0);
  grid->addWidget(chkWorker, 0, 1);
  grid->addWidget(chkJjData, 1, 1);
  grid->addWidget(chkGzData, 2, 1);
  grid->setHorizontalSpacing(40);

  btnYes = new QPushButton(QStringLiteral("清空"), this);
  btnYes->setObjectName("btnYes");
  btnYes->setAutoDefault(false);
  btnCancel = new QPushButton(QStringLiteral("取消"), this);
  btnCancel->setObjectName("btnCancel");
  btnCancel->setAutoDefault(false);
  connect(btnYes, &QPushButton::clicked, this, &TfrmInit::run);
  connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(btnYes);
  buttons->addWidget(btnCancel);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(group);
  layout->addLayout(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

void TfrmInit::run() {
  // Referring tables go before the tables they refer to, group by group.
  // Never touched: params, roles, the administrator and the formulas.
  const struct {
    QCheckBox* box;
    QStringList statements;
  } groups[] = {
      {chkGzData, {"delete from gzxm_m", "delete from gzdata"}},
      {chkJjData, {"delete from jjdata_d", "delete from jjdata"}},
      {chkWorker, {"delete from worker"}},
      {chkDepart, {"delete from depart", "delete from worker_tp"}},
      {chkGzxm, {"delete from gzxm_m", "delete from gzxm"}},
      {chkJjgz, {"delete from jjxs", "delete from jjgx_d", "delete from jjgx", "delete from jjgz"}},
      {chkOperator, {"delete from rolelist", "delete from operator where lower(opername)<>'admin'"}},
  };
  bool any = false;
  for (const auto& g : groups) any = any || g.box->isChecked();
  if (!any) {
    MsgBox::error(QStringLiteral("请选择数据项目"), QStringLiteral("提示"), this);
    return;
  }
  Query& q = dmMain()->qryExec;
  try {
    // One transaction: a refused statement leaves every table as it was.
    // References are checked at the commit, on the final state, so that
    // positions may go before the process splits that name them when both
    // groups are emptied.
    Transaction t(db());
    db().execScript("pragma defer_foreign_keys=on");
    for (const auto& g : groups) {
      if (!g.box->isChecked()) continue;
      for (const QString& sql : g.statements) q.exec(sql);
    }
    q.close();
    t.commit();
  } catch (const StoreError& e) {
    q.close();
    MsgBox::error(e.message(), QStringLiteral("提示"), this);
    return;
  }
  MsgBox::info(QStringLiteral("数据初始化成功"), QStringLiteral("提示"), this);
}
