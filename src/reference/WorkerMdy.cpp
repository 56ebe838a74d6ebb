#include "reference/WorkerMdy.h"

#include <QComboBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/MainDM.h"
#include "common/MyFun.h"
#include "store/DBFun.h"
#include "toolkit/EnterAsTab.h"
#include "toolkit/MsgBox.h"

TfrmWorkerMdy::TfrmWorkerMdy(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint) {
  setObjectName("TfrmWorkerMdy");
  setWindowTitle(QStringLiteral("员工信息修改"));

  lblBm = new QLabel(QStringLiteral("所属部门："), this);
  lblBm->setObjectName("lblBm");
  QFont bold = lblBm->font();
  bold.setBold(true);
  lblBm->setFont(bold);

  auto* fields = new QGridLayout;
  fields->setHorizontalSpacing(8);
  fields->setVerticalSpacing(8);
  int at = 0;
  auto place = [&](const QString& caption, QWidget* control, bool wide = false) {
    auto* label = new QLabel(caption, this);
    label->setBuddy(control);
    int row = at / 2, col = (at % 2) * 2;
    fields->addWidget(label, row, col, Qt::AlignRight);
    if (wide) {
      fields->addWidget(control, row, col + 1, 1, 3);
      at += 2;
    } else {
      fields->addWidget(control, row, col + 1);
      at += 1;
    }
  };
  auto edit = [this](const char* name) {
    auto* e = new QLineEdit(this);
    e->setObjectName(name);
    return e;
  };
  auto combo = [this](const char* name, const QStringList& items) {
    auto* c = new QComboBox(this);
    c->setObjectName(name);
    c->addItems(items);
    return c;
  };

  edtCode = edit("edtCode");
  edtName = edit("edtName");
  cboSex = combo("cboSex", {QString(), QStringLiteral("男"), QStringLiteral("女")});
  cboTp = combo("cboTp", {QString()});
  edtSfid = edit("edtSfid");
  edtXl = edit("edtXl");
  edtAddr = edit("edtAddr");
  edtPhone = edit("edtPhone");
  dtpIndate = new QDateEdit(this);
  dtpIndate->setObjectName("dtpIndate");
  dtpIndate->setDisplayFormat("yyyy-MM-dd");
  dtpIndate->setCalendarPopup(true);
  edtBankacc = edit("edtBankacc");
  cboGztp = combo("cboGztp", {QStringLiteral("计件"), QStringLiteral("按月")});
  cboState = combo("cboState", {QStringLiteral("在职"), QStringLiteral("离职")});
  edtMm = edit("edtMm");

  place(QStringLiteral("员工代码"), edtCode);
  place(QStringLiteral("员工姓名"), edtName);
  place(QStringLiteral("性  别"), cboSex);
  place(QStringLiteral("职位名称"), cboTp);
  place(QStringLiteral("身份证号"), edtSfid);
  place(QStringLiteral("学历"), edtXl);
  place(QStringLiteral("地址"), edtAddr);
  place(QStringLiteral("电话"), edtPhone);
  place(QStringLiteral("入职日期"), dtpIndate);
  place(QStringLiteral("银行帐号"), edtBankacc);
  place(QStringLiteral("工资类型"), cboGztp);
  place(QStringLiteral("状  态"), cboState);
  place(QStringLiteral("备  注"), edtMm, true);
  fields->setColumnMinimumWidth(1, 170);
  fields->setColumnMinimumWidth(3, 170);

  btnSave = new QPushButton(QStringLiteral("保存"), this);
  btnSave->setObjectName("btnSave");
  btnCancel = new QPushButton(QStringLiteral("取消"), this);
  btnCancel->setObjectName("btnCancel");
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(btnSave);
  buttons->addWidget(btnCancel);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(lblBm);
  layout->addSpacing(4);
  layout->addLayout(fields);
  layout->addSpacing(8);
  layout->addLayout(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);

  QWidget* order[] = {edtCode,   edtName,    cboSex,  cboTp,    edtSfid, edtXl,   edtAddr,  edtPhone,
                      dtpIndate, edtBankacc, cboGztp, cboState, edtMm,   btnSave, btnCancel};
  for (size_t i = 0; i + 1 < std::size(order); ++i) setTabOrder(order[i], order[i + 1]);

  new EnterAsTab(this);
  connect(btnSave, &QPushButton::clicked, this, &TfrmWorkerMdy::btnSaveClick);
  connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);

  cboTp->addItems(DBFun::codeNames("worker_tp", "tpcode", "tpname"));
  dtpIndate->setDate(QDate::currentDate());
  cboSex->setCurrentIndex(0);
  cboTp->setCurrentIndex(0);
  cboGztp->setCurrentIndex(0);
  cboState->setCurrentIndex(0);
}

void TfrmWorkerMdy::btnSaveClick() {
  QString code = edtCode->text();
  if (code.isEmpty() || edtName->text().isEmpty()) {
    MsgBox::error(QStringLiteral("请填写员工代码和姓名"), QStringLiteral("提示"), this);
    return;
  }
  if (mode_ == 1 && DBFun::workerExists(code)) {
    MsgBox::error(QStringLiteral("员工代码已存在"), QStringLiteral("提示"), this);
    return;
  }
  auto indexOrNull = [](QComboBox* c) { return c->currentIndex() < 0 ? QVariant() : QVariant(c->currentIndex()); };
  Query& q = dmMain()->qryExec;
  q.close();
  if (mode_ == 1)
    q.setSql(
        "insert into worker(wkcode,wkname,bmcode,sex,tpcode,sfid,xl,addr,phone,indate,bankacc,gztp,state,mm) "
        "values(:wkcode,:wkname,:bmcode,:sex,:tpcode,:sfid,:xl,:addr,:phone,:indate,:bankacc,:gztp,:state,:mm)");
  else
    q.setSql(
        "update worker set wkcode=:wkcode,wkname=:wkname,bmcode=:bmcode,sex=:sex,tpcode=:tpcode,sfid=:sfid,xl=:xl,"
        "addr=:addr,phone=:phone,indate=:indate,bankacc=:bankacc,gztp=:gztp,state=:state,mm=:mm where wkcode=:key");
  q.bind("wkcode", code)
      .bind("wkname", edtName->text())
      .bind("bmcode", bmcode_)
      .bind("sex", cboSex->currentText())
      .bind("tpcode", cboTp->currentIndex() > 0 ? QVariant(MyFun::codeOf(cboTp->currentText())) : QVariant())
      .bind("sfid", edtSfid->text())
      .bind("xl", edtXl->text())
      .bind("addr", edtAddr->text())
      .bind("phone", edtPhone->text())
      .bind("indate", dtpIndate->date().toString("yyyy-MM-dd"))
      .bind("bankacc", edtBankacc->text())
      .bind("gztp", indexOrNull(cboGztp))
      .bind("state", indexOrNull(cboState))
      .bind("mm", edtMm->text());
  if (mode_ != 1) q.bind("key", code);
  try {
    q.exec();
  } catch (const StoreError& e) {
    MsgBox::error(QStringLiteral("保存失败(") + e.message() + ")", QStringLiteral("错误"), this);
    return;
  }
  MsgBox::info(QStringLiteral("保存成功"), QStringLiteral("提示"), this);
  if (mode_ != 1) {
    accept();
    return;
  }
  if (DBFun::getParam(7) == "1") edtCode->setText(DBFun::nextWorkerCode());
  edtName->clear();
  edtCode->setFocus();
}
