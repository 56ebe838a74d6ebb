#include <gtest/gtest.h>

#include <QPushButton>
#include <memory>

#include "app/Commands.h"
#include "payroll/JzNext.h"
#include "support/TestEnv.h"
#include "toolkit/MonthPicker.h"
#include "toolkit/MsgBox.h"

void registerSheetCommands();

namespace {

// Two items (f2 a text item) and three employees, 0003 having left.
class JzNextTest : public ::testing::Test {
 protected:
  void SetUp() override {
    env = std::make_unique<TestProgram>();
    env->exec("insert into depart values('01','生产部')");
    env->exec(
        "insert into worker(wkcode,wkname,bmcode,sex,state) values"
        "('0001','张三','01','男',0),('0002','李四','01','女',0),('0003','王五','01','男',1)");
    env->exec("insert into gzxm(xh,fname,xmname,ftype,fsize) values(1,'f1','基本工资',0,0),(2,'f2','备注',1,10)");
    env->exec("alter table gzdata add f1 float default 0");
    env->exec("alter table gzdata add f2 varchar(10)");
  }

  void month(int y, int m, const QStringList& rows, bool itemCopy = true) {
    for (const QString& r : rows) {
      QStringList v = r.split('|');
      env->exec("insert into gzdata(xyear,xmonth,wkcode,f1,f2) values(:p1,:p2,:p3,:p4,:p5)",
                {y, m, v[0], v[1].isEmpty() ? QVariant() : QVariant(v[1].toDouble()),
                 v[2].isEmpty() ? QVariant() : QVariant(v[2])});
    }
    if (itemCopy)
      env->exec(
          "insert into gzxm_m(xyear,xmonth,xh,fname,xmname,ftype,fsize) "
          "select :p1,:p2,xh,fname,xmname,ftype,fsize from gzxm",
          {y, m});
  }
  QStringList rowsOf(int y, int m) {
    return env->rows("select wkcode,f1,f2 from gzdata where xyear=:p1 and xmonth=:p2 order by wkcode", {y, m});
  }
  int itemCopies(int y, int m) {
    return env->scalar("select count(*) from gzxm_m where xyear=:p1 and xmonth=:p2", {y, m}).toInt();
  }
  // Sets the months and presses "结转" with the answers scripted.
  void carry(TfrmJzNext& d, int y1, int m1, int y2, int m2) {
    d.sourcePicker()->setYearMonth(y1, m1);
    d.targetPicker()->setYearMonth(y2, m2);
    d.findChild<QPushButton*>("btnYes")->click();
  }

  std::unique_ptr<TestProgram> env;
};

TEST_F(JzNextTest, ProposesTheLatestMonthAndTheOneAfterIt) {
  {
    TfrmJzNext d;  // no salary rows: the business month (2010-04-15)
    EXPECT_EQ(d.sourcePicker()->date(), QDate(2010, 4, 1));
    EXPECT_EQ(d.targetPicker()->date(), QDate(2010, 5, 1));
    EXPECT_EQ(d.windowTitle(), "结转下月");
  }
  month(2009, 11, {"0001|1|"});
  month(2009, 12, {"0001|1|"});
  TfrmJzNext d;
  EXPECT_EQ(d.sourcePicker()->date(), QDate(2009, 12, 1));
  EXPECT_EQ(d.targetPicker()->date(), QDate(2010, 1, 1));
  EXPECT_EQ(d.sourcePicker()->text(), "2009年12月");
}

TEST_F(JzNextTest, RefusesAnEmptySourceAndTheSameMonth) {
  month(2010, 5, {"0001|1|"});
  TfrmJzNext d;
  MsgBox::Recorder rec;
  carry(d, 2010, 4, 2010, 5);
  carry(d, 2010, 5, 2010, 5);
  EXPECT_EQ(rec.texts(), QStringList({"转出月份没有工资数据", "转出转入月份不能是同一个月"}));
  EXPECT_EQ(rec.shown[0].caption, "错误");
  EXPECT_EQ(rowsOf(2010, 5), QStringList({"0001|1|"}));
}

TEST_F(JzNextTest, CopiesEveryRowWithItsValuesAndAsksBeforeReplacing) {
  month(2010, 4, {"0001|1500.5|12.5", "0002||", "0003|800|"});
  month(2010, 5, {"0001|9|9", "0009|9|9"});
  TfrmJzNext d;
  EXPECT_EQ(d.sourcePicker()->date(), QDate(2010, 5, 1));

  MsgBox::Recorder rec;
  rec.answerYes().answerNo();
  carry(d, 2010, 4, 2010, 5);
  EXPECT_EQ(rec.texts(), QStringList({"确认要结转吗？", "转入月份工资数据已存在，覆盖吗？"}));
  EXPECT_EQ(rowsOf(2010, 5), QStringList({"0001|9|9", "0009|9|9"}));

  rec.clear();
  rec.answerNo();
  carry(d, 2010, 4, 2010, 5);
  EXPECT_EQ(rec.texts(), QStringList({"确认要结转吗？"}));
  EXPECT_EQ(rowsOf(2010, 5), QStringList({"0001|9|9", "0009|9|9"}));

  rec.clear();
  carry(d, 2010, 4, 2010, 5);
  EXPECT_EQ(rec.lastText(), "结转成功");
  // the employee who has left is carried too; NULL stays NULL
  EXPECT_EQ(rowsOf(2010, 5), QStringList({"0001|1500.5|12.5", "0002||", "0003|800|"}));
  EXPECT_EQ(rowsOf(2010, 4), rowsOf(2010, 5));
  EXPECT_EQ(itemCopies(2010, 5), 0);  // made by the salary sheet on first load
}

TEST_F(JzNextTest, CarriesBackwardsAndGivesTheSourceAnItemCopy) {
  month(2010, 4, {"0001|1|"});
  month(2010, 5, {"0001|2|x", "0002|3|"}, /*itemCopy=*/false);
  TfrmJzNext d;
  MsgBox::Recorder rec;
  carry(d, 2010, 5, 2010, 4);
  EXPECT_EQ(rec.texts(), QStringList({"确认要结转吗？", "转入月份工资数据已存在，覆盖吗？", "结转成功"}));
  EXPECT_EQ(rowsOf(2010, 4), QStringList({"0001|2|x", "0002|3|"}));
  EXPECT_EQ(itemCopies(2010, 5), 2);
  EXPECT_EQ(itemCopies(2010, 4), 0);  // the old target's copy went with its rows
}

TEST_F(JzNextTest, FailedCopyLeavesTheOldTargetInPlace) {
  month(2010, 4, {"0001|1|", "0002|2|"}, /*itemCopy=*/false);
  month(2010, 5, {"0001|9|9"});
  env->exec(
      "create trigger refuse before insert on gzdata when new.wkcode='0002' and new.xmonth=5 "
      "begin select raise(abort,'磁盘已满'); end");
  TfrmJzNext d;
  MsgBox::Recorder rec;
  carry(d, 2010, 4, 2010, 5);
  EXPECT_EQ(rec.lastText(), "结转失败(磁盘已满)");
  EXPECT_EQ(rec.shown.last().caption, "错误");
  EXPECT_EQ(rowsOf(2010, 5), QStringList({"0001|9|9"}));
  EXPECT_EQ(itemCopies(2010, 5), 2);
  EXPECT_EQ(itemCopies(2010, 4), 0);  // the source's new copy is rolled back as well
}

TEST_F(JzNextTest, CommandOpensTheDialogModally) {
  Commands::clear();
  registerSheetCommands();
  month(2010, 4, {"0001|1|"});
  MsgBox::Recorder rec;
  bool seen = false;
  whenModal([&](QWidget* w) {
    seen = w->objectName() == "TfrmJzNext";
    w->findChild<QPushButton*>("btnYes")->click();
    w->findChild<QPushButton*>("btnCancel")->click();
  });
  EXPECT_TRUE(Commands::run(1005));
  EXPECT_TRUE(seen);
  EXPECT_EQ(rec.lastText(), "结转成功");
  EXPECT_EQ(rowsOf(2010, 5), QStringList({"0001|1|"}));
  Commands::clear();
}

}  // namespace
