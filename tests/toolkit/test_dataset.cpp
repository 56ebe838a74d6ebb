#include <gtest/gtest.h>

#include <QTest>

#include "TestEnv.h"
#include "app/MainDM.h"
#include "toolkit/DataGrid.h"
#include "toolkit/DataSet.h"
#include "toolkit/MsgBox.h"

namespace {
struct TradeTable {
  TestProgram p;
  DataSet ds;
  TradeTable() {
    p.exec("insert into jjgz values('01','裁剪')");
    p.exec("insert into jjgz values('02','缝纫')");
    ds.setConnection(&p.db());
    ds.setTable("jjgz", {"gzcode"});
    ds.setSql("select * from jjgz order by gzcode");
    ds.open();
  }
};
}  // namespace

TEST(DataSet, PostsAndDeletesWriteThroughToTheTable) {
  TradeTable t;
  ASSERT_EQ(t.ds.recordCount(), 2);
  t.ds.moveTo(1);
  t.ds.setValue("gzcode", "03");  // re-coding keys the update on the old code
  t.ds.setValue("gzname", "包装");
  EXPECT_EQ(t.ds.state(), DataSet::Edit);
  EXPECT_EQ(t.ds.oldValue("gzcode").toString(), "02");
  EXPECT_TRUE(t.ds.post());
  t.ds.append();
  t.ds.setValue("gzcode", "0'4");
  t.ds.setValue("gzname", "熨烫");
  t.ds.post();
  t.ds.first();
  t.ds.remove();
  EXPECT_EQ(t.p.rows("select * from jjgz order by gzcode"), (QStringList{"0'4|熨烫", "03|包装"}));
}

TEST(DataSet, BeforePostRefusesAndUntouchedNewRowsAreDropped) {
  TradeTable t;
  t.ds.beforePost = [](DataSet& d) { return !d.str("gzname").isEmpty(); };
  t.ds.onNewRecord = [](DataSet& d) { d.setValue("gzcode", "09"); };
  t.ds.append();
  EXPECT_EQ(t.ds.str("gzcode"), "09");
  EXPECT_FALSE(t.ds.modified());
  t.ds.first();  // nothing typed: the new row goes
  EXPECT_EQ(t.ds.recordCount(), 2);
  t.ds.append();
  t.ds.setValue("gzcode", "10");
  EXPECT_THROW(t.ds.first(), Abort);  // refused: the row stays being inserted
  EXPECT_EQ(t.ds.state(), DataSet::Insert);
  t.ds.cancel();
  EXPECT_EQ(t.ds.recordCount(), 2);
  EXPECT_EQ(t.p.scalar("select count(*) from jjgz").toInt(), 2);
}

TEST(DataSet, StoreRefusalKeepsTheEdit) {
  TradeTable t;
  t.ds.append();
  t.ds.setValue("gzcode", "01");  // taken
  EXPECT_THROW(t.ds.post(), StoreError);
  EXPECT_EQ(t.ds.state(), DataSet::Insert);
}

TEST(DataSet, InMemoryTableConvertsTypes) {
  DataSet m;
  m.addField("wkcode", FieldType::String, 10);
  m.addField("je", FieldType::Float);
  m.createTable();
  m.append();
  m.setValue("je", QString("12.5"));
  EXPECT_EQ(m.num("je"), 12.5);
  m.setValue("je", QString(""));
  EXPECT_TRUE(m.value("je").isNull());
  EXPECT_ANY_THROW(m.setValue("je", QString("abc")));
  m.setValue("wkcode", "0001");
  m.post();
  EXPECT_TRUE(m.locate("wkcode", "0001"));
  EXPECT_FALSE(m.locate("wkcode", "0002"));
}

TEST(DataGrid, TypingEditsAndDownPastTheLastRowAppends) {
  TradeTable t;
  DataGrid grid;
  grid.setDataSet(&t.ds);
  grid.setColumns({{"gzcode", "工种编码", 80}, {"gzname", "工种名称", 150}});
  grid.setAutoAppend(true);
  grid.resize(400, 300);
  grid.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&grid));
  grid.setCurrentCell(0, 1);
  grid.setFocus();
  QTest::keyClick(&grid, Qt::Key_X);  // typing starts the edit
  QWidget* editor = QApplication::focusWidget();
  ASSERT_NE(editor, &grid);
  QTest::keyClicks(editor, "yz");
  QTest::keyClick(editor, Qt::Key_Return);  // commits, moves on as Tab: to the next row, which posts
  EXPECT_EQ(grid.currentIndex().row(), 1);
  EXPECT_EQ(t.p.scalar("select gzname from jjgz where gzcode='01'").toString(), "xyz");
  QTest::keyClick(&grid, Qt::Key_Down);  // past the last row: appends
  EXPECT_EQ(t.ds.state(), DataSet::Insert);
  EXPECT_EQ(t.ds.recordCount(), 3);
  QTest::keyClick(&grid, Qt::Key_Up);  // untouched new row goes again
  EXPECT_EQ(t.ds.recordCount(), 2);
  EXPECT_EQ(t.ds.state(), DataSet::Browse);
}

TEST(DataGrid, FormatsAndInfoColour) {
  DataSet m;
  m.addField("je", FieldType::Float);
  m.createTable();
  m.append();
  m.setValue("je", 1234.5);
  m.post();
  DataGrid grid;
  grid.setDataSet(&m);
  GridColumn c{"je", "金额", 80, "0.00"};
  c.infoColor = true;
  grid.setColumns({c, GridColumn{"je", "金额2", 80, "#,##0.00"}});
  EXPECT_EQ(grid.cellText(0, 0), "1234.50");
  EXPECT_EQ(grid.cellText(0, 1), "1,234.50");
  EXPECT_TRUE(grid.model()->index(0, 0).data(Qt::BackgroundRole).isValid());
}
