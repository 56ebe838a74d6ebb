#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPointer>
#include <QToolButton>
#include <QTreeWidget>

#include "Drive.h"
#include "reference/Jjgx.h"
#include "reference/JjgxMdy.h"
#include "support/TestEnv.h"
#include "toolkit/DataSet.h"
#include "toolkit/MsgBox.h"

using drive::click;
using drive::CloseAtEnd;
using drive::trigger;
using drive::typeCell;

namespace {

class Processes : public ::testing::Test {
 protected:
  TestProgram prog;
  MsgBox::Recorder msgs;
  QPointer<TfrmJjgx> win;

  void SetUp() override {
    prog.exec("update params set pvalue='2' where pid=4");
    prog.exec("insert into jjgz(gzcode,gzname) values('01','车工'),('02','钳工')");
    prog.exec("insert into worker_tp(tpcode,tpname) values('01','组长'),('02','工人'),('03','学徒')");
    prog.exec(
        "insert into jjgx(gzcode,gxcode,gxname,unit,price,rs) values('01','01','粗车','件',2,2),"
        "('01','02','精车','件',1.5,1)");
    prog.exec(
        "insert into jjgx_d(gzcode,gxcode,tpcode,bl,price) values('01','01','01',0.5,9.9),"
        "('01','01','02',0.25,0.5)");
  }
  void TearDown() override { delete win.data(); }

  TfrmJjgx* open() {
    win = new TfrmJjgx;
    drive::show(win);
    return win;
  }
  void withDialog(const char* action, const std::function<void(TfrmJjgxMdy*)>& fn) {
    bool seen = false;
    whenModal("TfrmJjgxMdy", [&](QWidget* w) {
      seen = true;
      CloseAtEnd guard{w};
      drive::show(w);
      fn(static_cast<TfrmJjgxMdy*>(w));
    });
    trigger(win, action);
    EXPECT_TRUE(seen) << "no process dialog for " << action;
  }
  static void typePrice(TfrmJjgxMdy* d, const QString& price) {
    d->edtPrice->setFocus();
    d->edtPrice->selectAll();
    QTest::keyClicks(d->edtPrice, price);
  }
  // Adds a split row through the navigator and the grid.
  static void addSplit(TfrmJjgxMdy* d, const QString& position, const QString& ratio) {
    click(d, "nbInsert");
    int row = d->tmpSplit->recNo();
    typeCell(d->grid, row, 0, position);
    typeCell(d->grid, row, 1, ratio);
  }
  QStringList split(const QString& process) {
    return prog.rows("select tpcode,bl,price from jjgx_d where gzcode='01' and gxcode=:p1 order by tpcode", {process});
  }
};

TEST_F(Processes, WindowShowsTradesAndTheChosenTradesProcesses) {
  auto* w = open();
  EXPECT_EQ(w->tvGz->topLevelItemCount(), 2);
  EXPECT_EQ(w->tvGz->topLevelItem(0)->text(0), "01-车工");
  EXPECT_EQ(w->tvGz->topLevelItem(1)->text(0), "02-钳工");
  QStringList titles;
  for (int i = 0; i < w->grid->columnCount(); ++i) titles << w->grid->column(i).title;
  EXPECT_EQ(titles, QStringList({"工序代码", "工序名称", "计价单位", "计件单价", "工序人数"}));
  ASSERT_EQ(w->qryJjgx->recordCount(), 2);
  EXPECT_EQ(w->grid->cellText(1, 1), "精车");
  QStringList buttons, menu;
  for (QAction* a : w->ownToolBar()->actions())
    if (!a->isSeparator()) buttons << a->text();
  EXPECT_EQ(buttons, QStringList({"增加", "修改", "删除", "打印", "定位", "设置", "导出", "退出"}));
  for (QAction* a : w->pmJjgx->actions()) menu << a->text();
  EXPECT_EQ(menu, QStringList({"增加工序", "修改工序", "删除工序"}));
  EXPECT_EQ(w->findChild<QLabel*>("lblTitle")->text(), "工序设置");

  w->tvGz->setCurrentItem(w->tvGz->topLevelItem(1));
  EXPECT_EQ(w->qryJjgx->recordCount(), 0);

  drive::answerInput("02");
  w->tvGz->setCurrentItem(w->tvGz->topLevelItem(0));
  trigger(w, "btnLocate");
  EXPECT_EQ(w->qryJjgx->recNo(), 1);
  drive::answerInput("2");
  trigger(w, "btnLocate");
  EXPECT_EQ(w->qryJjgx->recNo(), 1);
}

TEST_F(Processes, AddingComputesSplitPricesAndOffersTheNextCode) {
  auto* w = open();
  withDialog("btnAppend", [&](TfrmJjgxMdy* d) {
    EXPECT_EQ(d->windowTitle(), "增加工序");
    EXPECT_EQ(d->lblGz->text(), "所属工种：01-车工");
    EXPECT_EQ(d->edtCode->text(), "03");
    EXPECT_EQ(d->tmpSplit->recordCount(), 0);

    // the code box takes digits only; Enter moves on and is dropped
    d->edtCode->setFocus();
    d->edtCode->clear();
    QTest::keyClicks(d->edtCode, "0a3.");
    EXPECT_EQ(d->edtCode->text(), "03");
    QTest::keyClick(d->edtCode, Qt::Key_Return);
    EXPECT_EQ(d->edtCode->text(), "03");
    EXPECT_EQ(QApplication::focusWidget(), d->edtName);

    d->edtName->insert("切断");
    d->edtUnit->setText("件");
    typePrice(d, "2");
    d->edtRs->setText("3");
    addSplit(d, "[01]组长", "0.33333");
    EXPECT_EQ(d->grid->cellText(0, 2), "0.6667");
    addSplit(d, "[02]工人", "0.4");
    EXPECT_EQ(d->grid->cellText(1, 2), "0.8000");
    typePrice(d, "3");
    EXPECT_EQ(d->grid->cellText(0, 2), "1.0000");
    EXPECT_EQ(d->grid->cellText(1, 2), "1.2000");

    click(d, "btnSave");
    EXPECT_EQ(msgs.texts(), QStringList{"保存成功"});
    EXPECT_TRUE(d->isVisible());
    EXPECT_EQ(d->edtCode->text(), "04");
    EXPECT_EQ(d->tmpSplit->recordCount(), 0);
    EXPECT_EQ(d->edtPrice->text(), "0.000000");
    EXPECT_EQ(d->edtName->text(), "切断");
    EXPECT_EQ(d->edtRs->text(), "3");
    click(d, "btnCancel");
  });
  EXPECT_EQ(prog.rows("select gxname,unit,price,rs from jjgx where gzcode='01' and gxcode='03'"),
            QStringList{"切断|件|3|3"});
  EXPECT_EQ(split("03"), QStringList({"01|0.33333|1", "02|0.4|1.2"}));
  EXPECT_EQ(w->qryJjgx->str("gxcode"), "03") << "the grid moves to its last row";

  // codes are counted per trade
  w->tvGz->setCurrentItem(w->tvGz->topLevelItem(1));
  withDialog("btnAppend", [&](TfrmJjgxMdy* d) {
    EXPECT_EQ(d->edtCode->text(), "01");
    click(d, "btnSave");
    EXPECT_EQ(msgs.lastText(), "请填写工序代码和名称");
    d->edtName->setText("划线");
    d->edtCode->setText("01");
    click(d, "nbInsert");
    click(d, "btnSave");  // an added split row with nothing typed is dropped
    EXPECT_EQ(msgs.lastText(), "保存成功");
    d->edtCode->setText("01");
    click(d, "btnSave");
    EXPECT_EQ(msgs.lastText(), "工序代码已存在");
    click(d, "btnCancel");
  });
  EXPECT_EQ(prog.rows("select gxcode,gxname,price from jjgx where gzcode='02'"), QStringList{"01|划线|"});
  EXPECT_EQ(prog.scalar("select count(*) from jjgx_d where gzcode='02'").toInt(), 0);
}

TEST_F(Processes, ModifyingLoadsTheStoredSplitUnchanged) {
  auto* w = open();
  withDialog("btnMdy", [&](TfrmJjgxMdy* d) {
    EXPECT_EQ(d->windowTitle(), "修改工序");
    EXPECT_FALSE(d->edtCode->isEnabled());
    EXPECT_EQ(d->edtCode->text(), "01");
    EXPECT_EQ(d->edtName->text(), "粗车");
    EXPECT_EQ(d->edtPrice->text(), "2.000000");
    EXPECT_EQ(d->edtRs->text(), "2");
    ASSERT_EQ(d->tmpSplit->recordCount(), 2);
    EXPECT_EQ(d->grid->cellText(0, 0), "[01]组长");
    EXPECT_EQ(d->grid->cellText(0, 2), "9.9000") << "the stored price is shown as stored";
    EXPECT_EQ(d->grid->cellText(1, 2), "0.5000");
    // without split rows the process loses its earlier ones
    click(d, "nbDelete");
    click(d, "nbDelete");
    EXPECT_EQ(d->tmpSplit->recordCount(), 0);
    d->edtName->setText("粗车一");
    click(d, "btnSave");
    EXPECT_EQ(msgs.texts(), QStringList{"保存成功"});
    EXPECT_EQ(d->result(), QDialog::Accepted);
  });
  EXPECT_EQ(prog.rows("select gxname,price from jjgx where gzcode='01' and gxcode='01'"), QStringList{"粗车一|2"});
  EXPECT_TRUE(split("01").isEmpty());
  EXPECT_EQ(w->qryJjgx->str("gxcode"), "01");
}

TEST_F(Processes, SplitRowsAreChecked) {
  open();
  struct Case {
    QString typed;
    QString message;
  };
  const Case cases[] = {
      {"", "请选择职位"},       {"01", "职位输入错误"},     {"[]组长", "职位输入错误"},
      {"]01[", "职位输入错误"}, {"[99]班长", "职位不存在"}, {"[03]", ""},
  };
  withDialog("btnMdy", [&](TfrmJjgxMdy* d) {
    for (const Case& c : cases) {
      msgs.clear();
      click(d, "nbInsert");
      int row = d->tmpSplit->recNo();
      typeCell(d->grid, row, 1, "0.6");
      typeCell(d->grid, row, 0, c.typed, false);
      click(d, "nbPost");
      if (c.message.isEmpty()) {
        EXPECT_TRUE(msgs.shown.isEmpty()) << c.typed.toStdString();
        EXPECT_EQ(d->tmpSplit->state(), DataSet::Browse);
      } else {
        EXPECT_EQ(msgs.texts(), QStringList{c.message}) << c.typed.toStdString();
        EXPECT_EQ(msgs.shown.value(0).caption, "错误");
        EXPECT_EQ(d->tmpSplit->state(), DataSet::Insert);
        click(d, "nbCancel");
      }
    }
    // a pending row that fails its check fails the save and writes nothing
    msgs.clear();
    click(d, "nbInsert");
    typeCell(d->grid, d->tmpSplit->recNo(), 0, "03", false);
    d->edtName->setText("改名");
    click(d, "btnSave");
    EXPECT_EQ(msgs.texts(), QStringList({"职位输入错误", "保存失败(职位输入错误)"}));
    EXPECT_TRUE(d->isVisible());
    click(d, "btnCancel");
  });
  EXPECT_EQ(prog.scalar("select gxname from jjgx where gzcode='01' and gxcode='01'").toString(), "粗车");
  EXPECT_EQ(split("01"), QStringList({"01|0.5|9.9", "02|0.25|0.5"}));
}

TEST_F(Processes, AFailedSplitInsertLeavesProcessAndSplitAsTheyWere) {
  prog.exec(
      "create trigger refuse before insert on jjgx_d when new.tpcode='03' "
      "begin select raise(abort,'拒绝写入'); end");
  open();
  withDialog("btnMdy", [&](TfrmJjgxMdy* d) {
    d->edtName->setText("改名");
    typePrice(d, "4");
    addSplit(d, "[03]学徒", "0.6");
    addSplit(d, "[03]学徒", "0.6");  // twice, as the dialog allows
    click(d, "btnSave");
    EXPECT_EQ(msgs.texts(), QStringList{"保存失败(拒绝写入)"});
    EXPECT_EQ(msgs.shown.value(0).caption, "错误");
    EXPECT_TRUE(d->isVisible());
    EXPECT_EQ(d->tmpSplit->recordCount(), 4);
    click(d, "btnCancel");
  });
  EXPECT_EQ(prog.rows("select gxname,price from jjgx where gzcode='01' and gxcode='01'"), QStringList{"粗车|2"});
  EXPECT_EQ(split("01"), QStringList({"01|0.5|9.9", "02|0.25|0.5"}));
}

TEST_F(Processes, DeleteRemovesTheSplitWithTheProcessOrNeither) {
  prog.exec("insert into jjdata(pid,dt,gzcode,gxcode,opername) values(1,'2010-04-01','01','01','admin')");
  auto* w = open();
  msgs.answerNo();
  trigger(w, "btnDel");
  EXPECT_EQ(msgs.texts(), QStringList{"确认要删除工序：粗车吗？"});
  EXPECT_EQ(split("01").size(), 2);

  msgs.clear();
  trigger(w, "btnDel");  // a piece-work record still names it
  EXPECT_EQ(msgs.texts(), QStringList({"确认要删除工序：粗车吗？", "工序删除失败！"}));
  EXPECT_EQ(split("01").size(), 2);
  EXPECT_EQ(prog.scalar("select count(*) from jjgx where gzcode='01'").toInt(), 2);

  prog.exec("delete from jjdata");
  msgs.clear();
  w->pmJjgx->actions()[2]->trigger();
  EXPECT_EQ(msgs.texts(), QStringList{"确认要删除工序：粗车吗？"});
  EXPECT_TRUE(split("01").isEmpty());
  EXPECT_EQ(prog.rows("select gxcode from jjgx where gzcode='01'"), QStringList{"02"});
  EXPECT_EQ(w->qryJjgx->recordCount(), 1);
}

}  // namespace
