#include <gtest/gtest.h>

#include <QComboBox>
#include <QDateEdit>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QTreeWidget>

#include "Drive.h"
#include "common/MyFun.h"
#include "reference/SelWorker.h"
#include "reference/Worker.h"
#include "reference/WorkerMdy.h"
#include "support/TestEnv.h"
#include "toolkit/DataSet.h"
#include "toolkit/FileDialog.h"
#include "toolkit/MsgBox.h"

using drive::child;
using drive::click;
using drive::CloseAtEnd;
using drive::trigger;

namespace {

class Roster : public ::testing::Test {
 protected:
  TestProgram prog;
  MsgBox::Recorder msgs;
  QPointer<TfrmWorker> win;

  void SetUp() override {
    prog.exec("insert into depart(bmcode,bmname) values('01','一车间'),('02','二车间'),('03','仓库')");
    prog.exec("insert into worker_tp(tpcode,tpname) values('01','组长'),('02','工人')");
  }
  void TearDown() override { delete win.data(); }

  void addWorker(const QString& code, const QString& name, const QString& bm, const QVariant& tp = QVariant(),
                 int gztp = 0, int state = 0) {
    prog.exec(
        "insert into worker(wkcode,wkname,bmcode,tpcode,gztp,state,sex,indate,phone) "
        "values(:p1,:p2,:p3,:p4,:p5,:p6,'男','2009-03-01','135')",
        {code, name, bm, tp, gztp, state});
  }
  TfrmWorker* open() {
    win = new TfrmWorker;
    win->show();
    return win;
  }
  // Runs fn on the employee dialog that the action opens.
  void withDialog(const char* action, const std::function<void(TfrmWorkerMdy*)>& fn) {
    bool seen = false;
    whenModal("TfrmWorkerMdy", [&](QWidget* w) {
      seen = true;
      CloseAtEnd guard{w};
      fn(static_cast<TfrmWorkerMdy*>(w));
    });
    trigger(win, action);
    EXPECT_TRUE(seen) << "no employee dialog for " << action;
  }
  QString column(int row, const char* field) { return win->grid->cellText(row, win->grid->columnOfField(field)); }
};

TEST_F(Roster, ShowsDepartmentsAndTheChosenDepartmentsEmployees) {
  addWorker("0002", "李四", "01", "02", 1, 1);
  addWorker("0001", "张三", "01", "01");
  addWorker("0003", "王五", "02", QVariant(), 7, 3);
  auto* w = open();
  QStringList nodes;
  for (int i = 0; i < w->tvBm->topLevelItemCount(); ++i) nodes << w->tvBm->topLevelItem(i)->text(0);
  EXPECT_EQ(nodes, QStringList({"01-一车间", "02-二车间", "03-仓库"}));
  EXPECT_EQ(w->tvBm->currentItem(), w->tvBm->topLevelItem(0));

  QStringList titles;
  for (int i = 0; i < w->grid->columnCount(); ++i) titles << w->grid->column(i).title;
  EXPECT_EQ(titles, QStringList({"员工代码", "员工姓名", "性别", "职位名称", "身份证号", "学历", "地址", "电话",
                                 "入职日期", "银行帐号", "工资类型", "状态", "备注"}));
  ASSERT_EQ(w->qryWorker->recordCount(), 2);
  EXPECT_EQ(column(0, "wkcode"), "0001");
  EXPECT_EQ(column(0, "tpname"), "组长");
  EXPECT_EQ(column(0, "gztp"), "计件");
  EXPECT_EQ(column(0, "state"), "在职");
  EXPECT_EQ(column(1, "gztp"), "按月");
  EXPECT_EQ(column(1, "state"), "离职");
  EXPECT_EQ(column(0, "indate"), "2009-03-01");

  w->tvBm->setCurrentItem(w->tvBm->topLevelItem(1));
  ASSERT_EQ(w->qryWorker->recordCount(), 1);
  EXPECT_EQ(column(0, "wkname"), "王五");
  EXPECT_EQ(column(0, "tpname"), "") << "an employee without a position is still listed";
  EXPECT_EQ(column(0, "gztp"), "");
  EXPECT_EQ(column(0, "state"), "");

  QStringList buttons, menu;
  for (QAction* a : w->ownToolBar()->actions())
    if (!a->isSeparator()) buttons << a->text();
  EXPECT_EQ(buttons, QStringList({"增加", "修改", "删除", "打印", "定位", "设置", "导出", "退出"}));
  for (QAction* a : w->pmWorker->actions()) menu << a->text();
  EXPECT_EQ(menu, QStringList({"增加员工", "修改员工", "删除员工"}));
  EXPECT_EQ(w->findChild<QLabel*>("lblTitle")->text(), "员工名册");
  EXPECT_TRUE(w->maximiseWhenActive());
}

TEST_F(Roster, NewEmployeesGetTheNextCodeOverAllDepartments) {
  for (int i = 1; i <= 12; ++i)
    addWorker(QString("%1").arg(i, 4, 10, QChar('0')), "员工" + QString::number(i), i % 2 ? "01" : "02");
  auto* w = open();
  w->tvBm->setCurrentItem(w->tvBm->topLevelItem(2));
  withDialog("btnAppend", [&](TfrmWorkerMdy* d) {
    EXPECT_EQ(d->windowTitle(), "增加员工");
    EXPECT_EQ(d->lblBm->text(), "所属部门：03-仓库");
    EXPECT_EQ(d->edtCode->text(), "0013");
    EXPECT_TRUE(d->edtCode->isEnabled());
    EXPECT_EQ(d->cboSex->currentText(), "");
    EXPECT_EQ(d->cboGztp->currentText(), "计件");
    EXPECT_EQ(d->cboState->currentText(), "在职");
    EXPECT_EQ(d->dtpIndate->date(), QDate::currentDate());
    QStringList positions;
    for (int i = 0; i < d->cboTp->count(); ++i) positions << d->cboTp->itemText(i);
    EXPECT_EQ(positions, QStringList({"", "[01]组长", "[02]工人"}));

    d->edtName->setText("赵六");
    d->cboSex->setCurrentIndex(2);
    d->edtPhone->setText("13900000000");
    d->dtpIndate->setDate(QDate(2010, 4, 1));
    d->cboState->setCurrentIndex(1);
    click(d, "btnSave");
    EXPECT_EQ(msgs.texts(), QStringList{"保存成功"});
    EXPECT_EQ(msgs.shown.last().icon, MsgBox::Icon::Information);
    EXPECT_TRUE(d->isVisible()) << "add mode stays open for the next employee";
    EXPECT_EQ(d->edtCode->text(), "0014");
    EXPECT_EQ(d->edtName->text(), "");
    EXPECT_EQ(d->edtPhone->text(), "13900000000");
    EXPECT_EQ(d->cboSex->currentText(), "女");
    click(d, "btnCancel");
  });
  EXPECT_EQ(prog.rows("select wkcode,wkname,bmcode,sex,tpcode,phone,indate,gztp,state from worker where wkcode='0013'"),
            QStringList{"0013|赵六|03|女||13900000000|2010-04-01|0|1"});
  EXPECT_TRUE(prog.scalar("select tpcode from worker where wkcode='0013'").isNull());
  ASSERT_EQ(w->qryWorker->recordCount(), 1);
  EXPECT_EQ(w->qryWorker->str("wkname"), "赵六");
}

TEST_F(Roster, WithoutAutomaticCodesTheCodeIsTypedAndChecked) {
  prog.exec("update params set pvalue='0' where pid=7");
  addWorker("0001", "张三", "02");
  auto* w = open();
  withDialog("btnAppend", [&](TfrmWorkerMdy* d) {
    EXPECT_EQ(d->edtCode->text(), "");
    d->edtCode->setText("0001");
    click(d, "btnSave");
    EXPECT_EQ(msgs.lastText(), "请填写员工代码和姓名");
    d->edtName->setText("张三三");
    click(d, "btnSave");
    EXPECT_EQ(msgs.lastText(), "员工代码已存在");
    EXPECT_EQ(msgs.shown.last().caption, "提示");
    d->edtCode->setText("A7");
    d->cboTp->setCurrentIndex(1);
    click(d, "btnSave");
    EXPECT_EQ(msgs.lastText(), "保存成功");
    EXPECT_EQ(d->edtCode->text(), "A7") << "the code box keeps its text";
    EXPECT_EQ(d->edtName->text(), "");
    click(d, "btnCancel");
  });
  EXPECT_EQ(prog.rows("select wkcode,bmcode,tpcode from worker order by wkcode"),
            QStringList({"0001|02|", "A7|01|01"}));
}

TEST_F(Roster, ModifyingKeepsCodeAndDepartmentAndStoresNoPosition) {
  addWorker("0001", "张三", "01", "02", 1, 0);
  addWorker("0002", "李四", "01");
  prog.exec("update worker set sfid='110',xl='高中',addr='北街',bankacc='6222',mm='老员工' where wkcode='0001'");
  auto* w = open();
  withDialog("btnMdy", [&](TfrmWorkerMdy* d) {
    EXPECT_EQ(d->windowTitle(), "修改员工信息");
    EXPECT_EQ(d->lblBm->text(), "所属部门：01-一车间");
    EXPECT_FALSE(d->edtCode->isEnabled());
    EXPECT_EQ(d->edtCode->text(), "0001");
    EXPECT_EQ(d->edtName->text(), "张三");
    EXPECT_EQ(d->cboSex->currentText(), "男");
    EXPECT_EQ(d->cboTp->currentText(), "[02]工人");
    EXPECT_EQ(d->edtSfid->text(), "110");
    EXPECT_EQ(d->edtXl->text(), "高中");
    EXPECT_EQ(d->edtAddr->text(), "北街");
    EXPECT_EQ(d->edtPhone->text(), "135");
    EXPECT_EQ(d->dtpIndate->date(), QDate(2009, 3, 1));
    EXPECT_EQ(d->edtBankacc->text(), "6222");
    EXPECT_EQ(d->cboGztp->currentText(), "按月");
    EXPECT_EQ(d->cboState->currentText(), "在职");
    EXPECT_EQ(d->edtMm->text(), "老员工");
    d->cboTp->setCurrentIndex(0);
    d->edtName->setText("张叁");
    click(d, "btnSave");
    EXPECT_EQ(msgs.texts(), QStringList{"保存成功"});
    EXPECT_FALSE(d->isVisible()) << "modify mode closes with OK";
    EXPECT_EQ(d->result(), QDialog::Accepted);
  });
  EXPECT_EQ(prog.rows("select wkcode,wkname,bmcode,tpcode,gztp from worker where wkcode='0001'"),
            QStringList{"0001|张叁|01||1"});
  EXPECT_TRUE(prog.scalar("select tpcode from worker where wkcode='0001'").isNull());
  EXPECT_EQ(w->qryWorker->str("wkcode"), "0001");

  // an employee without a position opens with none chosen and keeps none
  w->qryWorker->last();
  withDialog("btnMdy", [&](TfrmWorkerMdy* d) {
    EXPECT_EQ(d->cboTp->currentIndex(), -1);
    click(d, "btnSave");
  });
  EXPECT_TRUE(prog.scalar("select tpcode from worker where wkcode='0002'").isNull());
  EXPECT_EQ(w->qryWorker->str("wkcode"), "0002");
}

TEST_F(Roster, AStoreErrorOnSavingIsReportedAndTheDialogStays) {
  prog.exec("create trigger refuse before insert on worker begin select raise(abort,'磁盘已满'); end");
  open();
  withDialog("btnAppend", [&](TfrmWorkerMdy* d) {
    d->edtName->setText("赵六");
    click(d, "btnSave");
    EXPECT_EQ(msgs.texts(), QStringList{"保存失败(磁盘已满)"});
    EXPECT_EQ(msgs.shown.last().caption, "错误");
    EXPECT_TRUE(d->isVisible());
    EXPECT_EQ(d->edtName->text(), "赵六");
    click(d, "btnCancel");
  });
  EXPECT_EQ(prog.scalar("select count(*) from worker").toInt(), 0);
}

TEST_F(Roster, EmployeesInUseAreNotDeleted) {
  addWorker("0001", "张三", "01");
  addWorker("0002", "李四", "01");
  addWorker("0003", "王五", "01");
  prog.exec("insert into jjgz(gzcode,gzname) values('01','车工')");
  prog.exec("insert into jjgx(gzcode,gxcode,gxname) values('01','001','粗车')");
  prog.exec("insert into jjdata(pid,dt,gzcode,gxcode,opername) values(1,'2010-04-01','01','001','admin')");
  prog.exec("insert into jjdata_d(pid,wkcode,bl,je) values(1,'0001',1,10)");
  prog.exec("insert into gzdata(xyear,xmonth,wkcode) values(2010,3,'0002')");
  auto* w = open();

  for (int row : {0, 1}) {
    msgs.clear();
    w->qryWorker->moveTo(row);
    trigger(w, "btnDel");
    EXPECT_EQ(msgs.texts(), QStringList{"该员工存在相关信息，不能删除"});
  }
  msgs.clear();
  w->qryWorker->moveTo(2);
  msgs.answerNo();
  trigger(w, "btnDel");
  EXPECT_EQ(msgs.texts(), QStringList{"确认要删除员工：王五吗？"});
  EXPECT_EQ(prog.scalar("select count(*) from worker").toInt(), 3);
  // the context menu does the same as the button
  msgs.clear();
  w->pmWorker->actions()[2]->trigger();
  EXPECT_EQ(msgs.texts(), QStringList{"确认要删除员工：王五吗？"});
  EXPECT_EQ(prog.rows("select wkcode from worker order by wkcode"), QStringList({"0001", "0002"}));
  EXPECT_EQ(w->qryWorker->recordCount(), 2);
  EXPECT_EQ(w->qryWorker->recNo(), 0);

  prog.exec("create trigger keep before delete on worker begin select raise(abort,'locked'); end");
  prog.exec("delete from jjdata_d");
  msgs.clear();
  w->qryWorker->first();
  trigger(w, "btnDel");
  EXPECT_EQ(msgs.texts(), QStringList({"确认要删除员工：张三吗？", "员工删除失败！"}));
}

TEST_F(Roster, LocateFindsTheExactName) {
  addWorker("0001", "张三", "01");
  addWorker("0002", "张三丰", "01");
  addWorker("0003", "Li", "01");
  auto* w = open();
  for (auto [typed, row] : std::vector<std::pair<QString, int>>{{"张三丰", 1}, {"li", 1}, {"张", 1}, {"Li", 2}}) {
    drive::answerInput(typed);
    trigger(w, "btnLocate");
    EXPECT_EQ(w->qryWorker->recNo(), row) << typed.toStdString();
  }
  EXPECT_TRUE(msgs.shown.isEmpty());
}

TEST_F(Roster, WithoutDepartmentsNothingCanBeAdded) {
  prog.exec("delete from depart");
  auto* w = open();
  EXPECT_EQ(w->tvBm->topLevelItemCount(), 0);
  EXPECT_EQ(w->grid->model()->rowCount(), 0);
  bool opened = false;
  whenModal(
      [&](QWidget* d) {
        opened = true;
        d->close();
      },
      300);
  trigger(w, "btnAppend");
  trigger(w, "btnMdy");
  QTest::qWait(350);
  EXPECT_FALSE(opened);
}

TEST_F(Roster, DoubleClickModifies) {
  addWorker("0001", "张三", "01");
  auto* w = open();
  bool seen = false;
  whenModal("TfrmWorkerMdy", [&](QWidget* d) {
    seen = true;
    EXPECT_EQ(static_cast<TfrmWorkerMdy*>(d)->edtName->text(), "张三");
    d->close();
  });
  drive::show(w);
  QRect cell = w->grid->visualRect(w->grid->model()->index(0, 1));
  drive::doubleClick(w->grid->viewport(), cell.center());
  EXPECT_TRUE(seen);
}

TEST_F(Roster, ColumnSettingsExportAndPrintWorkOnTheGrid) {
  addWorker("0001", "张三", "01");
  MyFun::writeIni("Worker", "col4", "0");
  MyFun::writeIni("Worker", "col6", "yes");
  auto* w = open();
  EXPECT_FALSE(w->grid->isColumnVisible(4));
  EXPECT_FALSE(w->grid->isColumnVisible(6));
  EXPECT_TRUE(w->grid->isColumnVisible(5));

  bool setup = false;
  whenModal("TfrmSetup", [&](QWidget* d) {
    setup = true;
    d->close();
  });
  trigger(w, "btnSetup");
  EXPECT_TRUE(setup);

  FileDialog::Script files;
  files.answer(prog.dir() + "roster");
  trigger(w, "btnExport");
  EXPECT_TRUE(QFile::exists(prog.dir() + "roster.xlsx"));

  bool preview = false;
  whenModal("GridPrintPreview", [&](QWidget* d) {
    preview = true;
    d->close();
  });
  trigger(w, "btnPrint");
  EXPECT_TRUE(preview);
}

// ---------------------------------------------------------------- picker

class Picker : public ::testing::Test {
 protected:
  TestProgram prog;
  void SetUp() override {
    prog.exec("insert into depart(bmcode,bmname) values('01','一车间'),('02','二车间'),('03','仓库')");
    prog.exec(
        "insert into worker(wkcode,wkname,bmcode,state) values('0003','王五','03',1),('0001','张三','01',0),"
        "('0002','李四','01',0)");
  }
  static QStringList texts(QTreeWidget* tv) {
    QStringList out;
    for (int i = 0; i < tv->topLevelItemCount(); ++i) {
      QTreeWidgetItem* d = tv->topLevelItem(i);
      out << d->text(0);
      for (int j = 0; j < d->childCount(); ++j) out << "  " + d->child(j)->text(0);
    }
    return out;
  }
};

TEST_F(Picker, ShowsEveryDepartmentWithAllItsEmployees) {
  TfrmSelWorker picker;
  EXPECT_EQ(picker.windowTitle(), "请选择员工");
  EXPECT_EQ(picker.findChild<QGroupBox*>()->title(), "员工列表");
  auto* tv = picker.findChild<QTreeWidget*>("tvWorker");
  EXPECT_EQ(texts(tv),
            QStringList({"[01]一车间", "  [0001]张三", "  [0002]李四", "[02]二车间", "[03]仓库", "  [0003]王五"}));
  auto* select = picker.findChild<QPushButton*>("btnSelect");
  EXPECT_EQ(select->text(), "选中");
  EXPECT_TRUE(select->isDefault());
}

TEST_F(Picker, ChoosingOpensDepartmentsAndReturnsAnEmployee) {
  TfrmSelWorker picker;
  auto* tv = picker.findChild<QTreeWidget*>("tvWorker");
  picker.show();

  click(&picker, "btnSelect");  // nothing selected
  EXPECT_TRUE(picker.isVisible());

  tv->setCurrentItem(tv->topLevelItem(1));  // a department without employees
  click(&picker, "btnSelect");
  EXPECT_TRUE(picker.isVisible());
  EXPECT_EQ(picker.wkcode(), "");

  tv->setCurrentItem(tv->topLevelItem(2));
  click(&picker, "btnLocate");
  EXPECT_TRUE(picker.isVisible());
  EXPECT_TRUE(tv->topLevelItem(2)->isExpanded());
  EXPECT_EQ(tv->currentItem()->text(0), "[0003]王五");

  QTest::keyClick(tv, Qt::Key_Return);  // the default button
  EXPECT_FALSE(picker.isVisible());
  EXPECT_EQ(picker.result(), QDialog::Accepted);
  EXPECT_EQ(picker.wkcode(), "0003");
  EXPECT_EQ(picker.wkname(), "王五");
}

TEST_F(Picker, DoubleClickChoosesAndCancelReturnsNothing) {
  {
    TfrmSelWorker picker;
    auto* tv = picker.findChild<QTreeWidget*>("tvWorker");
    drive::show(&picker);
    tv->expandAll();
    QTreeWidgetItem* li = tv->topLevelItem(0)->child(1);
    drive::doubleClick(tv->viewport(), tv->visualItemRect(li).center());
    EXPECT_EQ(picker.result(), QDialog::Accepted);
    EXPECT_EQ(picker.wkcode(), "0002");
  }
  TfrmSelWorker picker;
  auto* tv = picker.findChild<QTreeWidget*>("tvWorker");
  picker.show();
  tv->setCurrentItem(tv->topLevelItem(0)->child(0));
  click(&picker, "btnCancel");
  EXPECT_EQ(picker.result(), QDialog::Rejected);
  EXPECT_EQ(picker.wkcode(), "");
}

}  // namespace
