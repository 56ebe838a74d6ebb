#include "operators/OperatorPwd.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/MainDM.h"
#include "app/Session.h"
#include "store/Password.h"
#include "toolkit/EnterAsTab.h"
#include "toolkit/MsgBox.h"
#include "toolkit/FieldRow.h"

TfrmOperatorPwd::TfrmOperatorPwd(QWidget* parent) : QDialog(parent) {
  setObjectName("TfrmOperatorPwd");
  setWindowTitle(QStringLiteral("修改密码"));

  auto make = [this](const char* name, bool secret) {
    auto* e = new QLineEdit(this);
    e->setObjectName(name);
    if (secret) e->setEchoMode(QLineEdit::Password);
    return e;
  };
  edtOperName = make("edtOperName", false);
  edtOperName->setReadOnly(true);
  edtOperName->setFocusPolicy(Qt::NoFocus);
  edtOperName->setText(Session::operName());
  edtOldPwd = make("edtOldPwd", true);
  edtNewPwd = make("edtNewPwd", true);
  edtNewPwd2 = make("edtNewPwd2", true);

  auto* grid = new QGridLayout;
  const struct {
    const char* caption;
    QLineEdit* edit;
  } rows[] = {{"操作员名称", edtOperName}, {"旧密码", edtOldPwd}, {"新密码", edtNewPwd}, {"新密码确认", edtNewPwd2}};
  int i = 0;
  for (const auto& r : rows) {
    addFieldRow(grid, i, QString::fromUtf8(r.caption), r.edit);
    ++i;
  }
  edtOldPwd->setMinimumWidth(180);

  btnSave = new QPushButton(QStringLiteral("保存"), this);
  btnSave->setObjectName("btnSave");
  btnClose = new QPushButton(QStringLiteral("退出"), this);
  btnClose->setObjectName("btnClose");
  connect(btnSave, &QPushButton::clicked, this, &TfrmOperatorPwd::save);
  connect(btnClose, &QPushButton::clicked, this, &QDialog::reject);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(btnSave);
  buttons->addWidget(btnClose);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(grid);
  layout->addLayout(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);

  setTabOrder(edtOldPwd, edtNewPwd);
  setTabOrder(edtNewPwd, edtNewPwd2);
  setTabOrder(edtNewPwd2, btnSave);
  setTabOrder(btnSave, btnClose);
  edtOldPwd->setFocus();
  new EnterAsTab(this);
}

void TfrmOperatorPwd::save() {
  if (edtNewPwd->text() != edtNewPwd2->text()) {
    MsgBox::error(QStringLiteral("两次输入的密码不一致"), QStringLiteral("提示"), this);
    return;
  }
  Query& q = dmMain()->qryExec;
  q.setSql("select * from operator where opername=:opername order by operno");
  q.bind("opername", Session::operName());
  q.open();
  const bool found = !q.isEmpty();
  const QString operNo = found ? q.str("operno") : QString();
  const bool ok = found && Password::verify(edtOldPwd->text(), q.str("pwd"));
  q.close();
  if (!ok) {
    MsgBox::error(QStringLiteral("输入的旧密码不正确"), QStringLiteral("提示"), this);
    return;
  }
  q.setSql("update operator set pwd=:pwd where operno=:operno");
  q.bind("pwd", Password::hash(edtNewPwd->text())).bind("operno", operNo);
  try {
    q.exec();
  } catch (const StoreError& e) {
    q.close();
    MsgBox::error(QStringLiteral("保存失败(") + e.message() + ")", QStringLiteral("提示"), this);
    return;
  }
  q.close();
  MsgBox::info(QStringLiteral("密码修改成功"), QStringLiteral("提示"), this);
  accept();
}
