#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QToolButton>

#include "TestEnv.h"
#include "app/Commands.h"
#include "payroll/Gzgs.h"
#include "payroll/GzgsMdy.h"
#include "toolkit/DataGrid.h"
#include "toolkit/MsgBox.h"

void registerItemCommands();

namespace {

// Items f1 to f12; f2 is 基本工资, f3 补贴, f12 全勤奖.
struct Formulas {
  TestProgram p;
  MsgBox::Recorder msg;
  Formulas() {
    for (int i = 1; i <= 12; ++i) {
      QString name = i == 2 ? "基本工资" : i == 3 ? "补贴" : i == 12 ? "全勤奖" : QString("项目%1").arg(i);
      p.exec("insert into gzxm(xh,fname,xmname,ftype,fsize) values(:p1,:p2,:p3,0,0)",
             {i, "f" + QString::number(i), name});
    }
  }
  QPushButton* op(TfrmGzgsMdy& d, const QString& caption) {
    for (QPushButton* b : d.operatorButtons)
      if (b->text() == caption) return b;
    return nullptr;
  }
  void addItem(TfrmGzgsMdy& d, const QString& entry) {
    d.lstSrc->setCurrentItem(d.lstSrc->findItems(entry, Qt::MatchExactly).value(0));
    d.btnAddItem->click();
  }
};

TEST(GzgsMdy, DescriptionsReplaceTheFirstOccurrenceOfEachName) {
  struct {
    const char* gs;
    const char* desc;
  } cases[] = {
      {"f2+f3+JJe", "基本工资+补贴+计件金额"},
      {"f2*f2", "基本工资*f2"},
      {"f1+f12", "项目1+全勤奖"},
      {"JSl*0.5+JSl", "计件数量*0.5+JSl"},
      {"jje+F2", "jje+F2"},  // exact case only
  };
  Formulas t;
  int xh = 0;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.gs);
    TfrmGzgsMdy d;
    d.setMode(TfrmGzgsMdy::Add);
    d.edtGs->setText(QString::fromUtf8(c.gs));
    d.btnYes->click();
    ++xh;
    EXPECT_EQ(t.p.rows("select fname,gs,gsdesc,con,condesc from gzgs where xh=:p1", {xh}),
              QStringList{QString("f1|%1|%2||").arg(QString::fromUtf8(c.gs), QString::fromUtf8(c.desc))});
  }
  EXPECT_EQ(t.p.scalar("select count(*) from gzgs where con='' and condesc=''").toInt(), 5);
}

TEST(GzgsMdy, ConditionOptionEditsTheConditionBoxOnly) {
  Formulas t;
  TfrmGzgsMdy d;
  EXPECT_EQ(d.cboDest->count(), 12);
  EXPECT_EQ(d.cboDest->currentText(), "[f1]项目1");
  EXPECT_EQ(d.lstSrc->count(), 14);
  EXPECT_EQ(d.lstSrc->currentItem()->text(), "[f1]项目1");
  EXPECT_EQ(d.lstSrc->item(13)->text(), "[JSl]计件数量");
  EXPECT_TRUE(d.edtGs->isEnabled());
  EXPECT_FALSE(d.edtCon->isEnabled());

  t.addItem(d, "[f2]基本工资");
  t.op(d, "+")->click();
  t.addItem(d, "[JJe]计件金额");
  t.op(d, "*")->click();
  QTest::keyClicks(d.edtGs, "0.1");
  EXPECT_EQ(d.edtGs->text(), "f2+JJe*0.1");

  d.rbCon->click();
  EXPECT_FALSE(d.edtGs->isEnabled());
  EXPECT_TRUE(d.edtCon->isEnabled());
  for (QLabel* l : d.findChildren<QLabel*>())
    if (l->buddy() == d.edtGs || l->buddy() == d.edtCon) EXPECT_EQ(l->isEnabled(), l->buddy() == d.edtCon);
  QStringList captions;
  for (QPushButton* b : d.operatorButtons) {
    captions << b->text();
    b->click();
  }
  EXPECT_EQ(captions.join(' '), "+ - * / ( ) > < = >= <= <>");
  EXPECT_EQ(d.edtCon->text(), "+-*/()><=>=<=<>");
  d.btnClear->click();
  EXPECT_EQ(d.edtCon->text(), "");
  t.addItem(d, "[JJe]计件金额");
  t.op(d, ">=")->click();
  QTest::keyClicks(d.edtCon, "1000");
  EXPECT_EQ(d.edtCon->text(), "JJe>=1000");
  EXPECT_EQ(d.edtCon->cursorPosition(), 9);
  EXPECT_EQ(d.edtGs->text(), "f2+JJe*0.1");

  d.cboDest->setCurrentIndex(11);
  d.btnYes->click();
  EXPECT_EQ(t.msg.texts(), QStringList{"保存成功"});
  EXPECT_EQ(d.result(), QDialog::Accepted);
  EXPECT_EQ(t.p.rows("select xh,fname,gs,gsdesc,con,condesc from gzgs"),
            QStringList{"1|f12|f2+JJe*0.1|基本工资+计件金额*0.1|JJe>=1000|计件金额>=1000"});
}

// On 确定 the texts are parsed and their names checked; the user may still save.
TEST(GzgsMdy, EnterWalksTheFieldsInTheirOrder) {
  Formulas t;
  TfrmGzgsMdy d;
  d.show();
  d.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&d));
  d.cboDest->setFocus();
  QTest::keyClick(d.cboDest, Qt::Key_Return);
  EXPECT_EQ(QApplication::focusWidget(), d.edtGs);
  QTest::keyClick(d.edtGs, Qt::Key_Return);  // the condition box is disabled
  EXPECT_EQ(QApplication::focusWidget(), d.lstSrc);
  QTest::keyClick(d.lstSrc, Qt::Key_Return);
  EXPECT_EQ(QApplication::focusWidget(), d.rbGs);
  EXPECT_EQ(d.edtGs->text(), "");

  d.rbCon->click();
  d.cboDest->setFocus();
  QTest::keyClick(d.cboDest, Qt::Key_Return);
  EXPECT_EQ(QApplication::focusWidget(), d.edtCon);
}

TEST(GzgsMdy, SaveChecksTheTexts) {
  struct {
    const char* gs;
    const char* con;
    const char* question;  // empty: saved without a question
  } cases[] = {
      {"f2+JJe*0.1", "(JJe>=1000) and (JSl>0)", ""},
      {"F2+1", "", "公式有误：“F2”不是工资项目，也不是JJe或JSl，仍要保存吗？"},
      {"f99+1", "", "公式有误：“f99”不是工资项目，也不是JJe或JSl，仍要保存吗？"},
      {"jje*2", "", "公式有误：“jje”不是工资项目，也不是JJe或JSl，仍要保存吗？"},
      {"(f1+2", "", "公式有误：括号不配对：第1个字符处的“(”缺少对应的“)”，仍要保存吗？"},
      {"f1", "JJe>", "公式有误：采用条件中表达式在结尾处不完整，缺少运算对象，仍要保存吗？"},
  };
  Formulas t;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.gs);
    for (MsgBox::Answer answer : {MsgBox::Answer::No, MsgBox::Answer::Yes}) {
      t.p.exec("delete from gzgs");
      t.msg.clear();
      t.msg.answer(answer);
      TfrmGzgsMdy d;
      d.edtGs->setText(QString::fromUtf8(c.gs));
      d.edtCon->setText(QString::fromUtf8(c.con));
      d.btnYes->click();
      const QString q = QString::fromUtf8(c.question);
      const bool saved = q.isEmpty() || answer == MsgBox::Answer::Yes;
      QStringList expected;
      if (!q.isEmpty()) expected << q;
      if (saved) expected << "保存成功";
      EXPECT_EQ(t.msg.texts(), expected);
      EXPECT_EQ(t.p.scalar("select count(*) from gzgs").toInt(), saved ? 1 : 0);
      if (!q.isEmpty()) EXPECT_EQ(t.msg.shown.first().caption, "询问");
    }
  }
}

TEST(GzgsMdy, EmptyFormulaAndRefusedSave) {
  Formulas t;
  TfrmGzgsMdy d;
  d.edtCon->setText("JJe>0");
  d.btnYes->click();
  EXPECT_EQ(t.msg.texts(), QStringList{"公式不能为空"});
  EXPECT_EQ(t.msg.shown.last().icon, MsgBox::Icon::Error);
  t.p.exec("create trigger no_gzgs before insert on gzgs begin select raise(abort,'磁盘已满'); end");
  d.edtGs->setText("f1");
  d.btnYes->click();
  EXPECT_EQ(t.msg.lastText(), "保存失败(磁盘已满)");
  EXPECT_EQ(t.msg.shown.last().caption, "错误");
  EXPECT_EQ(d.edtGs->text(), "f1");
  EXPECT_NE(d.result(), QDialog::Accepted);
}

TEST(Gzgs, ListsFormulasWhoseItemExists) {
  Formulas t;
  t.p.exec("insert into gzgs values(1,'f2','f2*2','基本工资*2','','')");
  t.p.exec("insert into gzgs values(2,'f40','f1','项目1','','')");
  t.p.exec("insert into gzgs values(3,'f3','JJe','计件金额','JJe>0','计件金额>0')");
  TfrmGzgs w;
  w.show();
  EXPECT_EQ(w.windowTitle(), "计算公式定义");
  ASSERT_EQ(w.qryGzgs.recordCount(), 2);
  QStringList titles, row;
  for (int c = 0; c < w.grid->columnCount(); ++c) {
    titles << w.grid->column(c).title;
    row << w.grid->cellText(1, c);
  }
  EXPECT_EQ(titles.join(','), "序号,项目编码,项目名称,计算公式,公式描述,采用条件,条件描述");
  EXPECT_EQ(row.join(','), "3,f3,补贴,JJe,计件金额,JJe>0,计件金额>0");
  ASSERT_TRUE(w.ownToolBar());
  EXPECT_TRUE(w.maximiseWhenActive());
  QStringList menu;
  for (QAction* a : w.pmGrid->actions()) menu << a->text();
  EXPECT_EQ(menu.join(','), "增加公式,修改公式,删除公式");
}

TEST(Gzgs, AddModifyAndDeleteThroughTheList) {
  Formulas t;
  t.p.exec("insert into gzgs values(1,'f2','f2*2','基本工资*2','','')");
  TfrmGzgs w;
  w.show();

  bool seen = false;
  whenModal([&](QWidget* m) {
    auto* d = qobject_cast<TfrmGzgsMdy*>(m);
    ASSERT_TRUE(d);
    EXPECT_EQ(d->windowTitle(), "增加公式");
    d->cboDest->setCurrentIndex(2);
    d->edtGs->setText("f2+f3");
    d->btnYes->click();
    seen = true;
  });
  w.btnAppend->click();
  ASSERT_TRUE(seen);
  EXPECT_EQ(w.qryGzgs.recordCount(), 2);
  EXPECT_EQ(w.qryGzgs.recNo(), 1);
  EXPECT_EQ(t.p.rows("select xh,fname,gsdesc from gzgs where xh=2"), QStringList{"2|f3|基本工资+补贴"});

  w.qryGzgs.first();
  seen = false;
  whenModal([&](QWidget* m) {
    auto* d = qobject_cast<TfrmGzgsMdy*>(m);
    ASSERT_TRUE(d);
    EXPECT_EQ(d->windowTitle(), "修改公式");
    EXPECT_EQ(d->cboDest->currentText(), "[f2]基本工资");
    EXPECT_EQ(d->edtGs->text(), "f2*2");
    d->cboDest->setCurrentIndex(11);
    d->edtGs->setText("f1/2");
    d->rbCon->click();
    d->edtCon->setText("f1>0");
    d->btnYes->click();
    seen = true;
  });
  w.pmGrid->actions().at(1)->trigger();
  ASSERT_TRUE(seen);
  EXPECT_EQ(t.p.rows("select * from gzgs order by xh"),
            (QStringList{"1|f12|f1/2|项目1/2|f1>0|项目1>0", "2|f3|f2+f3|基本工资+补贴||"}));
  EXPECT_EQ(w.qryGzgs.recNo(), 0);
  EXPECT_EQ(w.grid->cellText(0, 2), "全勤奖");

  w.qryGzgs.last();
  t.msg.answerNo();
  w.btnDel->click();
  EXPECT_EQ(t.p.scalar("select count(*) from gzgs").toInt(), 2);
  w.btnDel->click();
  EXPECT_EQ(t.p.rows("select xh from gzgs"), QStringList{"1"});
  EXPECT_EQ(w.qryGzgs.recordCount(), 1);
  EXPECT_EQ(t.msg.texts(), (QStringList{"保存成功", "保存成功", "确定要删除吗？", "确定要删除吗？"}));

  // the freed number is given again
  TfrmGzgsMdy d;
  d.setMode(TfrmGzgsMdy::Add);
  d.edtGs->setText("1");
  d.btnYes->click();
  EXPECT_EQ(t.p.rows("select xh from gzgs order by xh"), (QStringList{"1", "2"}));
}

TEST(Gzgs, CommandsOpenTheItemDialogAndOneFormulaWindow) {
  Formulas t;
  Commands::clear();
  registerItemCommands();
  QString modal;
  whenModal([&](QWidget* w) {
    modal = w->objectName();
    w->close();
  });
  ASSERT_TRUE(Commands::run(1509));
  EXPECT_EQ(modal, "TfrmGzxm");
  ASSERT_TRUE(Commands::run(1511));
  ASSERT_TRUE(Commands::run(1511));
  int open = 0;
  for (QWidget* w : QApplication::topLevelWidgets())
    if (qobject_cast<TfrmGzgs*>(w) && w->isVisible()) ++open;
  EXPECT_EQ(open, 1);
  for (QWidget* w : QApplication::topLevelWidgets())
    if (qobject_cast<TfrmGzgs*>(w)) w->close();
  QApplication::processEvents();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

}  // namespace
