#include <gtest/gtest.h>

#include <QGroupBox>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QPushButton>
#include <QTest>

#include "Drive.h"
#include "app/Commands.h"
#include "common/MyFun.h"
#include "reference/Depart.h"
#include "reference/Jjgz.h"
#include "reference/Jjxs.h"
#include "reference/WorkerType.h"
#include "support/TestEnv.h"
#include "toolkit/DataSet.h"
#include "toolkit/MsgBox.h"

using drive::child;
using drive::click;
using drive::typeCell;

namespace {

class CodeTable : public ::testing::Test {
 protected:
  TestProgram prog;
  MsgBox::Recorder msgs;
  QPointer<TCodeTable> win;

  void TearDown() override { delete win.data(); }

  template <class T>
  T* open() {
    auto* w = new T;
    win = w;
    drive::show(w);
    return w;
  }
  DataSet* ds() { return win->dataSet(); }
  DataGrid* grid() { return win->grid(); }
  void setWidth(int pid, const QString& width) {
    prog.exec("update params set pvalue=:p1 where pid=:p2", {width, pid});
  }
};

TEST_F(CodeTable, EveryMemberShowsItsTableWithCaptionsAndColumns) {
  struct Case {
    std::function<TCodeTable*()> make;
    const char* className;
    QString caption, group;
    QStringList titles;
  };
  prog.exec("insert into jjxs(xscode,xsname,xs) values('01','夜班',1.2)");
  const Case cases[] = {
      {[] { return new TfrmJjgz; }, "TfrmJjgz", "计件工种设置", "工种列表", {"工种编码", "工种名称"}},
      {[] { return new TfrmJjxs; }, "TfrmJjxs", "计件系数设置", "系数列表", {"系数编码", "系数名称", "系数"}},
      {[] { return new TfrmWorkerType; }, "TfrmWorkerType", "职位设置", "职位列表", {"职位编码", "职位名称"}},
      {[] { return new TfrmDepart; }, "TfrmDepart", "部门设置", "部门列表", {"部门编码", "部门名称"}},
  };
  for (const Case& c : cases) {
    std::unique_ptr<TCodeTable> w(c.make());
    EXPECT_EQ(w->objectName(), c.className);
    EXPECT_STREQ(w->metaObject()->className(), c.className);
    EXPECT_EQ(w->windowTitle(), c.caption);
    EXPECT_EQ(w->findChild<QGroupBox*>()->title(), c.group);
    QStringList titles;
    for (int i = 0; i < w->grid()->columnCount(); ++i) titles << w->grid()->column(i).title;
    EXPECT_EQ(titles, c.titles);
    QStringList buttons;
    for (const char* n : {"btnAppend", "btnMdy", "btnDel", "btnSave", "btnCancel", "btnClose"})
      buttons << w->findChild<QPushButton*>(n)->text();
    EXPECT_EQ(buttons, QStringList({"添加", "修改", "删除", "保存", "取消", "退出"}));
  }
  TfrmJjxs xs;
  EXPECT_EQ(xs.grid()->cellText(0, 2), "1.2");
}

TEST_F(CodeTable, DefaultCodeFollowsWidthAndTextOrder) {
  struct Case {
    QString width;
    QStringList codes;
    QString expected;
  };
  const Case cases[] = {
      {"2", {}, "01"},
      {"", {}, "1"},
      {"3", {"001", "017", "002"}, "018"},
      {"0", {"9", "10"}, "10"},
      {"2", {"05", "A01"}, "01"},
  };
  for (const Case& c : cases) {
    prog.exec("delete from jjgz");
    setWidth(1, c.width);
    for (const QString& code : c.codes) prog.exec("insert into jjgz(gzcode,gzname) values(:p1,'x')", {code});
    auto* w = open<TfrmJjgz>();
    click(w, "btnAppend");
    EXPECT_EQ(ds()->state(), DataSet::Insert);
    EXPECT_EQ(ds()->str("gzcode"), c.expected) << "width '" << c.width.toStdString() << "'";
    EXPECT_FALSE(ds()->modified()) << "the default code is not a change of the user";
    EXPECT_EQ(grid()->currentColumn(), 0);
    delete w;
  }
}

TEST_F(CodeTable, ProposedCodeThatIsTakenIsRefusedAndStaysPending) {
  setWidth(1, "0");
  prog.exec("insert into jjgz(gzcode,gzname) values('9','九'),('10','十')");
  auto* w = open<TfrmJjgz>();
  click(w, "btnAppend");
  ASSERT_EQ(ds()->str("gzcode"), "10");
  typeCell(grid(), ds()->recNo(), 1, "新工种", false);
  click(w, "btnSave");
  EXPECT_EQ(msgs.texts(), QStringList{"编码已存在"});
  EXPECT_EQ(msgs.shown.last().caption, "提示");
  EXPECT_EQ(msgs.shown.last().icon, MsgBox::Icon::Error);
  EXPECT_EQ(ds()->state(), DataSet::Insert);
  EXPECT_EQ(ds()->str("gzname"), "新工种");
  EXPECT_EQ(prog.rows("select gzcode,gzname from jjgz order by gzcode"), QStringList({"10|十", "9|九"}));

  msgs.clear();
  typeCell(grid(), ds()->recNo(), 0, "11", false);
  click(w, "btnSave");
  EXPECT_TRUE(msgs.shown.isEmpty());
  EXPECT_EQ(ds()->state(), DataSet::Browse);
  EXPECT_EQ(prog.scalar("select gzname from jjgz where gzcode='11'").toString(), "新工种");
}

TEST_F(CodeTable, SaveChecksRunOnEveryPost) {
  prog.exec("insert into depart(bmcode,bmname) values('01','一车间'),('02','二车间')");
  auto* w = open<TfrmDepart>();

  // empty name, then empty code, from the button
  click(w, "btnAppend");
  click(w, "btnSave");
  EXPECT_EQ(msgs.lastText(), "名称不能为空");
  typeCell(grid(), 2, 0, "");
  typeCell(grid(), 2, 1, "三车间", false);
  click(w, "btnSave");
  EXPECT_EQ(msgs.lastText(), "编码不能为空");
  EXPECT_EQ(ds()->state(), DataSet::Insert);

  // blanks are not empty
  msgs.clear();
  typeCell(grid(), 2, 0, " ", false);
  click(w, "btnSave");
  EXPECT_TRUE(msgs.shown.isEmpty()) << msgs.lastText().toStdString();
  EXPECT_EQ(prog.scalar("select bmname from depart where bmcode=' '").toString(), "三车间");

  // changing a code to another row's code, posted by moving to another row
  msgs.clear();
  typeCell(grid(), 2, 0, "02");
  ASSERT_EQ(ds()->state(), DataSet::Edit);
  QTest::keyClick(grid(), Qt::Key_Up);
  EXPECT_EQ(msgs.texts(), QStringList{"编码已存在"});
  EXPECT_EQ(ds()->state(), DataSet::Edit);
  EXPECT_EQ(ds()->recNo(), 2);
  EXPECT_EQ(prog.scalar("select count(*) from depart where bmcode='02'").toInt(), 1);
}

TEST_F(CodeTable, EditingOnlyTheNameNeverReportsItsOwnCode) {
  prog.exec("insert into worker_tp(tpcode,tpname) values('01','组长'),('02','工人')");
  auto* w = open<TfrmWorkerType>();
  // typing into the cell starts the edit as "修改" would
  grid()->setFocus();
  grid()->setCurrentCell(1, 1);
  QTest::keyClick(grid(), Qt::Key_A);
  auto* editor = grid()->findChild<QLineEdit*>("gridEditor");
  ASSERT_NE(editor, nullptr);
  EXPECT_EQ(editor->text(), "a");
  editor->selectAll();
  editor->insert("熟练工");
  EXPECT_EQ(ds()->state(), DataSet::Edit);
  EXPECT_FALSE(child(w, "btnAppend")->isEnabled());
  click(w, "btnSave");
  EXPECT_TRUE(msgs.shown.isEmpty()) << msgs.lastText().toStdString();
  EXPECT_EQ(prog.rows("select * from worker_tp order by tpcode"), QStringList({"01|组长", "02|熟练工"}));

  // "修改" then saving with nothing changed
  ds()->first();
  click(w, "btnMdy");
  EXPECT_EQ(ds()->state(), DataSet::Edit);
  click(w, "btnSave");
  EXPECT_TRUE(msgs.shown.isEmpty());
}

TEST_F(CodeTable, ButtonsFollowTheState) {
  auto* w = open<TfrmJjgz>();
  auto enabled = [&] {
    QString s;
    for (const char* n : {"btnAppend", "btnMdy", "btnDel", "btnSave", "btnCancel", "btnClose"})
      s += child(w, n)->isEnabled() ? '1' : '0';
    return s;
  };
  EXPECT_EQ(enabled(), "111001");
  click(w, "btnAppend");
  EXPECT_EQ(enabled(), "001111");
  click(w, "btnCancel");
  EXPECT_EQ(enabled(), "111001");
  EXPECT_EQ(ds()->recordCount(), 0);
}

TEST_F(CodeTable, DeleteIsAskedAndRefusedWhileInUse) {
  prog.exec("insert into depart(bmcode,bmname) values('01','一车间'),('02','二车间')");
  prog.exec("insert into worker(wkcode,wkname,bmcode) values('0001','张三','01')");
  auto* w = open<TfrmDepart>();

  msgs.answerNo();
  click(w, "btnDel");
  EXPECT_EQ(msgs.texts(), QStringList{"确定要删除吗？"});
  EXPECT_EQ(msgs.shown[0].caption, "询问");
  EXPECT_EQ(ds()->recordCount(), 2);

  msgs.clear();
  click(w, "btnDel");  // row 01 is used by an employee
  EXPECT_EQ(msgs.texts(), QStringList({"确定要删除吗？", "删除失败，正在使用！"}));
  EXPECT_EQ(ds()->recordCount(), 2);
  EXPECT_EQ(prog.scalar("select count(*) from depart").toInt(), 2);

  msgs.clear();
  ds()->last();
  click(w, "btnDel");
  EXPECT_EQ(msgs.texts(), QStringList{"确定要删除吗？"});
  EXPECT_EQ(prog.rows("select bmcode from depart"), QStringList{"01"});

  // deleting a row being added drops only that row
  msgs.clear();
  click(w, "btnAppend");
  click(w, "btnDel");
  EXPECT_EQ(msgs.texts(), QStringList{"确定要删除吗？"});
  EXPECT_EQ(ds()->state(), DataSet::Browse);
  EXPECT_EQ(ds()->recordCount(), 1);
  EXPECT_EQ(prog.rows("select bmcode from depart"), QStringList{"01"});
}

TEST_F(CodeTable, ClosingAfterAppendingNothingAsksNothingAndAddsNothing) {
  auto* w = open<TfrmJjgz>();
  click(w, "btnAppend");
  click(w, "btnClose");
  EXPECT_TRUE(msgs.shown.isEmpty());
  EXPECT_TRUE(waitFor([&] { return win.isNull(); })) << "the window is destroyed on closing";
  EXPECT_EQ(prog.scalar("select count(*) from jjgz").toInt(), 0);
}

TEST_F(CodeTable, ClosingWithChangesAsksToSave) {
  prog.exec("insert into jjgz(gzcode,gzname) values('01','车工')");
  auto* w = open<TfrmJjgz>();

  // Yes with a failing check keeps the window open with the row pending
  click(w, "btnAppend");
  typeCell(grid(), 1, 0, "01", false);
  msgs.answerYes();
  EXPECT_FALSE(w->close());
  EXPECT_EQ(msgs.texts(), QStringList({"数据已修改，是否保存？", "名称不能为空"}));
  EXPECT_EQ(ds()->state(), DataSet::Insert);

  // No drops the pending row
  msgs.clear();
  msgs.answerNo();
  EXPECT_TRUE(w->close());
  EXPECT_EQ(msgs.texts(), QStringList{"数据已修改，是否保存？"});
  EXPECT_EQ(prog.rows("select * from jjgz"), QStringList{"01|车工"});
  EXPECT_TRUE(waitFor([&] { return win.isNull(); }));

  // Yes with a sound row saves it
  w = open<TfrmJjgz>();
  msgs.clear();
  typeCell(grid(), 0, 1, "钳工", false);
  EXPECT_TRUE(w->close());
  EXPECT_EQ(msgs.texts(), QStringList{"数据已修改，是否保存？"});
  EXPECT_EQ(prog.rows("select * from jjgz"), QStringList{"01|钳工"});
}

TEST_F(CodeTable, MovingPastTheLastRowAppendsWithTheDefaultCode) {
  prog.exec("insert into jjxs(xscode,xsname,xs) values('01','白班',1)");
  auto* w = open<TfrmJjxs>();
  grid()->setFocus();
  grid()->setCurrentCell(0, 0);
  QTest::keyClick(grid(), Qt::Key_Down);
  EXPECT_EQ(ds()->state(), DataSet::Insert);
  EXPECT_EQ(ds()->str("xscode"), "02");
  typeCell(grid(), 1, 1, "夜班");
  typeCell(grid(), 1, 2, "1.5", false);
  click(w, "btnSave");
  EXPECT_TRUE(msgs.shown.isEmpty()) << msgs.lastText().toStdString();
  // an empty coefficient is kept empty
  click(w, "btnAppend");
  typeCell(grid(), 2, 1, "加班", false);
  click(w, "btnSave");
  EXPECT_EQ(prog.rows("select xscode,xsname,xs from jjxs order by xscode"),
            QStringList({"01|白班|1", "02|夜班|1.5", "03|加班|"}));
  EXPECT_TRUE(prog.scalar("select xs from jjxs where xscode='03'").isNull());
}

TEST_F(CodeTable, AWidthThatIsNoNumberAddsNoRow) {
  setWidth(1, "abc");
  auto* w = open<TfrmJjgz>();
  EXPECT_ANY_THROW(w->findChild<QPushButton*>("btnAppend")->click());
  EXPECT_EQ(ds()->recordCount(), 0);
  EXPECT_EQ(ds()->state(), DataSet::Browse);
}

TEST_F(CodeTable, CommandOpensOneWindowAtTheTopLeftInNormalSize) {
  QMdiArea area;
  area.resize(1000, 700);
  MyFun::setMdiArea(&area);
  drive::show(&area);
  Commands::clear();
  registerReferenceCommands();
  ASSERT_TRUE(Commands::run(1503));
  QTest::qWait(20);
  ASSERT_EQ(area.subWindowList().size(), 1);
  QMdiSubWindow* sub = area.subWindowList().first();
  EXPECT_EQ(sub->widget()->objectName(), "TfrmJjgz");
  EXPECT_EQ(sub->pos(), QPoint(0, 0));
  EXPECT_FALSE(sub->windowFlags() & Qt::WindowMaximizeButtonHint);
  sub->showMaximized();
  ASSERT_TRUE(Commands::run(1503));
  EXPECT_EQ(area.subWindowList().size(), 1);
  EXPECT_FALSE(sub->isMaximized());
  ASSERT_TRUE(Commands::run(1512));
  EXPECT_EQ(area.subWindowList().size(), 2);
  area.closeAllSubWindows();
  MyFun::setMdiArea(nullptr);
  Commands::clear();
}

}  // namespace
