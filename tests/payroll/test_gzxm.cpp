#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "TestEnv.h"
#include "payroll/Gzxm.h"
#include "payroll/GzxmMdy.h"
#include "toolkit/DataGrid.h"
#include "toolkit/MsgBox.h"

namespace {

// Types text key by key, as keyClicks does for Latin letters.
void type(QWidget* w, const QString& text) {
  for (QChar c : text) {
    QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
    QApplication::sendEvent(w, &press);
  }
}

struct Items {
  TestProgram p;
  MsgBox::Recorder msg;

  QStringList columns() { return p.rows("select name||' '||type from pragma_table_info('gzdata')"); }

  // Adds items through one add-mode session of the item dialog.
  void add(const QStringList& names, int type = 0, const QString& width = "0") {
    TfrmGzxmMdy dlg;
    dlg.setMode(TfrmGzxmMdy::Add);
    dlg.cboTp->setCurrentIndex(type);
    dlg.edtSize->setText(width);
    for (const QString& n : names) {
      dlg.edtName->setText(n);
      dlg.btnSave->click();
    }
  }
};

TEST(Gzxm, AddingNumbersFromTheLastColumnAndStaysOpen) {
  Items t;
  TfrmGzxm list;
  list.show();
  EXPECT_EQ(list.windowTitle(), "工资项目定义");
  bool checked = false;
  whenModal([&](QWidget* w) {
    auto* dlg = qobject_cast<TfrmGzxmMdy*>(w);
    ASSERT_TRUE(dlg);
    EXPECT_EQ(dlg->windowTitle(), "增加项目");
    EXPECT_EQ(dlg->edtSize->text(), "0");
    type(dlg->edtName, "基本工资");
    dlg->btnSave->click();
    EXPECT_TRUE(dlg->isVisible());
    EXPECT_EQ(dlg->edtName->text(), "");
    dlg->cboTp->setCurrentIndex(1);
    dlg->edtSize->clear();
    QTest::keyClicks(dlg->edtSize, "2x0");  // only digits get in
    EXPECT_EQ(dlg->edtSize->text(), "20");
    type(dlg->edtName, "备注");
    dlg->btnSave->click();
    EXPECT_EQ(dlg->cboTp->currentIndex(), 1);  // type and width stay for the next item
    EXPECT_EQ(dlg->edtSize->text(), "20");
    dlg->cboTp->setCurrentIndex(0);
    EXPECT_EQ(dlg->edtSize->text(), "0");
    dlg->btnCancel->click();
    checked = true;
  });
  list.btnAppend->click();
  ASSERT_TRUE(checked);
  EXPECT_EQ(t.msg.texts(), (QStringList{"保存成功", "保存成功"}));
  EXPECT_EQ(t.p.rows("select xh,fname,xmname,ftype,fsize from gzxm order by xh"),
            (QStringList{"1|f1|基本工资|0|0", "2|f2|备注|1|20"}));
  EXPECT_EQ(t.columns().mid(3), (QStringList{"f1 float", "f2 varchar(20)"}));
  ASSERT_EQ(list.qryGzxm.recordCount(), 2);
  EXPECT_EQ(list.qryGzxm.recNo(), 1);
  EXPECT_EQ(list.grid->cellText(0, 3), "数值型");
  EXPECT_EQ(list.grid->cellText(1, 3), "文本型");
  EXPECT_EQ(list.grid->cellText(1, 1), "f2");
}

TEST(Gzxm, EmptyNameAndEmptyWidth) {
  Items t;
  t.add({""});
  EXPECT_EQ(t.msg.lastText(), "请填项目名称");
  EXPECT_EQ(t.p.scalar("select count(*) from gzxm").toInt(), 0);
  t.add({"说明"}, 1, "");
  EXPECT_EQ(t.p.rows("select fname,ftype,fsize from gzxm"), QStringList{"f1|1|0"});
  EXPECT_EQ(t.columns().last(), "f1 varchar(0)");
}

TEST(Gzxm, ChoosingNumericResetsTheWidthEvenWhenAlreadyChosen) {
  Items t;
  TfrmGzxmMdy dlg;
  dlg.setMode(TfrmGzxmMdy::Add);
  dlg.edtSize->setText("20");
  emit dlg.cboTp->activated(0);  // the user picks "数值型" from the drop-down again
  EXPECT_EQ(dlg.edtSize->text(), "0");
  dlg.cboTp->setCurrentIndex(1);
  dlg.edtSize->setText("20");
  emit dlg.cboTp->activated(1);
  EXPECT_EQ(dlg.edtSize->text(), "20");
  dlg.edtName->setText("津贴");
  dlg.cboTp->setCurrentIndex(0);
  emit dlg.cboTp->activated(0);
  dlg.btnSave->click();
  EXPECT_EQ(t.p.rows("select fname,ftype,fsize from gzxm"), QStringList{"f1|0|0"});
}

// Deleting the last item: its number comes back only when its column went.
TEST(Gzxm, DeleteDropsTheColumnOnlyWhileTheSheetIsEmpty) {
  for (bool withRows : {false, true}) {
    SCOPED_TRACE(withRows);
    Items t;
    QStringList names;
    for (int i = 1; i <= 12; ++i) names << QString("项目%1").arg(i);
    t.add(names);
    ASSERT_EQ(t.p.scalar("select max(xh) from gzxm").toInt(), 12);
    if (withRows) t.p.exec("insert into gzdata(xyear,xmonth,wkcode,f12) values(2010,4,'001',5)");
    t.msg.clear();
    TfrmGzxm list;
    list.show();
    list.qryGzxm.last();
    t.msg.answerNo();
    list.btnDel->click();
    EXPECT_EQ(t.p.scalar("select count(*) from gzxm").toInt(), 12);
    list.btnDel->click();  // default answer Yes
    EXPECT_EQ(t.msg.texts(), (QStringList{"确定要删除吗？", "确定要删除吗？"}));
    EXPECT_EQ(list.qryGzxm.recordCount(), 11);
    EXPECT_EQ(t.p.scalar("select count(*) from gzxm where fname='f12'").toInt(), 0);
    EXPECT_EQ(t.columns().last(), withRows ? "f12 float" : "f11 float");
    if (withRows) EXPECT_EQ(t.p.scalar("select f12 from gzdata").toDouble(), 5);
    t.add({"新项目"});
    EXPECT_EQ(t.p.scalar("select fname from gzxm where xmname='新项目'").toString(), withRows ? "f13" : "f12");
  }
}

TEST(Gzxm, RefusedRowDeleteKeepsTheColumn) {
  Items t;
  t.add({"基本工资", "补贴"});
  t.p.exec("insert into gzxm_m select 2010,4,xh,fname,xmname,ftype,fsize from gzxm");
  TfrmGzxm list;
  list.show();
  list.qryGzxm.last();
  list.btnDel->click();
  EXPECT_EQ(t.msg.lastText(), "删除失败，正在使用！");
  EXPECT_EQ(t.msg.shown.last().icon, MsgBox::Icon::Error);
  EXPECT_EQ(t.p.scalar("select count(*) from gzxm").toInt(), 2);
  EXPECT_EQ(t.columns().last(), "f2 float");
  EXPECT_EQ(list.qryGzxm.recordCount(), 2);
}

TEST(Gzxm, ModifyChangesNameAndWidthOnly) {
  Items t;
  t.add({"基本工资"});
  t.add({"备注"}, 1, "20");
  TfrmGzxm list;
  list.show();
  list.qryGzxm.moveTo(1);
  bool checked = false;
  whenModal([&](QWidget* w) {
    auto* dlg = qobject_cast<TfrmGzxmMdy*>(w);
    ASSERT_TRUE(dlg);
    EXPECT_EQ(dlg->windowTitle(), "修改项目");
    EXPECT_FALSE(dlg->cboTp->isEnabled());
    EXPECT_EQ(dlg->cboTp->currentText(), "文本型");
    EXPECT_EQ(dlg->edtName->text(), "备注");
    EXPECT_EQ(dlg->edtSize->text(), "20");
    dlg->edtName->setText("说明");
    dlg->edtSize->setText("40");
    dlg->btnSave->click();
    EXPECT_FALSE(dlg->isVisible());
    checked = true;
  });
  list.btnMdy->click();
  ASSERT_TRUE(checked);
  EXPECT_EQ(t.p.rows("select xh,fname,xmname,ftype,fsize from gzxm order by xh"),
            (QStringList{"1|f1|基本工资|0|0", "2|f2|说明|1|40"}));
  EXPECT_EQ(t.columns().last(), "f2 varchar(20)");
  EXPECT_EQ(list.qryGzxm.recNo(), 1);
  EXPECT_EQ(list.qryGzxm.str("xmname"), "说明");
}

// A refused column leaves no item row behind.
TEST(Gzxm, FailedSaveRollsBackTheRow) {
  Items t;
  t.p.exec("alter table gzdata add f6 float");
  t.p.exec("alter table gzdata add f5 float");  // the next number is 6, whose column exists
  t.add({"奖金"});
  EXPECT_TRUE(t.msg.lastText().startsWith("保存失败(")) << t.msg.lastText().toStdString();
  EXPECT_EQ(t.msg.shown.last().caption, "错误");
  EXPECT_EQ(t.p.scalar("select count(*) from gzxm").toInt(), 0);
  EXPECT_EQ(t.columns().size(), 5);
}

TEST(Gzxm, EmptyListIgnoresModifyAndDelete) {
  Items t;
  TfrmGzxm list;
  list.show();
  list.btnMdy->click();
  list.btnDel->click();
  EXPECT_TRUE(t.msg.shown.isEmpty());
}

}  // namespace
