#include "payroll/GzxmMdy.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>

#include "app/MainDM.h"
#include "common/MyFun.h"
#include "store/DBFun.h"
#include "toolkit/EnterAsTab.h"
#include "toolkit/MsgBox.h"
#include "toolkit/FieldRow.h"

TfrmGzxmMdy::TfrmGzxmMdy(QWidget* parent) : QDialog(parent) {
  setObjectName("TfrmGzxmMdy");
  setWindowTitle("工资项目修改");

  edtName = new QLineEdit(this);
  edtName->setObjectName("edtName");
  edtSize = new QLineEdit("0", this);
  edtSize->setObjectName("edtSize");
  // digits only, typed or pasted
  edtSize->setValidator(new QRegularExpressionValidator(QRegularExpression("[0-9]*"), edtSize));
  cboTp = new QComboBox(this);
  cboTp->setObjectName("cboTp");
  cboTp->addItems({"数值型", "文本型"});
  // choosing "数值型" resets the width, even when it was chosen already
  auto numericWidth = [this](int i) {
    if (i == 0) edtSize->setText("0");
  };
  connect(cboTp, &QComboBox::currentIndexChanged, this, numericWidth);
  connect(cboTp, &QComboBox::activated, this, numericWidth);

  auto* grid = new QGridLayout;
  addFieldRow(grid, 0, "项目名称", edtName);
  addFieldRow(grid, 1, "数据宽度", edtSize);
  addFieldRow(grid, 2, "数据类型", cboTp);

  btnSave = new QPushButton("保存", this);
  btnSave->setObjectName("btnSave");
  btnCancel = new QPushButton("取消", this);
  btnCancel->setObjectName("btnCancel");
  btnSave->setAutoDefault(false);
  btnCancel->setAutoDefault(false);
  connect(btnSave, &QPushButton::clicked, this, &TfrmGzxmMdy::save);
  connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(btnSave);
  buttons->addWidget(btnCancel);

  auto* top = new QVBoxLayout(this);
  top->addLayout(grid);
  top->addSpacing(8);
  top->addLayout(buttons);
  resize(300, 150);
  new EnterAsTab(this);
}

void TfrmGzxmMdy::setMode(Mode mode, int xh) {
  mode_ = mode;
  xh_ = xh;
}

void TfrmGzxmMdy::save() {
  if (edtName->text().isEmpty()) {
    MsgBox::error("请填项目名称", "提示", this);
    return;
  }
  try {
    const int ftype = cboTp->currentIndex();
    const int width = MyFun::strToInt(edtSize->text());
    Transaction t(db());
    Query q(&db());
    if (mode_ == Add) {
      const int n = DBFun::nextFieldNumber();
      const QString fname = "f" + QString::number(n);
      q.setSql("insert into gzxm(xh,fname,xmname,ftype,fsize) values(:xh,:fname,:xmname,:ftype,:fsize)");
      q.bind(":xh", n).bind(":fname", fname);
      q.bind(":xmname", edtName->text()).bind(":ftype", ftype).bind(":fsize", width);
      q.exec();
      // the column's name and width are the program's own numbers, never typed text
      q.exec("alter table gzdata add " + fname +
             (ftype == 0 ? QString(" float default 0") : " varchar(" + QString::number(width) + ")"));
    } else {
      q.setSql("update gzxm set xmname=:xmname,ftype=:ftype,fsize=:fsize where xh=:xh");
      q.bind(":xmname", edtName->text()).bind(":ftype", ftype).bind(":fsize", width).bind(":xh", xh_);
      q.exec();
    }
    t.commit();
  } catch (const std::exception& e) {
    MsgBox::error("保存失败(" + QString::fromUtf8(e.what()) + ")", "错误", this);
    return;
  }
  MsgBox::info("保存成功", "提示", this);
  if (mode_ == Modify) {
    accept();
    return;
  }
  edtName->clear();
  edtName->setFocus();
}
