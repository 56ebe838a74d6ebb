#include "payroll/JzNext.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/MainDM.h"
#include "store/DBFun.h"
#include "toolkit/EnterAsTab.h"
#include "toolkit/MonthPicker.h"
#include "toolkit/MsgBox.h"

TfrmJzNext::TfrmJzNext(QWidget* parent) : QDialog(parent) {
  setObjectName("TfrmJzNext");
  setWindowTitle(QStringLiteral("结转下月"));

  auto* group = new QGroupBox(QStringLiteral("月份选择"), this);
  auto* lblFrom = new QLabel(QStringLiteral("转出月份"), group);
  edtFrom = new MonthPicker(group, QStringLiteral("yyyy年MM月"));
  edtFrom->setObjectName("edtFrom");
  lblFrom->setBuddy(edtFrom);
  auto* lblTo = new QLabel(QStringLiteral("转入月份"), group);
  edtTo = new MonthPicker(group, QStringLiteral("yyyy年MM月"));
  edtTo->setObjectName("edtTo");
  lblTo->setBuddy(edtTo);
  auto* g = new QGridLayout(group);
  g->addWidget(lblFrom, 0, 0);
  g->addWidget(edtFrom, 0, 1);
  g->addWidget(lblTo, 1, 0);
  g->addWidget(edtTo, 1, 1);

  auto* btnYes = new QPushButton(QStringLiteral("结转"), this);
  btnYes->setObjectName("btnYes");
  btnYes->setAutoDefault(false);
  auto* btnCancel = new QPushButton(QStringLiteral("取消"), this);
  btnCancel->setObjectName("btnCancel");
  btnCancel->setAutoDefault(false);
  connect(btnYes, &QPushButton::clicked, this, &TfrmJzNext::btnYesClick);
  connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(btnYes);
  buttons->addWidget(btnCancel);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(group);
  layout->addLayout(buttons);
  new EnterAsTab(this);

  int year = 0, month = 0;
  DBFun::defaultPeriod(year, month);
  edtFrom->setYearMonth(year, month);
  edtTo->setYearMonth(month == 12 ? year + 1 : year, month == 12 ? 1 : month + 1);
}

void TfrmJzNext::btnYesClick() {
  const int y1 = edtFrom->year(), m1 = edtFrom->month();
  const int y2 = edtTo->year(), m2 = edtTo->month();
  if (!DBFun::monthHasSalary(y1, m1)) {
    MsgBox::error(QStringLiteral("转出月份没有工资数据"), QStringLiteral("错误"), this);
    return;
  }
  if (y1 * 12 + m1 == y2 * 12 + m2) {
    MsgBox::error(QStringLiteral("转出转入月份不能是同一个月"), QStringLiteral("错误"), this);
    return;
  }
  if (!MsgBox::ask(QStringLiteral("确认要结转吗？"), this)) return;
  bool replace = DBFun::monthHasSalary(y2, m2);
  if (replace && !MsgBox::ask(QStringLiteral("转入月份工资数据已存在，覆盖吗？"), this)) return;
  try {
    carry(y1, m1, y2, m2, replace);
  } catch (const std::exception& e) {
    MsgBox::error(QStringLiteral("结转失败(") + QString::fromUtf8(e.what()) + ")", QStringLiteral("错误"), this);
    return;
  }
  MsgBox::info(QStringLiteral("结转成功"), QStringLiteral("提示"), this);
}

// The old target month goes in the same transaction as the copy, so a failed
// carry-over leaves it in place.
void TfrmJzNext::carry(int y1, int m1, int y2, int m2, bool replace) {
  Transaction t(db());
  if (replace) DBFun::deleteMonth(y2, m2);

  Query& q = dmMain()->qryExec;
  q.setSql("select 1 from gzxm_m where xyear=:xyear and xmonth=:xmonth limit 1");
  q.bind("xyear", y1).bind("xmonth", m1);
  q.open();
  bool hasItems = !q.isEmpty();
  if (!hasItems) {
    q.setSql(
        "insert into gzxm_m(xyear,xmonth,xh,fname,xmname,ftype,fsize) "
        "select :xyear,:xmonth,xh,fname,xmname,ftype,fsize from gzxm order by xh");
    q.bind("xyear", y1).bind("xmonth", m1);
    q.exec();
  }

  q.setSql("select * from gzdata where xyear=:xyear and xmonth=:xmonth");
  q.bind("xyear", y1).bind("xmonth", m1);
  q.open();
  Query& ins = dmMain()->qryExec2;
  ins.open("select * from gzdata where 1=0");
  const QStringList cols = ins.fieldNames();
  QStringList params;
  for (int c = 0; c < cols.size(); ++c) params << ":c" + QString::number(c);
  ins.setSql("insert into gzdata(" + cols.join(',') + ") values(" + params.join(',') + ")");
  ins.bind("c0", y2).bind("c1", m2);
  // every column after xyear and xmonth, by position; NULL stays NULL
  for (const QVector<QVariant>& row : q.rows()) {
    for (int c = 2; c < cols.size() && c < row.size(); ++c) ins.bind("c" + QString::number(c), row[c]);
    ins.exec();
  }
  q.close();
  ins.close();
  t.commit();
}
