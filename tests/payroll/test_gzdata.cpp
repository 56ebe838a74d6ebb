#include <gtest/gtest.h>

#include <QFile>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTest>
#include <QToolBar>
#include <QToolButton>
#include <QToolTip>
#include <memory>

#include "app/Commands.h"
#include "common/MyFun.h"
#include "payroll/GzData.h"
#include "support/TestEnv.h"
#include "toolkit/DataGrid.h"
#include "toolkit/FileDialog.h"
#include "toolkit/MonthPicker.h"
#include "toolkit/MsgBox.h"

void registerSheetCommands();

namespace {

// A small workshop: two departments, two positions, four employees of whom
// one has left, and six items (f6 a text item).
class GzDataTest : public ::testing::Test {
 protected:
  void SetUp() override {
    env = std::make_unique<TestProgram>();
    env->exec("insert into depart values('01','生产部'),('02','管理部')");
    env->exec("insert into worker_tp values('01','组长'),('02','工人')");
    env->exec(
        "insert into worker(wkcode,wkname,bmcode,sex,tpcode,state) values"
        "('0001','张三','02','男','01',0),('0002','李四','01','女','02',0),"
        "('0003','王五','01','男','02',1),('0004','赵六','01','男',null,0)");
    addItem(1, "基本工资");
    addItem(2, "奖金");
    addItem(3, "标志");
    addItem(4, "应发");
    addItem(5, "补贴");
    addItem(6, "备注", 20);
  }
  void TearDown() override {
    w.reset();
    env.reset();
  }

  void addItem(int n, const QString& name, int textSize = 0) {
    QString f = "f" + QString::number(n);
    env->exec("insert into gzxm(xh,fname,xmname,ftype,fsize) values(:p1,:p2,:p3,:p4,:p5)",
              {n, f, name, textSize ? 1 : 0, textSize});
    env->exec("alter table gzdata add " + f +
              (textSize ? " varchar(" + QString::number(textSize) + ")" : QString(" float default 0")));
  }
  void addFormula(int xh, const QString& target, const QString& gs, const QString& con = {}) {
    env->exec("insert into gzgs(xh,fname,gs,con) values(:p1,:p2,:p3,:p4)", {xh, target, gs, con});
  }

  // Opens a fresh window (formulas are read when it opens) and loads the month.
  void open(int mode = 0, int year = 2010, int month = 4) {
    w.reset();
    w = std::make_unique<TfrmGzData>();
    w->setMode(mode);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    w->resize(900, 500);
    w->show();
    w->monthPicker()->setYearMonth(year, month);
    click("btnLoad");
  }
  QToolButton* button(const char* name) { return w->ownToolBar()->findChild<QToolButton*>(name); }
  void click(const char* name) {
    QToolButton* b = button(name);
    ASSERT_NE(b, nullptr) << name;
    b->click();
  }
  DataGrid* grid() { return w->dataGrid(); }
  int rowOf(const QString& wkcode) {
    DataSet* t = w->sheet();
    for (int r = 0; r < t->recordCount(); ++r)
      if (t->valueAt(r, t->fieldIndex("wkcode")).toString() == wkcode) return r;
    return -1;
  }
  QString cell(const QString& wkcode, const QString& field) {
    return grid()->cellText(rowOf(wkcode), grid()->columnOfField(field));
  }
  // Types into a cell through the grid's editor; Enter unless told otherwise.
  void type(const QString& wkcode, const QString& field, const QString& text, bool enter = true) {
    QModelIndex idx = grid()->model()->index(rowOf(wkcode), grid()->columnOfField(field));
    grid()->setCurrentIndex(idx);
    grid()->edit(idx);
    auto* editor = qobject_cast<QLineEdit*>(grid()->indexWidget(idx));
    ASSERT_NE(editor, nullptr);
    editor->selectAll();
    QTest::keyClicks(editor, text);
    if (enter) QTest::keyClick(editor, Qt::Key_Return);
  }
  void calc(MsgBox::Recorder& rec) {
    rec.answerYes();
    click("btnCalc");
  }
  QString stored(const QString& wkcode, const QString& columns, int year = 2010, int month = 4) {
    QStringList r = env->rows("select " + columns + " from gzdata where xyear=:p1 and xmonth=:p2 and wkcode=:p3",
                              {year, month, wkcode});
    return r.value(0, "<no row>");
  }
  void store(const QString& wkcode, const QString& assignments) {
    if (assignments.isEmpty()) return;
    env->exec("update gzdata set " + assignments + " where xyear=2010 and xmonth=4 and wkcode=:p1", {wkcode});
  }

  std::unique_ptr<TestProgram> env;
  std::unique_ptr<TfrmGzData> w;
};

TEST_F(GzDataTest, NewMonthGetsItemCopyAndRowsForEmployeesInService) {
  MsgBox::Recorder rec;
  open();
  EXPECT_TRUE(rec.shown.isEmpty()) << rec.lastText().toStdString();
  EXPECT_EQ(w->loadedYear(), 2010);
  EXPECT_EQ(w->loadedMonth(), 4);
  EXPECT_EQ(env->rows("select fname||'|'||xmname from gzxm_m where xyear=2010 and xmonth=4 order by xh"),
            QStringList({"f1|基本工资", "f2|奖金", "f3|标志", "f4|应发", "f5|补贴", "f6|备注"}));
  EXPECT_EQ(env->rows("select wkcode,f1,f6 from gzdata where xyear=2010 and xmonth=4 order by wkcode"),
            QStringList({"0001|0|", "0002|0|", "0004|0|"}));

  // sheet order: department code, then employee code; names from the roster
  DataSet* t = w->sheet();
  ASSERT_EQ(t->recordCount(), 3);
  QStringList order;
  for (int r = 0; r < 3; ++r)
    order << t->valueAt(r, t->fieldIndex("wkcode")).toString() + t->valueAt(r, t->fieldIndex("bmname")).toString() +
                 t->valueAt(r, t->fieldIndex("tpname")).toString();
  EXPECT_EQ(order, QStringList({"0002生产部工人", "0004生产部", "0001管理部组长"}));
  EXPECT_EQ(cell("0001", "f1"), "0.00");
  EXPECT_EQ(cell("0001", "f6"), "");
  EXPECT_EQ(cell("0001", "sex"), "男");
}

TEST_F(GzDataTest, ColumnsFollowTheMonthsItemsAndFormulas) {
  addFormula(1, "f4", "f1+f2");
  open();
  DataGrid* g = grid();
  ASSERT_EQ(g->columnCount(), 13);
  for (int i : {0, 1}) {
    EXPECT_FALSE(g->column(i).visible);
    EXPECT_EQ(g->column(i).tag, 1);
  }
  QStringList titles;
  for (int i = 2; i < g->columnCount(); ++i) titles << g->column(i).title;
  EXPECT_EQ(titles, QStringList({"部门名称", "职位名称", "员工代码", "员工姓名", "性别", "基本工资", "奖金", "标志",
                                 "应发", "补贴", "备注"}));
  for (int i = 2; i <= 6; ++i) {
    EXPECT_TRUE(g->column(i).infoColor && g->column(i).readOnly) << i;
    EXPECT_EQ(g->column(i).width, i == 6 ? 40 : 70);
  }
  for (int i = 7; i < g->columnCount(); ++i) {
    bool target = g->column(i).field == "f4";
    EXPECT_EQ(g->column(i).readOnly, target) << i;
    EXPECT_EQ(g->column(i).infoColor, target) << i;
    EXPECT_EQ(g->column(i).width, 60);
    EXPECT_EQ(g->column(i).displayFormat, "0.00");
  }
  EXPECT_FALSE(g->isGridReadOnly());
  // the shading is the system's tooltip background, as the user's other programs show it
  const QColor tip = QToolTip::palette().color(QPalette::Inactive, QPalette::ToolTipBase);
  auto shade = [g](const char* field) {
    return g->model()->index(0, g->columnOfField(field)).data(Qt::BackgroundRole);
  };
  EXPECT_EQ(shade("wkname").value<QColor>(), tip);
  EXPECT_EQ(shade("f4").value<QColor>(), tip);
  EXPECT_FALSE(shade("f1").isValid());
}

TEST_F(GzDataTest, ColumnSettingsAreKeptPerModeAndTheGridExports) {
  MyFun::writeIni("GzData1", "col8", "0");  // 奖金 hidden in the payslip window only
  MyFun::writeIni("GzData1", "col0", "1");  // a fixed column stays hidden whatever is kept
  open(1);
  EXPECT_FALSE(grid()->isColumnVisible(grid()->columnOfField("f2")));
  EXPECT_FALSE(grid()->isColumnVisible(0));
  open(0);
  EXPECT_TRUE(grid()->isColumnVisible(grid()->columnOfField("f2")));

  bool shown = false;
  whenModal("TfrmSetup", [&](QWidget* d) {
    shown = true;
    d->close();
  });
  click("btnSetup");
  EXPECT_TRUE(shown);

  FileDialog::Script files;
  files.answer(env->dir() + "april");
  click("btnExport");
  EXPECT_TRUE(QFile::exists(env->dir() + "april.xlsx"));
}

TEST_F(GzDataTest, ItemAddedAfterThePreparedMonthIsNotInIt) {
  open();
  addItem(7, "加班费");
  addFormula(1, "f7", "100");      // targets an item the month lacks: ignored
  addFormula(2, "f4", "f7+f1");    // names it: empty on every row
  open();
  EXPECT_EQ(grid()->columnOfField("f7"), -1);
  EXPECT_EQ(w->sheet()->fieldIndex("f7"), -1);
  MsgBox::Recorder rec;
  calc(rec);
  EXPECT_TRUE(rec.saw("计算完毕"));
  EXPECT_EQ(stored("0001", "f4,f7"), "|0");
}

TEST_F(GzDataTest, LoadedMonthKeepsItsRowsAndRegenerationStartsAfresh) {
  open();
  store("0001", "f1=3000");
  env->exec("insert into worker(wkcode,wkname,bmcode,sex,state) values('0005','钱七','02','女',0)");
  open();
  EXPECT_EQ(w->sheet()->recordCount(), 3);
  EXPECT_EQ(cell("0001", "f1"), "3000.00");

  MsgBox::Recorder rec;
  rec.answerNo();
  click("btnRegen");
  EXPECT_EQ(rec.lastText(), "要重新生成当月工资数据吗？");
  EXPECT_EQ(stored("0001", "f1"), "3000");

  rec.answerYes();
  click("btnRegen");
  EXPECT_EQ(w->sheet()->recordCount(), 4);
  EXPECT_EQ(stored("0001", "f1"), "0");
  EXPECT_EQ(stored("0005", "f1"), "0");
}

// One row (0001) calculated twice; what is stored after each "计算".
struct FormulaCase {
  const char* name;
  QList<QStringList> formulas;  // xh, target, formula, condition
  const char* before;           // assignments stored for 0001 before the load
  const char* afterFirst;       // f4|f5 stored after the first calculation
  const char* afterSecond;
};

void PrintTo(const FormulaCase& c, std::ostream* os) { *os << c.name; }

class GzDataFormulas : public GzDataTest, public ::testing::WithParamInterface<FormulaCase> {};

TEST_P(GzDataFormulas, StoresWhatTheFirstFormulaGives) {
  const FormulaCase& c = GetParam();
  for (const QStringList& f : c.formulas) addFormula(f[0].toInt(), f[1], f[2], f.value(3));
  open();
  store("0001", c.before);
  open();
  MsgBox::Recorder rec;
  calc(rec);
  EXPECT_EQ(stored("0001", "f4,f5"), c.afterFirst);
  calc(rec);
  EXPECT_EQ(stored("0001", "f4,f5"), c.afterSecond);
  EXPECT_EQ(rec.texts().count("计算完毕"), 2);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, GzDataFormulas,
    ::testing::Values(
        FormulaCase{"SmallerXhCounts", {{"7", "f4", "f1*3"}, {"2", "f4", "f1*2"}}, "f1=10", "20|0", "20|0"},
        FormulaCase{"ConditionNotHoldingKeepsValue", {{"1", "f4", "f1*2", "f3>0"}}, "f1=10,f4=55", "55|0", "55|0"},
        FormulaCase{"ConditionF3HoldsAtOne", {{"1", "f4", "f1*2", "f3"}}, "f1=10,f3=1", "20|0", "20|0"},
        FormulaCase{"ConditionF3NotAtTwo", {{"1", "f4", "f1*2", "f3"}}, "f1=10,f3=2,f4=7", "7|0", "7|0"},
        FormulaCase{"ConditionF3NotAtHalf", {{"1", "f4", "f1*2", "f3"}}, "f1=10,f3=0.5,f4=7", "7|0", "7|0"},
        FormulaCase{"BrokenConditionDoesNotApply", {{"1", "f4", "f1*2", "(f3>"}}, "f1=10,f4=7", "7|0", "7|0"},
        FormulaCase{"LaterItemSeenWithOldValue",
                    {{"1", "f4", "f5+f2"}, {"2", "f5", "f1*0.1"}},
                    "f1=100,f2=10",
                    "10|10",
                    "20|10"},
        FormulaCase{"EarlierItemSeenWithNewValue",
                    {{"1", "f5", "f4+1"}, {"2", "f4", "f1/3"}},
                    "f1=1",
                    "0.33|1.33",
                    "0.33|1.33"},
        FormulaCase{"DivisionByEmptyLeavesEmpty", {{"1", "f4", "f1/f2"}}, "f1=10,f2=null,f4=5", "|0", "|0"},
        FormulaCase{"DivisionByZeroEvenWhenConditionFails", {{"1", "f4", "f1/f2", "f3=1"}}, "f1=10,f4=5", "|0", "|0"},
        FormulaCase{"HalfUp", {{"1", "f4", "f1"}, {"2", "f5", "-f1"}}, "f1=0.125", "0.13|-0.13", "0.13|-0.13"},
        FormulaCase{"JustBelowHalf", {{"1", "f4", "f1"}}, "f1=2.675", "2.67|0", "2.67|0"},
        FormulaCase{"PieceWorkWithoutRecordsIsZero", {{"1", "f4", "JJe+1"}, {"2", "f5", "JSl+2"}}, "", "1|2", "1|2"},
        FormulaCase{"NameCaseMatters", {{"1", "f4", "jje+1"}, {"2", "f5", "F1+1"}}, "f1=5,f4=9,f5=9", "|", "|"},
        FormulaCase{"UnknownItemLeavesEmpty", {{"1", "f4", "fabc"}, {"2", "f5", "f1*2"}}, "f1=5,f4=9", "|10",
                    "|10"}));

TEST_F(GzDataTest, PieceWorkSumsAreThoseOfTheLoadedMonth) {
  env->exec("insert into jjgz values('01','车工')");
  env->exec("insert into jjgx(gzcode,gxcode,gxname,price,rs) values('01','001','车削',2,2)");
  // April: two records with 0001 (one with two lines of his), March one
  env->exec(
      "insert into jjdata(pid,dt,gzcode,gxcode,price,rs,xs,sl,je,opername) values"
      "(1,'2010-04-03','01','001',2,2,1,10,20,'admin'),(2,'2010-04-28','01','001',2,1,1,5,10,'admin'),"
      "(3,'2010-03-31','01','001',2,1,1,100,200,'admin')");
  env->exec(
      "insert into jjdata_d(pid,wkcode,tpcode,bl,je) values(1,'0001','01',0.5,10),(1,'0002','02',0.5,10),"
      "(2,'0001','01',0.5,5),(2,'0001','01',0.5,5.25),(3,'0001','01',1,200)");
  addFormula(1, "f4", "JJe");
  addFormula(2, "f5", "JSl", "JJe>0");
  open();
  MsgBox::Recorder rec;
  calc(rec);
  EXPECT_EQ(stored("0001", "f4,f5"), "20.25|20");
  EXPECT_EQ(stored("0002", "f4,f5"), "10|10");
  EXPECT_EQ(stored("0004", "f4,f5"), "0|0");
  // the window's own per-row sum agrees with the calculation
  w->sheet()->moveTo(rowOf("0001"));
  EXPECT_DOUBLE_EQ(w->PieceSum(0), 20.25);
  EXPECT_DOUBLE_EQ(w->PieceSum(1), 20);
}

TEST_F(GzDataTest, TypedValuesAreStoredAsTypedAndTextItemsAsNumberText) {
  addFormula(1, "f4", "f1+f2");
  open();
  MsgBox::Recorder rec;
  type("0001", "f1", "0.125");
  type("0001", "f6", "1234.5");
  type("0002", "f2", "7");
  type("0002", "f6", "");
  type("0004", "f1", "3000", /*enter=*/false);  // still in the editor when "计算" is pressed
  calc(rec);
  EXPECT_EQ(rec.texts(), QStringList({"确认要计算2010-04月份工资并保存吗？", "计算完毕"}));
  EXPECT_EQ(stored("0001", "f1,f4,f6,typeof(f6)"), "0.125|0.13|1234.5|text");
  EXPECT_EQ(stored("0002", "f2,f4,f6,typeof(f6)"), "7|7||null");
  EXPECT_EQ(stored("0004", "f1,f4"), "3000|3000");
  EXPECT_EQ(cell("0001", "f1"), "0.13");
  EXPECT_EQ(cell("0001", "f6"), "1234.50");
}

TEST_F(GzDataTest, ConfirmationNamesTheLoadedMonthAndNoKeepsTheStore) {
  addFormula(1, "f4", "f1+1");
  open(0, 2010, 4);
  w->monthPicker()->setYearMonth(2011, 1);
  MsgBox::Recorder rec;
  rec.answerNo();
  click("btnCalc");
  EXPECT_EQ(rec.texts(), QStringList({"确认要计算2010-04月份工资并保存吗？"}));
  EXPECT_EQ(stored("0001", "f4"), "0");
  EXPECT_EQ(env->scalar("select count(*) from gzdata where xyear=2011").toInt(), 0);
}

TEST_F(GzDataTest, CalculatingAnEmptySheetDoesNothing) {
  MsgBox::Recorder rec;
  w = std::make_unique<TfrmGzData>();
  w->show();
  EXPECT_EQ(w->monthPicker()->date(), QDate(2010, 4, 1));  // the business month
  EXPECT_EQ(w->monthPicker()->text(), "2010年04月");
  click("btnCalc");  // nothing loaded
  env->exec("update worker set state=1");
  open(0, 2010, 6);  // a month without employees
  EXPECT_EQ(w->sheet()->recordCount(), 0);
  click("btnCalc");
  EXPECT_TRUE(rec.shown.isEmpty()) << rec.lastText().toStdString();
}

TEST_F(GzDataTest, RefusedInsertLeavesTheStoredMonthAsItWas) {
  addFormula(1, "f4", "f1*2");
  open();
  store("0001", "f1=1,f4=1");
  store("0004", "f1=5,f4=5");
  open();
  QStringList before = env->rows("select * from gzdata order by wkcode");
  env->exec(
      "create trigger refuse before insert on gzdata when new.wkcode='0001' "
      "begin select raise(abort,'磁盘已满'); end");
  MsgBox::Recorder rec;
  calc(rec);
  EXPECT_TRUE(rec.saw("磁盘已满"));
  EXPECT_FALSE(rec.saw("计算完毕"));
  EXPECT_EQ(env->rows("select * from gzdata order by wkcode"), before);
  EXPECT_EQ(cell("0004", "f4"), "10.00");  // the sheet keeps the results

  env->exec("drop trigger refuse");
  rec.clear();
  calc(rec);
  EXPECT_TRUE(rec.saw("计算完毕"));
  EXPECT_EQ(stored("0001", "f4"), "2");
  EXPECT_EQ(stored("0004", "f4"), "10");
}

TEST_F(GzDataTest, RowsOfEmployeesGoneFromTheRosterAreDroppedBySaving) {
  open();
  env->exec("insert into gzdata(xyear,xmonth,wkcode) values(2010,4,'9999')");
  open();
  EXPECT_EQ(w->sheet()->recordCount(), 3);
  MsgBox::Recorder rec;
  calc(rec);
  EXPECT_EQ(env->rows("select wkcode from gzdata where xyear=2010 and xmonth=4 order by wkcode"),
            QStringList({"0001", "0002", "0004"}));
}

TEST_F(GzDataTest, ReadOnlyModesDropTheirButtonsAndTestPermissions) {
  open(1);
  EXPECT_TRUE(grid()->isGridReadOnly());
  EXPECT_EQ(button("btnCalc"), nullptr);
  EXPECT_EQ(button("btnRegen"), nullptr);
  EXPECT_EQ(button("btnPaySheet"), nullptr);
  EXPECT_NE(button("btnPayslip"), nullptr);
  EXPECT_EQ(w->sheet()->recordCount(), 3);  // a read-only mode prepares the month too

  open(2, 2010, 5);
  EXPECT_EQ(button("btnPayslip"), nullptr);
  EXPECT_NE(button("btnPaySheet"), nullptr);
  EXPECT_EQ(env->scalar("select count(*) from gzdata where xyear=2010 and xmonth=5").toInt(), 3);

  env->exec("insert into operator(operno,opername,pwd) values('02','小王','')");
  env->login("小王", "02");
  MsgBox::Recorder rec;
  click("btnPaySheet");
  EXPECT_EQ(rec.texts(), QStringList({"本功能无操作权限"}));
  EXPECT_EQ(rec.shown.value(0).caption, "提示");
}

TEST_F(GzDataTest, LoadFailureIsReported) {
  open();
  // the month's copy names an item whose column is gone
  env->exec("insert into gzxm(xh,fname,xmname) values(9,'f9','无列')");
  env->exec("insert into gzxm_m(xyear,xmonth,xh,fname,xmname) values(2010,4,9,'f9','无列')");
  MsgBox::Recorder rec;
  open();
  ASSERT_EQ(rec.shown.size(), 1);
  EXPECT_TRUE(rec.lastText().contains("f9")) << rec.lastText().toStdString();
  EXPECT_EQ(rec.shown[0].caption, "错误");

  // a text item holding words, written by some other program, is refused too
  env->exec("delete from gzxm_m where xh=9");
  store("0002", "f6='全勤'");
  rec.clear();
  open();
  ASSERT_EQ(rec.shown.size(), 1);
  EXPECT_TRUE(rec.lastText().contains("全勤")) << rec.lastText().toStdString();
  EXPECT_EQ(stored("0002", "f6"), "全勤");
}

TEST_F(GzDataTest, EveryCommandOpensANewMaximisedWindowInItsMode) {
  QMdiArea area;
  area.resize(800, 600);
  area.show();
  MyFun::setMdiArea(&area);
  Commands::clear();
  registerSheetCommands();
  for (int tag : {1003, 1003, 1301, 1303}) EXPECT_TRUE(Commands::run(tag));
  QStringList seen;
  for (QMdiSubWindow* sub : area.subWindowList(QMdiArea::CreationOrder)) {
    auto* sheet = qobject_cast<TfrmGzData*>(sub->widget());
    ASSERT_NE(sheet, nullptr);
    seen << sheet->windowTitle() + QString::number(sheet->mode());
  }
  EXPECT_EQ(seen, QStringList({"工资数据录入0", "工资数据录入0", "打印工资条1", "工资发放表2"}));
  ASSERT_NE(area.activeSubWindow(), nullptr);
  EXPECT_TRUE(area.activeSubWindow()->isMaximized());
  Commands::clear();
  MyFun::setMdiArea(nullptr);
}

}  // namespace
