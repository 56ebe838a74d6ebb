#include "operators/OperatorRole.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>

#include "app/MainDM.h"
#include "toolkit/MsgBox.h"

TfrmOperatorRole::TfrmOperatorRole(QWidget* parent) : QDialog(parent) {
  setObjectName("TfrmOperatorRole");
  setWindowTitle(QStringLiteral("权限设定"));

  cboName = new QComboBox(this);
  cboName->setObjectName("cboName");
  cboName->setEditable(false);
  cboName->setMinimumWidth(160);
  auto* nameLabel = new QLabel(QStringLiteral("操作员名称"), this);
  nameLabel->setBuddy(cboName);
  auto button = [this](const QString& text, const char* name) {
    auto* b = new QPushButton(text, this);
    b->setObjectName(name);
    b->setAutoDefault(false);
    return b;
  };
  btnAll = button(QStringLiteral("全选"), "btnAll");
  btnClear = button(QStringLiteral("全清"), "btnClear");
  btnSave = button(QStringLiteral("保存"), "btnSave");
  btnClose = button(QStringLiteral("退出"), "btnClose");
  connect(btnAll, &QPushButton::clicked, this, [this] { tickAll(true); });
  connect(btnClear, &QPushButton::clicked, this, [this] { tickAll(false); });
  connect(btnSave, &QPushButton::clicked, this, &TfrmOperatorRole::save);
  connect(btnClose, &QPushButton::clicked, this, &QDialog::reject);

  auto* top = new QHBoxLayout;
  top->addWidget(nameLabel);
  top->addWidget(cboName);
  top->addStretch();
  for (QPushButton* b : {btnAll, btnClear, btnSave, btnClose}) top->addWidget(b);

  auto* group = new QGroupBox(QStringLiteral("权限列表"), this);
  auto* scroll = new QScrollArea(group);
  scroll->setObjectName("clbRoles");
  scroll->setWidgetResizable(true);
  scroll->setFrameShape(QFrame::NoFrame);
  auto* boxes = new QWidget(scroll);
  roleGrid_ = new QGridLayout(boxes);
  scroll->setWidget(boxes);
  auto* groupLayout = new QVBoxLayout(group);
  groupLayout->addWidget(scroll);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addWidget(group, 1);
  resize(560, 420);

  Query& q = dmMain()->qryExec;
  q.open("select opername from operator where lower(opername)<>'admin' order by operno");
  for (q.first(); !q.eof(); q.next()) cboName->addItem(q.str("opername"));
  q.close();

  // Three columns filled top to bottom, as a check list with columns does.
  q.open("select * from roles where flag=0 order by roleid");
  const int perColumn = (q.recordCount() + 2) / 3;
  for (q.first(); !q.eof(); q.next()) {
    auto* box = new QCheckBox(q.str("rolename").trimmed(), boxes);
    box->setObjectName("chkRole" + QString::number(q.integer("roleid")));
    box->setProperty("roleid", q.integer("roleid"));
    box->setProperty("loaded", false);
    const int i = roleBoxes.size();
    roleGrid_->addWidget(box, i % perColumn, i / perColumn);
    roleBoxes << box;
  }
  q.close();
  roleGrid_->setRowStretch(perColumn, 1);

  if (cboName->count() > 0) cboName->setCurrentIndex(0);
  loadTicks();
  connect(cboName, &QComboBox::currentIndexChanged, this, &TfrmOperatorRole::loadTicks);
}

void TfrmOperatorRole::loadTicks() {
  for (QCheckBox* box : roleBoxes) {
    box->setChecked(false);
    box->setProperty("loaded", false);
  }
  if (cboName->currentIndex() < 0) return;
  Query& q = dmMain()->qryExec;
  q.setSql("select * from rolelist where opername=:opername order by roleid");
  q.bind("opername", cboName->currentText());
  q.open();
  for (q.first(); !q.eof(); q.next()) {
    for (QCheckBox* box : roleBoxes) {
      if (box->property("roleid").toLongLong() == q.integer("roleid")) {
        box->setChecked(true);
        box->setProperty("loaded", true);
        break;
      }
    }
  }
  q.close();
}

void TfrmOperatorRole::tickAll(bool on) {
  for (QCheckBox* box : roleBoxes) box->setChecked(on);
}

void TfrmOperatorRole::save() {
  if (cboName->currentIndex() < 0) return;
  const QString name = cboName->currentText();
  Query& q = dmMain()->qryExec;
  try {
    // Only the boxes that changed write anything, all of them or none.
    Transaction t(db());
    for (QCheckBox* box : roleBoxes) {
      const bool was = box->property("loaded").toBool();
      if (box->isChecked() == was) continue;
      q.setSql(was ? "delete from rolelist where opername=:opername and roleid=:roleid"
                   : "insert into rolelist(opername,roleid) values(:opername,:roleid)");
      q.bind("opername", name).bind("roleid", box->property("roleid"));
      q.exec();
    }
    q.close();
    t.commit();
  } catch (const StoreError& e) {
    q.close();
    MsgBox::error(QStringLiteral("保存失败(") + e.message() + ")", QStringLiteral("提示"), this);
    return;
  }
  MsgBox::info(QStringLiteral("权限保存成功"), QStringLiteral("提示"), this);
  accept();
}
