#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "PieceworkFixture.h"
#include "app/Commands.h"
#include "common/MyFun.h"
#include "piecework/JjData.h"
#include "piecework/JjDataMdy.h"
#include "toolkit/DataGrid.h"
#include "toolkit/MonthPicker.h"

namespace {

struct Month : Workshop {
  Month() {
    // record 1: three lines, one of an employee since removed from the roster
    p.exec("insert into jjdata(pid,dt,gzcode,gxcode,price,rs,xscode,xs,sl,je,opername) "
           "values(1,'2010-04-02','01','001',12.5,3,'01',1.2,4,60,'admin')");
    p.exec("insert into jjdata_d values(1,'0002','02',0.3,18)");
    p.exec("insert into jjdata_d values(1,'0001','01',0.5,30)");
    p.exec("insert into jjdata_d values(1,'0009','03',0.2,12)");
    // record 2: trade 02, one line; record 3 in May
    p.exec("insert into jjdata(pid,dt,gzcode,gxcode,price,rs,xs,sl,je) values(2,'2010-04-20','02','001',20,1,0,2,40)");
    p.exec("insert into jjdata_d values(2,'0001','',1,40)");
    p.exec("insert into jjdata(pid,dt,gzcode,gxcode,price,rs,xs,sl,je) values(3,'2010-05-01','01','002',3,1,0,1,3)");
    p.exec("insert into jjdata_d values(3,'0002','02',1,3)");
  }
  ~Month() { TfrmJjDataSel::discardShared(); }
};

QStringList gridRows(DataGrid* g) {
  QStringList out;
  for (int r = 0; r < g->model()->rowCount(); ++r) {
    QStringList cells;
    for (int c : g->visibleColumns()) cells << g->cellText(r, c);
    out << cells.join('|');
  }
  return out;
}

}  // namespace

TEST(PieceworkFilter, BuildsTheStatementInItsOrder) {
  Month m;
  TfrmJjDataSel sel;
  auto* month = sel.findChild<MonthPicker*>("edtMonth");
  EXPECT_EQ(month->text(), "2010-04");  // the business date's month
  choose(sel.findChild<QComboBox*>("cboGz"), "[01]车工");
  // department and employee are ignored in the record view
  choose(sel.findChild<QComboBox*>("cboDepart"), "[01]一车间");
  sel.findChild<QLineEdit*>("edtCode")->setText("0001");

  JjFilter f = sel.buildFilter();
  EXPECT_EQ(f.sql, "select * from jjdata where 1=1 and year(dt)=2010 and month(dt)=4 and gzcode=:gzcode order by dt,pid");
  ASSERT_EQ(f.params.size(), 1);
  EXPECT_EQ(f.params[0].first, "gzcode");
  EXPECT_EQ(f.params[0].second.toString(), "01");
  EXPECT_FALSE(f.detail);
  EXPECT_EQ(f.monthTitle, "2010年04月");

  // the line view adds the department and employee conditions
  sel.findChild<QCheckBox*>("chkDetail")->setChecked(true);
  choose(sel.findChild<QComboBox*>("cboGx"), "[001]车削");
  sel.findChild<QLineEdit*>("edtName")->setText("张'三");
  f = sel.buildFilter();
  EXPECT_EQ(f.sql,
            "select * from jjdata m,jjdata_d d where m.pid=d.pid and year(dt)=2010 and month(dt)=4"
            " and gzcode=:gzcode and gxcode=:gxcode"
            " and wkcode in (select wkcode from worker where bmcode=:bmcode)"
            " and wkcode=:wkcode"
            " and wkcode in (select wkcode from worker where wkname=:wkname) order by dt,d.pid,d.wkcode");
  QStringList values;
  for (const auto& p : f.params) values << p.first + "=" + p.second.toString();
  EXPECT_EQ(values, (QStringList{"gzcode=01", "gxcode=001", "bmcode=01", "wkcode=0001", "wkname=张'三"}));
  TfrmJjData list;
  EXPECT_TRUE(list.run(f));  // a quote in a typed name is only a value
  EXPECT_TRUE(list.list()->isEmpty());

  // the empty trade empties the process list: no process condition
  choose(sel.findChild<QComboBox*>("cboGz"), "");
  EXPECT_EQ(sel.findChild<QComboBox*>("cboGx")->count(), 0);
  sel.findChild<QCheckBox*>("chkDetail")->setChecked(false);
  month->setYearMonth(2010, 5);
  f = sel.buildFilter();
  EXPECT_EQ(f.sql, "select * from jjdata where 1=1 and year(dt)=2010 and month(dt)=5 order by dt,pid");
  EXPECT_EQ(f.monthTitle, "2010年05月");
}

TEST(PieceworkFilter, RecordViewOfAprilAndTrade01) {
  Month m;
  TfrmJjDataSel sel;
  choose(sel.findChild<QComboBox*>("cboGz"), "[01]车工");
  sel.findChild<QPushButton*>("btnYes")->click();
  EXPECT_EQ(sel.result(), QDialog::Accepted);
  TfrmJjData list;
  ASSERT_TRUE(list.run(sel.filter()));
  EXPECT_EQ(gridRows(list.dataGrid()), QStringList{"2010-04-02|车工|车削|12.5|3|一等|1.20|4.00|60.00"});
}

TEST(PieceworkList, LineViewShowsEveryLineWithTheEmployeesNames) {
  Month m;
  TfrmJjData list;
  ASSERT_TRUE(list.run(lineView()));
  EXPECT_EQ(gridRows(list.dataGrid()),
            (QStringList{
                "2010-04-02|车工|车削|12.5|3|一等|1.20|4.00|60.00|0001|张三|男|主刀|0.50|30.00|一车间",
                "2010-04-02|车工|车削|12.5|3|一等|1.20|4.00|60.00|0002|李四|女|助手|0.30|18.00|二车间",
                "2010-04-02|车工|车削|12.5|3|一等|1.20|4.00|60.00|0009|||学徒|0.20|12.00|",
                "2010-04-20|钳工|装配|20|1||0.00|2.00|40.00|0001|张三|男||1.00|40.00|一车间",
            }));
  EXPECT_EQ(list.list()->recNo(), 3);  // the last row is current
  EXPECT_EQ(list.list()->str("bmcode"), "01");

  // the record view hides the line columns; the settings hide them in the line view
  list.run(recordView());
  EXPECT_EQ(list.dataGrid()->visibleColumns().size(), 9);
  EXPECT_EQ(list.list()->recordCount(), 2);
  MyFun::writeIni("JjData", "col10", "0");
  MyFun::writeIni("JjData", "col3", "0");
  TfrmJjData second;  // column settings apply when the window opens
  second.run(lineView());
  EXPECT_FALSE(second.dataGrid()->isColumnVisible(10));
  EXPECT_FALSE(second.dataGrid()->isColumnVisible(3));
  EXPECT_TRUE(second.dataGrid()->isColumnVisible(11));
}

TEST(PieceworkList, NamesAreASnapshotOfTheWindowsCreation) {
  Month m;
  TfrmJjData list;
  m.p.exec("update jjgz set gzname='新车工' where gzcode='01'");
  list.run(recordView());
  EXPECT_EQ(list.list()->str("gzname"), "钳工");
  list.list()->first();
  EXPECT_EQ(list.list()->str("gzname"), "车工");
}

TEST(PieceworkList, FailedStatementKeepsTheList) {
  Month m;
  TfrmJjData list;
  list.run(recordView());
  JjFilter broken = recordView();
  broken.sql = "select * from jjdata where nosuchcolumn=1";
  EXPECT_FALSE(list.run(broken));
  EXPECT_EQ(m.rec.shown.size(), 1);
  EXPECT_EQ(list.list()->recordCount(), 2);
  EXPECT_EQ(list.lastFilter().sql, recordView().sql);
}

TEST(PieceworkList, DeleteRemovesTheWholeRecordFromEitherView) {
  Month m;
  TfrmJjData list;
  list.run(lineView());
  list.list()->moveTo(1);  // a line of record 1
  m.rec.answerNo();
  list.findChild<QAction*>("btnDel")->trigger();
  EXPECT_EQ(m.rec.texts(), QStringList{"确定要删除吗？"});
  EXPECT_EQ(m.p.scalar("select count(*) from jjdata_d").toInt(), 5);

  // the store refuses: nothing goes, the lines neither
  m.p.exec("create trigger keep before delete on jjdata begin select raise(abort,'kept'); end");
  m.rec.clear();
  list.findChild<QAction*>("btnDel")->trigger();
  EXPECT_EQ(m.rec.texts(), (QStringList{"确定要删除吗？", "删除失败，正在使用！"}));
  EXPECT_EQ(m.p.scalar("select count(*) from jjdata_d where pid=1").toInt(), 3);
  m.p.exec("drop trigger keep");

  m.rec.clear();
  list.findChild<QAction*>("btnDel")->trigger();
  EXPECT_EQ(m.p.rows("select pid from jjdata order by pid"), (QStringList{"2", "3"}));
  EXPECT_EQ(m.p.rows("select distinct pid from jjdata_d order by pid"), (QStringList{"2", "3"}));
  EXPECT_EQ(list.list()->recordCount(), 1);

  list.run(recordView());
  list.findChild<QAction*>("btnDel")->trigger();
  EXPECT_EQ(m.p.scalar("select count(*) from jjdata_d where pid=2").toInt(), 0);
  EXPECT_TRUE(list.list()->isEmpty());

  // an empty list: modify and delete do nothing
  m.rec.clear();
  list.findChild<QAction*>("btnDel")->trigger();
  list.findChild<QAction*>("btnMdy")->trigger();
  EXPECT_TRUE(m.rec.texts().isEmpty());
}

TEST(PieceworkList, AddRereadsTheListAndModifyKeepsTheRowCurrent) {
  Month m;
  TfrmJjData list;
  list.run(recordView());
  m.p.exec("insert into jjdata(pid,dt,gzcode,gxcode,price,sl,je) values(4,'2010-04-25','01','002',3,2,6)");
  whenModal("TfrmJjDataMdy", [](QWidget* d) {
    EXPECT_EQ(d->windowTitle(), "增加计件数据");
    static_cast<QDialog*>(d)->reject();
  });
  list.findChild<QAction*>("btnAppend")->trigger();
  EXPECT_EQ(list.list()->recordCount(), 3);  // re-read though nothing was saved
  EXPECT_EQ(list.list()->recNo(), 2);

  list.list()->moveTo(0);
  whenModal("TfrmJjDataMdy", [](QWidget* d) {
    auto* sl = d->findChild<QLineEdit*>("edtSl");
    sl->setText("5");
    d->findChild<QPushButton*>("btnSave")->click();
  });
  list.findChild<QAction*>("btnMdy")->trigger();
  EXPECT_EQ(list.list()->recNo(), 0);
  EXPECT_EQ(list.list()->num("sl"), 5);
  EXPECT_EQ(list.list()->num("je"), 75);  // 12.5 × 5 × 1.2
  // the lines follow the new amount
  EXPECT_EQ(m.p.rows("select wkcode,je from jjdata_d where pid=1 order by wkcode"),
            (QStringList{"0001|37.5", "0002|22.5"}));  // 0009 is not in the roster: its line goes
}

TEST(PieceworkList, Command1001OpensAListWithTheKeptFilter) {
  Month m;
  Commands::clear();
  registerPieceworkCommands();
  whenModal("TfrmJjDataSel", [](QWidget* d) {
    d->findChild<QCheckBox*>("chkDetail")->setChecked(true);
    d->findChild<QPushButton*>("btnYes")->click();
  });
  ASSERT_TRUE(Commands::run(1001));
  TfrmJjData* first = nullptr;
  for (QWidget* w : QApplication::topLevelWidgets())
    if (auto* l = qobject_cast<TfrmJjData*>(w)) first = l;
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(first->windowTitle(), "计件数据录入");
  EXPECT_EQ(first->findChild<QLabel*>("lblTitle")->text(), "数据月份：2010年04月");
  EXPECT_TRUE(first->detail());
  EXPECT_EQ(first->list()->recordCount(), 4);

  // cancelled: no new window; the dialog remembers the last choice
  bool stillDetail = false;
  whenModal("TfrmJjDataSel", [&](QWidget* d) {
    stillDetail = d->findChild<QCheckBox*>("chkDetail")->isChecked();
    d->findChild<QPushButton*>("btnCancel")->click();
  });
  Commands::run(1001);
  EXPECT_TRUE(stillDetail);
  int lists = 0;
  for (QWidget* w : QApplication::topLevelWidgets())
    if (qobject_cast<TfrmJjData*>(w) && w->isVisible()) ++lists;
  EXPECT_EQ(lists, 1);

  // "查询" on the list runs the filter again on the same window
  whenModal("TfrmJjDataSel", [](QWidget* d) {
    d->findChild<QCheckBox*>("chkDetail")->setChecked(false);
    d->findChild<MonthPicker*>("edtMonth")->setYearMonth(2010, 5);
    d->findChild<QPushButton*>("btnYes")->click();
  });
  first->findChild<QAction*>("btnQuery")->trigger();
  EXPECT_EQ(first->findChild<QLabel*>("lblTitle")->text(), "数据月份：2010年05月");
  EXPECT_EQ(first->list()->recordCount(), 1);
  first->close();
  Commands::clear();
}

TEST(PieceworkList, PrintoutToPdf) {
  Month m;
  TfrmJjData list;
  list.setTitle("数据月份：2010年04月");
  list.run(lineView());
  GridPrintOptions o = list.printOptions();
  EXPECT_EQ(o.pageHeader, "计件数据一览表");
  EXPECT_TRUE(o.headerFont.bold());
  EXPECT_EQ(o.textBefore, "数据月份：2010年04月");
  QString path = qEnvironmentVariable("PIECEWORK_PRINTOUT", m.p.dir() + "list.pdf");
  ASSERT_TRUE(GridPrinter::printToPdf(list.dataGrid(), o, path));
  EXPECT_GT(QFile(path).size(), 1000);
  list.run(recordView());
  EXPECT_FALSE(list.printOptions().landscape);
  ASSERT_TRUE(GridPrinter::printToPdf(list.dataGrid(), list.printOptions(), path + ".records.pdf"));
}
