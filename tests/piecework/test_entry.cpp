#include <gtest/gtest.h>

#include <QApplication>
#include <algorithm>
#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

#include "PieceworkFixture.h"
#include "piecework/JjData.h"
#include "piecework/JjDataMdy.h"
#include "toolkit/NumEdit.h"
#include "toolkit/WideCombo.h"
#include "toolkit/DataGrid.h"
#include "toolkit/MsgBox.h"

namespace {

struct Entry : Workshop {
  TfrmJjDataMdy dlg;
  Entry() {
    dlg.prepareAdd();
    dlg.show();
    QApplication::setActiveWindow(&dlg);
  }
  QComboBox* combo(const char* name) { return dlg.findChild<QComboBox*>(name); }
  NumEdit* num(const char* name) { return dlg.findChild<NumEdit*>(name); }
  DataGrid* grid() { return dlg.findChild<DataGrid*>("grid"); }
  DataSet* lines() { return dlg.lines(); }
  QString je() { return num("edtJe")->text(); }

  void typeNumber(const char* name, const QString& text) {
    NumEdit* e = num(name);
    e->selectAll();
    QTest::keyClick(e, Qt::Key_Delete);
    QTest::keyClicks(e, text);
  }
  // header of the 01 trade's process 001 (12.5 a piece), quantity 3
  void chooseProcess(const QString& quantity = "3") {
    choose(combo("cboGz"), "[01]车工");
    choose(combo("cboGx"), "[001]车削");
    typeNumber("edtSl", quantity);
  }
  // Types into the current grid cell and presses Enter, as the user does.
  void typeCell(const QString& text) {
    DataGrid* g = grid();
    g->setFocus();
    bool ascii = std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 128; });
    QTest::keyClicks(g, ascii ? text.left(1) : QString());
    if (!ascii) QTest::keyClick(g, Qt::Key_F2);
    QWidget* editor = g->indexWidget(g->currentIndex());
    ASSERT_NE(editor, nullptr);
    if (ascii)
      QTest::keyClicks(editor, text.mid(1));
    else
      static_cast<QLineEdit*>(editor)->setText(text);  // as an input method would
    QTest::keyClick(editor, Qt::Key_Return);
  }
  // A new line at the bottom of the grid, its employee cell current.
  void newLine() {
    grid()->setFocus();
    QTest::keyClick(grid(), Qt::Key_Down);
    grid()->setCurrentCell(lines()->recNo(), 0);
  }
  QStringList lineTexts() {
    QStringList out;
    for (int r = 0; r < grid()->model()->rowCount(); ++r) {
      QStringList cells;
      for (int c = 0; c < 4; ++c) cells << grid()->cellText(r, c);
      out << cells.join('|');
    }
    return out;
  }
  void save() { dlg.findChild<QPushButton*>("btnSave")->click(); }
};

}  // namespace

TEST(PieceworkEntry, AmountFollowsPriceQuantityAndOnlyAChosenCoefficient) {
  Entry e;
  e.chooseProcess();
  EXPECT_EQ(e.dlg.findChild<QLineEdit*>("edtUnit")->text(), "件");
  EXPECT_EQ(e.num("edtPrice")->text(), "12.5");
  EXPECT_EQ(e.je(), "37.50");
  // a coefficient typed without a coefficient entry does not count
  e.typeNumber("edtXs", "2");
  EXPECT_EQ(e.je(), "37.50");
  choose(e.combo("cboXs"), "[01]一等");
  EXPECT_EQ(e.num("edtXs")->text(), "1.20");
  EXPECT_EQ(e.je(), "45.00");
  choose(e.combo("cboXs"), "");
  EXPECT_EQ(e.num("edtXs")->text(), "0.00");
  EXPECT_EQ(e.je(), "37.50");
  // a coefficient whose value was already typed still enters the amount
  e.typeNumber("edtXs", "1.2");
  choose(e.combo("cboXs"), "[01]一等");
  EXPECT_EQ(e.je(), "45.00");
  // the empty process entry clears unit, price and workers
  choose(e.combo("cboGx"), "");
  EXPECT_EQ(e.dlg.findChild<QLineEdit*>("edtUnit")->text(), "");
  EXPECT_EQ(e.num("edtPrice")->text(), "0");
  EXPECT_EQ(e.je(), "0.00");
  // the empty trade empties the process list completely
  choose(e.combo("cboGz"), "");
  EXPECT_EQ(e.combo("cboGx")->count(), 0);
}

TEST(PieceworkEntry, LinesTakeTheirRatioByPositionAndFollowTheAmount) {
  Entry e;
  e.chooseProcess();
  choose(e.combo("cboXs"), "[01]一等");
  ASSERT_EQ(e.je(), "45.00");

  e.newLine();
  e.typeCell("0001");  // 主刀: ratio 0.5 for this process
  e.newLine();
  e.typeCell("0002");  // 助手: 0.3
  EXPECT_TRUE(e.rec.texts().isEmpty()) << e.rec.texts().join(",").toStdString();
  EXPECT_EQ(e.lineTexts(), (QStringList{"[0001]张三|[01]主刀|0.50|22.50", "[0002]李四|[02]助手|0.30|13.50"}));

  // the quantity recomputes every line from its own ratio; nothing fills the missing 0.2
  e.typeNumber("edtSl", "4");
  EXPECT_EQ(e.je(), "60.00");
  EXPECT_EQ(e.lineTexts(), (QStringList{"[0001]张三|[01]主刀|0.50|30.00", "[0002]李四|[02]助手|0.30|18.00"}));

  // a ratio typed by hand is used as it stands
  e.grid()->setCurrentCell(1, 2);
  e.typeCell("0.25");
  EXPECT_EQ(e.lineTexts().at(1), "[0002]李四|[02]助手|0.25|15.00");
}

TEST(PieceworkEntry, LineAmountsRoundHalvesAwayFromZero) {
  Entry e;
  e.p.exec("update jjgx set price=0.25");
  e.chooseProcess("1");
  ASSERT_EQ(e.je(), "0.25");
  e.newLine();
  e.typeCell("0001");
  EXPECT_EQ(e.lines()->num("je"), 0.13);
}

TEST(PieceworkEntry, EmployeeCodePlusEnterOrThePicker) {
  Entry e;
  e.chooseProcess();
  e.newLine();
  e.typeCell("9999");
  EXPECT_EQ(e.rec.lastText(), "员工代码不存在");
  EXPECT_EQ(e.lines()->str("worker"), "9999");
  e.rec.clear();

  // an employee without a split row for the process keeps an empty ratio
  e.p.exec("insert into worker(wkcode,wkname,bmcode,sex,tpcode) values('0003','王五','01','男','03')");
  e.grid()->setCurrentCell(0, 0);
  e.typeCell("0003");
  EXPECT_EQ(e.lineTexts().at(0), "[0003]王五|[03]学徒||");

  // a typed name stays as typed until the line is posted
  e.newLine();
  e.typeCell("张三");
  EXPECT_TRUE(e.rec.texts().isEmpty());
  EXPECT_EQ(e.lines()->str("worker"), "张三");
  // a line still being edited when the amount changes keeps its checks
  e.typeNumber("edtSl", "2");
  EXPECT_EQ(e.lines()->state(), DataSet::Insert);
  e.dlg.findChild<QToolButton*>("nbPost")->click();
  EXPECT_EQ(e.rec.texts(), QStringList{"员工输入错误"});
  e.dlg.findChild<QToolButton*>("nbCancel")->click();
  e.rec.clear();

  // Enter on an empty employee cell opens the picker
  e.newLine();
  bool pickerShown = false;
  whenModal("TfrmSelWorker", [&](QWidget* w) {
    pickerShown = true;
    static_cast<QDialog*>(w)->reject();
  });
  e.grid()->setCurrentCell(1, 0);
  QTest::keyClick(e.grid(), Qt::Key_Return);
  EXPECT_TRUE(pickerShown);
}

TEST(PieceworkEntry, LineChecksBeforeALineIsPosted) {
  struct Case {
    QString worker, position, message;
  } cases[] = {
      {"", "", "请选择员工"},
      {"张三", "", "员工输入错误"},
      {"[]张三", "", "员工输入错误"},
      {"[9999]无名", "", "员工不存在"},
      {"[0001]张三", "主刀", "职位输入错误"},
      {"[0001]张三", "[99]厨师", "职位不存在"},
      {"[0001]张三", "", ""},
      {"[0001]张三", "[02]助手", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.worker.toStdString() + " / " + c.position.toStdString());
    Entry e;
    e.lines()->append();
    e.lines()->setValue("bl", 0.5);
    e.lines()->setValue("worker", c.worker);
    e.lines()->setValue("workertp", c.position);
    e.rec.clear();
    e.dlg.findChild<QToolButton*>("nbPost")->click();
    if (c.message.isEmpty()) {
      EXPECT_TRUE(e.rec.texts().isEmpty());
      EXPECT_EQ(e.lines()->state(), DataSet::Browse);
    } else {
      EXPECT_EQ(e.rec.texts(), QStringList{c.message});
      EXPECT_EQ(e.rec.shown.last().caption, "错误");
      EXPECT_EQ(e.lines()->state(), DataSet::Insert);
    }
  }
}

TEST(PieceworkEntry, SaveInAddModeWritesHeaderAndLinesAndStaysOpen) {
  Entry e;
  e.dlg.findChild<QDateEdit*>("edtDt")->setDate(QDate(2010, 4, 3));
  e.save();
  EXPECT_EQ(e.rec.lastText(), "请选择工种和工序");
  EXPECT_EQ(e.p.scalar("select count(*) from jjdata").toInt(), 0);
  e.rec.clear();

  e.chooseProcess();
  e.newLine();
  e.typeCell("0001");
  e.newLine();
  e.typeCell("0002");
  e.save();
  EXPECT_EQ(e.rec.texts(), QStringList{"保存成功"});
  EXPECT_EQ(e.p.rows("select pid,dt,gzcode,gxcode,price,rs,xscode is null,xs,sl,je,opername from jjdata"),
            QStringList{"1|2010-04-03|01|001|12.5|2|1||3|37.5|admin"});
  EXPECT_EQ(e.p.rows("select pid,wkcode,tpcode,bl,je from jjdata_d order by wkcode"),
            (QStringList{"1|0001|01|0.5|18.75", "1|0002|02|0.3|11.25"}));
  // ready for the next record
  EXPECT_TRUE(e.dlg.isVisible());
  EXPECT_EQ(e.lines()->recordCount(), 0);
  EXPECT_EQ(e.combo("cboGz")->currentText(), "[01]车工");
  EXPECT_EQ(e.combo("cboGx")->currentIndex(), 0);
  EXPECT_EQ(e.combo("cboXs")->currentIndex(), 0);
  EXPECT_EQ(e.num("edtSl")->number(), 3.0);

  choose(e.combo("cboGx"), "[001]车削");
  choose(e.combo("cboXs"), "[01]一等");
  e.save();
  EXPECT_EQ(e.p.rows("select pid,xscode,xs,je from jjdata order by pid"),
            (QStringList{"1|||37.5", "2|01|1.2|45"}));
}

TEST(PieceworkEntry, RefusedSaveLeavesNeitherHeaderNorLines) {
  Entry e;
  e.p.exec(
      "create trigger refuse_line before insert on jjdata_d when new.wkcode='0002' "
      "begin select raise(abort,'line refused'); end");
  e.chooseProcess();
  e.newLine();
  e.typeCell("0001");
  e.newLine();
  e.typeCell("0002");
  e.save();
  EXPECT_EQ(e.rec.lastText(), "保存失败(line refused)");
  EXPECT_EQ(e.rec.shown.last().caption, "错误");
  EXPECT_EQ(e.p.scalar("select count(*) from jjdata").toInt(), 0);
  EXPECT_EQ(e.p.scalar("select count(*) from jjdata_d").toInt(), 0);
  EXPECT_EQ(e.lines()->recordCount(), 2);  // the dialog keeps what was typed
}

// A record stored with a price, ratio and amounts that no longer match the
// process: modifying it shows and keeps the stored values.
TEST(PieceworkEntry, ModifyShowsTheStoredRecordUnchanged) {
  Workshop w;
  w.p.exec(
      "insert into jjdata(pid,dt,gzcode,gxcode,price,rs,xscode,xs,sl,je,opername) "
      "values(7,'2010-04-05','01','001',10,3,'01',1.5,2,31.11,'admin')");
  w.p.exec("insert into jjdata_d values(7,'0001','01',0.4,7.77)");
  w.p.exec("insert into jjdata_d values(7,'0002','09',0.6,1.01)");
  TfrmJjData list;
  list.run(recordView());
  ASSERT_EQ(list.list()->recordCount(), 1);

  QStringList shown;
  whenModal("TfrmJjDataMdy", [&](QWidget* d) {
    auto* dlg = static_cast<TfrmJjDataMdy*>(d);
    EXPECT_EQ(dlg->windowTitle(), "修改计件数据");
    for (const char* n : {"edtPrice", "edtRs", "edtXs", "edtSl", "edtJe"}) shown << dlg->findChild<NumEdit*>(n)->text();
    shown << dlg->findChild<QComboBox*>("cboGz")->currentText() << dlg->findChild<QComboBox*>("cboGx")->currentText()
          << dlg->findChild<QComboBox*>("cboXs")->currentText() << dlg->findChild<QLineEdit*>("edtUnit")->text();
    auto* g = dlg->findChild<DataGrid*>("grid");
    for (int r = 0; r < g->model()->rowCount(); ++r)
      shown << g->cellText(r, 0) + "|" + g->cellText(r, 1) + "|" + g->cellText(r, 2) + "|" + g->cellText(r, 3);
    dlg->findChild<QPushButton*>("btnSave")->click();
  });
  list.findChild<QAction*>("btnMdy")->trigger();
  EXPECT_EQ(shown, (QStringList{"10", "3", "1.50", "2.00", "31.11", "[01]车工", "[001]车削", "[01]一等", "",
                                "[0001]张三|[01]主刀|0.40|7.77", "[0002]李四|09|0.60|1.01"}));
  EXPECT_EQ(w.rec.texts(), QStringList{"保存成功"});
  EXPECT_EQ(w.p.rows("select pid,price,rs,xscode,xs,sl,je,opername from jjdata"),
            QStringList{"7|10|3|01|1.5|2|31.11|admin"});
  // a position code that names no position is kept as its bare text has no code
  EXPECT_EQ(w.p.rows("select wkcode,tpcode,bl,je from jjdata_d order by wkcode"),
            (QStringList{"0001|01|0.4|7.77", "0002||0.6|1.01"}));
}

TEST(PieceworkEntry, ModifyOfARenamedTradeIsRefused) {
  Workshop w;
  w.p.exec("insert into jjdata(pid,dt,gzcode,gxcode,price,sl,je) values(1,'2010-04-05','01','001',12.5,1,12.5)");
  TfrmJjData list;
  list.run(recordView());
  w.p.exec("update jjgz set gzname='铣工'");
  whenModal("TfrmJjDataMdy", [&](QWidget* d) {
    EXPECT_EQ(d->findChild<QComboBox*>("cboGz")->currentIndex(), -1);
    d->findChild<QPushButton*>("btnSave")->click();
    static_cast<QDialog*>(d)->reject();
  });
  list.findChild<QAction*>("btnMdy")->trigger();
  EXPECT_EQ(w.rec.texts(), QStringList{"请选择工种和工序"});
}

TEST(PieceworkEntry, EnterMovesOnAndListsDropDownWide) {
  Entry e;
  e.p.exec("insert into jjxs values('02','特别长的系数名称用来撑开下拉列表的宽度',1.5)");
  TfrmJjDataMdy dlg;  // reads its lists when created
  dlg.show();
  QApplication::setActiveWindow(&dlg);
  auto* price = dlg.findChild<NumEdit*>("edtPrice");
  price->setFocus();
  ASSERT_TRUE(waitFor([&] { return price->hasFocus(); }));
  QTest::keyClick(price, Qt::Key_Return);
  EXPECT_TRUE(dlg.findChild<NumEdit*>("edtRs")->hasFocus());

  auto* xs = dlg.findChild<WideCombo*>("cboXs");
  xs->resize(80, xs->height());
  int widest = xs->fontMetrics().horizontalAdvance("[02]特别长的系数名称用来撑开下拉列表的宽度");
  EXPECT_EQ(xs->popupWidth(), widest + 80);
  xs->resize(widest + 200, xs->height());
  EXPECT_EQ(xs->popupWidth(), widest + 200);
}
