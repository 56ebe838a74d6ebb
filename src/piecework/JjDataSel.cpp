#include "store/DBFun.h"
#include "piecework/JjDataSel.h"

#include <QApplication>
#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/MainDM.h"
#include "app/Session.h"
#include "common/MyFun.h"
#include "toolkit/WideCombo.h"
#include "toolkit/EnterAsTab.h"
#include "toolkit/MonthPicker.h"
#include "toolkit/FieldRow.h"

namespace {
QPointer<TfrmJjDataSel>& sharedSel() {
  static QPointer<TfrmJjDataSel> sel;
  return sel;
}
}  // namespace

TfrmJjDataSel* TfrmJjDataSel::shared() {
  if (!sharedSel()) {
    QWidget* owner = MyFun::mdiArea() ? MyFun::mdiArea()->window() : nullptr;
    sharedSel() = new TfrmJjDataSel(owner);
  }
  return sharedSel();
}

void TfrmJjDataSel::discardShared() { delete sharedSel().data(); }

TfrmJjDataSel::TfrmJjDataSel(QWidget* parent) : QDialog(parent) {
  setObjectName("TfrmJjDataSel");
  setWindowTitle(QStringLiteral("请选择过滤条件"));

  auto* fields = new QGridLayout;
  int row = 0;
  auto addRow = [&](const QString& caption, QWidget* field) {
    addFieldRow(fields, row, caption, field);
    ++row;
  };
  edtMonth = new MonthPicker(this, QStringLiteral("yyyy-MM"));
  edtMonth->setObjectName("edtMonth");
  edtMonth->setYearMonth(Session::bizQDate().year(), Session::bizQDate().month());
  addRow(QStringLiteral("月  份"), edtMonth);
  cboGz = new WideCombo(this);
  cboGz->setObjectName("cboGz");
  addRow(QStringLiteral("计件工种"), cboGz);
  cboGx = new WideCombo(this);
  cboGx->setObjectName("cboGx");
  addRow(QStringLiteral("计件工序"), cboGx);
  cboDepart = new WideCombo(this);
  cboDepart->setObjectName("cboDepart");
  addRow(QStringLiteral("部  门"), cboDepart);
  edtCode = new QLineEdit(this);
  edtCode->setObjectName("edtCode");
  addRow(QStringLiteral("员工代码"), edtCode);
  edtName = new QLineEdit(this);
  edtName->setObjectName("edtName");
  addRow(QStringLiteral("员工姓名"), edtName);
  chkDetail = new QCheckBox(QStringLiteral("是否显示员工明细"), this);
  chkDetail->setObjectName("chkDetail");
  fields->addWidget(chkDetail, row++, 1);
  fields->setColumnMinimumWidth(1, 200);

  btnYes = new QPushButton(QStringLiteral("确定"), this);
  btnYes->setObjectName("btnYes");
  btnCancel = new QPushButton(QStringLiteral("取消"), this);
  btnCancel->setObjectName("btnCancel");
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(btnYes);
  buttons->addWidget(btnCancel);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(fields);
  layout->addLayout(buttons);

  // read once: trades and departments added later show after a restart
  cboDepart->addItem(QString());
  cboDepart->addItems(DBFun::codeNames("depart", "bmcode", "bmname"));
  cboGz->addItem(QString());
  cboGz->addItems(DBFun::codeNames("jjgz", "gzcode", "gzname"));
  cboGz->setCurrentIndex(0);
  cboDepart->setCurrentIndex(0);

  connect(cboGz, &QComboBox::activated, this, &TfrmJjDataSel::cboGzChange);
  connect(btnYes, &QPushButton::clicked, this, &TfrmJjDataSel::btnYesClick);
  connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
  new EnterAsTab(this);
}

void TfrmJjDataSel::cboGzChange() {
  cboGx->clear();
  if (cboGz->currentText().isEmpty()) return;
  cboGx->addItem(QString());
  cboGx->addItems(DBFun::processNames(MyFun::codeOf(cboGz->currentText())));
  cboGx->setCurrentIndex(0);
}

JjFilter TfrmJjDataSel::buildFilter() const {
  JjFilter f;
  f.detail = chkDetail->isChecked();
  QString sql = f.detail ? "select * from jjdata m,jjdata_d d where m.pid=d.pid" : "select * from jjdata where 1=1";
  sql += " and year(dt)=" + QString::number(edtMonth->year()) + " and month(dt)=" + QString::number(edtMonth->month());
  if (!cboGz->currentText().isEmpty()) {
    sql += " and gzcode=:gzcode";
    f.params.append({"gzcode", MyFun::codeOf(cboGz->currentText())});
  }
  if (!cboGx->currentText().isEmpty()) {
    sql += " and gxcode=:gxcode";
    f.params.append({"gxcode", MyFun::codeOf(cboGx->currentText())});
  }
  if (f.detail) {
    if (!cboDepart->currentText().isEmpty()) {
      sql += " and wkcode in (select wkcode from worker where bmcode=:bmcode)";
      f.params.append({"bmcode", MyFun::codeOf(cboDepart->currentText())});
    }
    if (!edtCode->text().isEmpty()) {
      sql += " and wkcode=:wkcode";
      f.params.append({"wkcode", edtCode->text()});
    }
    if (!edtName->text().isEmpty()) {
      sql += " and wkcode in (select wkcode from worker where wkname=:wkname)";
      f.params.append({"wkname", edtName->text()});
    }
  }
  sql += f.detail ? " order by dt,d.pid,d.wkcode" : " order by dt,pid";
  f.sql = sql;
  f.monthTitle = QString::number(edtMonth->year()) + QStringLiteral("年") +
                 QString::number(edtMonth->month()).rightJustified(2, '0') + QStringLiteral("月");
  return f;
}

void TfrmJjDataSel::btnYesClick() {
  filter_ = buildFilter();
  accept();
}
