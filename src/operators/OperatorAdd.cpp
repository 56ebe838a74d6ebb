#include "operators/OperatorAdd.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/MainDM.h"
#include "store/Password.h"
#include "toolkit/EnterAsTab.h"
#include "toolkit/MsgBox.h"
#include "toolkit/FieldRow.h"

TfrmOperatorAdd::TfrmOperatorAdd(QWidget* parent) : QDialog(parent) {
  setObjectName("TfrmOperatorAdd");
  setWindowTitle(QStringLiteral("创建操作员"));

  auto make = [this](const char* name, bool secret) {
    auto* e = new QLineEdit(this);
    e->setObjectName(name);
    if (secret) e->setEchoMode(QLineEdit::Password);
    return e;
  };
  edtOperNo = make("edtOperNo", false);
  edtOperName = make("edtOperName", false);
  edtPwd = make("edtPwd", true);
  edtPwd2 = make("edtPwd2", true);
  edtDept = make("edtDept", false);

  auto* grid = new QGridLayout;
  const struct {
    const char* caption;
    QLineEdit* edit;
  } rows[] = {{"操作员编码：", edtOperNo},
              {"操作员名称：", edtOperName},
              {"密    码：", edtPwd},
              {"确认密码：", edtPwd2},
              {"所属部门：", edtDept}};
  int i = 0;
  for (const auto& r : rows) {
    addFieldRow(grid, i, QString::fromUtf8(r.caption), r.edit);
    ++i;
  }
  edtOperName->setMinimumWidth(180);

  btnSave = new QPushButton(QStringLiteral("保存"), this);
  btnSave->setObjectName("btnSave");
  btnCancel = new QPushButton(QStringLiteral("取消"), this);
  btnCancel->setObjectName("btnCancel");
  connect(btnSave, &QPushButton::clicked, this, &TfrmOperatorAdd::save);
  connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(btnSave);
  buttons->addWidget(btnCancel);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(grid);
  layout->addLayout(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);

  setTabOrder(edtOperNo, edtOperName);
  setTabOrder(edtOperName, edtPwd);
  setTabOrder(edtPwd, edtPwd2);
  setTabOrder(edtPwd2, edtDept);
  setTabOrder(edtDept, btnSave);
  setTabOrder(btnSave, btnCancel);
  new EnterAsTab(this);
}

void TfrmOperatorAdd::save() {
  const QString no = edtOperNo->text();
  const QString name = edtOperName->text();
  if (name.trimmed().isEmpty()) {
    MsgBox::error(QStringLiteral("请输入操作员名称"), QStringLiteral("提示"), this);
    return;
  }
  if (edtPwd->text() != edtPwd2->text()) {
    MsgBox::error(QStringLiteral("两次输入的密码不一致"), QStringLiteral("提示"), this);
    return;
  }
  Query& q = dmMain()->qryExec;
  try {
    q.setSql("select * from operator where operno=:operno");
    q.bind("operno", no);
    q.open();
    const bool noTaken = !q.isEmpty();
    q.close();
    if (noTaken) {
      MsgBox::error(QStringLiteral("编码已存在！"), QStringLiteral("提示"), this);
      return;
    }
    // Permissions, signatures and the password change find an operator by
    // name, and "Admin" would count as the administrator.
    q.setSql("select * from operator where lower(opername)=lower(:opername)");
    q.bind("opername", name);
    q.open();
    const bool nameTaken = !q.isEmpty();
    q.close();
    if (nameTaken) {
      MsgBox::error(QStringLiteral("操作员名称已存在！"), QStringLiteral("提示"), this);
      return;
    }
    q.setSql("insert into operator(operno,opername,pwd,dept) values(:operno,:opername,:pwd,:dept)");
    q.bind("operno", no).bind("opername", name).bind("pwd", Password::hash(edtPwd->text())).bind("dept",
                                                                                              edtDept->text());
    q.exec();
    q.close();
  } catch (const StoreError& e) {
    q.close();
    MsgBox::error(e.message(), QStringLiteral("错误"), this);
    return;
  }
  for (QLineEdit* e : {edtOperNo, edtOperName, edtPwd, edtPwd2, edtDept}) e->clear();
  edtOperName->setFocus();
}
