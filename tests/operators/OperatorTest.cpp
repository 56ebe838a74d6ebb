// Operators, permissions and passwords, driven through their dialogs.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "TestEnv.h"
#include "app/Commands.h"
#include "app/Login.h"
#include "operators/Operator.h"
#include "operators/OperatorAdd.h"
#include "operators/OperatorPwd.h"
#include "operators/OperatorRole.h"
#include "store/Password.h"
#include "toolkit/DataGrid.h"
#include "toolkit/MsgBox.h"

namespace {

// Types text key by key, Chinese characters included.
void type(QLineEdit* e, const QString& text) {
  e->clear();
  for (const QChar c : text) QTest::sendKeyEvent(QTest::Click, e, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

void click(QAbstractButton* b) { QTest::mouseClick(b, Qt::LeftButton); }
void toggle(QCheckBox* b) { QTest::keyClick(b, Qt::Key_Space); }

class OperatorTest : public ::testing::Test {
 protected:
  void addOperator(const QString& no, const QString& name, const QString& pwd = {}) {
    prog.exec("insert into operator(operno,opername,pwd,dept) values(:p1,:p2,:p3,'')", {no, name, Password::hash(pwd)});
  }
  QString hashOf(const QString& name) {
    return prog.scalar("select pwd from operator where opername=:p1", {name}).toString();
  }

  TestProgram prog;
  MsgBox::Recorder msgs;
};

// ---- creating

struct Refusal {
  const char *no, *name, *pwd, *pwd2, *message;
};

TEST_F(OperatorTest, CreateRefusalsKeepTheBoxesFilled) {
  addOperator("02", "张三");
  const Refusal cases[] = {
      {"03", "", "a", "a", "请输入操作员名称"},
      {"03", "李四", "a", "b", "两次输入的密码不一致"},
      {"03", "李四", "abc", "ABC", "两次输入的密码不一致"},
      {"02", "李四", "", "", "编码已存在！"},
      {"03", "Admin", "", "", "操作员名称已存在！"},
      {"03", "张三", "", "", "操作员名称已存在！"},
  };
  for (const Refusal& c : cases) {
    SCOPED_TRACE(c.message);
    TfrmOperatorAdd dlg;
    dlg.show();
    type(dlg.edtOperNo, c.no);
    type(dlg.edtOperName, c.name);
    type(dlg.edtPwd, c.pwd);
    type(dlg.edtPwd2, c.pwd2);
    type(dlg.edtDept, "车间");
    msgs.clear();
    click(dlg.btnSave);
    ASSERT_EQ(msgs.shown.size(), 1);
    EXPECT_EQ(msgs.shown[0].text, QString::fromUtf8(c.message));
    EXPECT_EQ(msgs.shown[0].caption, "提示");
    EXPECT_EQ(msgs.shown[0].icon, MsgBox::Icon::Error);
    EXPECT_EQ(dlg.edtOperNo->text(), c.no);
    EXPECT_EQ(dlg.edtOperName->text(), c.name);
    EXPECT_EQ(dlg.edtPwd->text(), c.pwd);
    EXPECT_EQ(dlg.edtDept->text(), "车间");
    EXPECT_EQ(prog.scalar("select count(*) from operator").toInt(), 2);
  }
}

TEST_F(OperatorTest, CreateStoresAHashAndEmptiesTheBoxesForTheNext) {
  TfrmOperatorAdd dlg;
  dlg.show();
  type(dlg.edtOperNo, "05");
  type(dlg.edtOperName, "王五");
  type(dlg.edtPwd, "Secret 1");
  type(dlg.edtPwd2, "Secret 1");
  type(dlg.edtDept, "财务");
  click(dlg.btnSave);
  EXPECT_TRUE(msgs.shown.isEmpty()) << msgs.lastText().toStdString();
  EXPECT_EQ(prog.rows("select operno,opername,dept from operator where operno='05'"), QStringList{"05|王五|财务"});
  const QString stored = hashOf("王五");
  EXPECT_NE(stored, "Secret 1");
  EXPECT_TRUE(Password::verify("Secret 1", stored));
  EXPECT_FALSE(Password::verify("secret 1", stored));
  for (QLineEdit* e : {dlg.edtOperNo, dlg.edtOperName, dlg.edtPwd, dlg.edtPwd2, dlg.edtDept}) EXPECT_TRUE(e->text().isEmpty());
  EXPECT_TRUE(dlg.isVisible());

  // Both password boxes empty: allowed, and the empty password logs in.
  type(dlg.edtOperNo, "06");
  type(dlg.edtOperName, "赵六");
  click(dlg.btnSave);
  EXPECT_TRUE(msgs.shown.isEmpty());
  EXPECT_TRUE(Password::verify("", hashOf("赵六")));
}

TEST_F(OperatorTest, EnterInTheCreateDialogMovesOnAndNeverSaves) {
  TfrmOperatorAdd dlg;
  dlg.show();
  dlg.activateWindow();
  dlg.edtOperNo->setFocus();
  QApplication::processEvents();
  const QWidget* order[] = {dlg.edtOperName, dlg.edtPwd, dlg.edtPwd2, dlg.edtDept};
  for (const QWidget* next : order) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), next);
  }
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
  EXPECT_TRUE(msgs.shown.isEmpty());
  EXPECT_EQ(prog.scalar("select count(*) from operator").toInt(), 1);
}

// ---- the list and deleting

TEST_F(OperatorTest, ListShowsNoPasswordsAndCreateReloadsIt) {
  addOperator("02", "张三", "pw");
  TfrmOperator dlg;
  dlg.show();
  ASSERT_EQ(dlg.grid->columnCount(), 3);
  EXPECT_EQ(dlg.grid->model()->headerData(0, Qt::Horizontal).toString(), "编码");
  EXPECT_EQ(dlg.grid->model()->headerData(1, Qt::Horizontal).toString(), "名称");
  EXPECT_EQ(dlg.grid->model()->headerData(2, Qt::Horizontal).toString(), "所属部门");
  EXPECT_EQ(dlg.grid->cellText(1, 1), "张三");

  whenModal("TfrmOperatorAdd", [](QWidget* w) {
    auto* add = static_cast<TfrmOperatorAdd*>(w);
    type(add->edtOperNo, "03");
    type(add->edtOperName, "李四");
    click(add->btnSave);
    click(add->btnCancel);
  });
  click(dlg.btnAppend);
  EXPECT_EQ(dlg.qryOperator->recordCount(), 3);
  EXPECT_EQ(dlg.grid->cellText(2, 1), "李四");
}

TEST_F(OperatorTest, DeleteRules) {
  addOperator("02", "张三");
  addOperator("03", "李四");
  prog.exec("insert into rolelist(opername,roleid) values('李四',1001)");
  TfrmOperator dlg;
  dlg.show();

  // admin: refused, nothing asked
  dlg.grid->setCurrentCell(0, 0);
  click(dlg.btnDel);
  ASSERT_EQ(msgs.shown.size(), 1);
  EXPECT_EQ(msgs.shown[0].text, "此操作员不能被删除！");
  EXPECT_EQ(msgs.shown[0].icon, MsgBox::Icon::Information);

  // No keeps the operator
  msgs.clear();
  msgs.answerNo();
  dlg.grid->setCurrentCell(1, 0);
  click(dlg.btnDel);
  EXPECT_EQ(msgs.texts(), QStringList{"确认要删除该操作员吗？"});
  EXPECT_EQ(prog.scalar("select count(*) from operator").toInt(), 3);

  // one holding a permission is in use
  msgs.clear();
  dlg.grid->setCurrentCell(2, 0);
  click(dlg.btnDel);
  EXPECT_EQ(msgs.texts(), (QStringList{"确认要删除该操作员吗？", "操作员正在使用！"}));
  EXPECT_EQ(msgs.shown[1].icon, MsgBox::Icon::Error);
  EXPECT_EQ(prog.scalar("select count(*) from operator where opername='李四'").toInt(), 1);

  msgs.clear();
  dlg.grid->setCurrentCell(1, 0);
  click(dlg.btnDel);
  EXPECT_EQ(prog.rows("select opername from operator order by operno"), (QStringList{"admin", "李四"}));
  EXPECT_EQ(dlg.qryOperator->recordCount(), 2);
}

// ---- permissions

TEST_F(OperatorTest, PermissionDialogListsEveryoneButAdminInNumberOrder) {
  addOperator("09", "最后");
  addOperator("02", "张三");
  prog.exec("update roles set flag=1 where roleid=2105");
  TfrmOperatorRole dlg;
  QStringList names;
  for (int i = 0; i < dlg.cboName->count(); ++i) names << dlg.cboName->itemText(i);
  EXPECT_EQ(names, (QStringList{"张三", "最后"}));
  EXPECT_EQ(dlg.cboName->currentText(), "张三");
  const int offered = prog.scalar("select count(*) from roles where flag=0").toInt();
  ASSERT_EQ(dlg.roleBoxes.size(), offered);
  EXPECT_EQ(dlg.roleBoxes.first()->text(), "【初始设置】");
  for (QCheckBox* b : dlg.roleBoxes) EXPECT_NE(b->property("roleid").toInt(), 2105);
}

TEST_F(OperatorTest, SavingWritesOnlyTheChangedBoxes) {
  addOperator("02", "张三");
  prog.exec("insert into rolelist(opername,roleid) values('张三',1001)");
  prog.exec("insert into rolelist(opername,roleid) values('张三',1003)");
  auto boxOf = [](TfrmOperatorRole& d, int id) {
    for (QCheckBox* b : d.roleBoxes)
      if (b->property("roleid").toInt() == id) return b;
    return static_cast<QCheckBox*>(nullptr);
  };
  {
    TfrmOperatorRole dlg;
    dlg.show();
    EXPECT_TRUE(boxOf(dlg, 1001)->isChecked());
    EXPECT_TRUE(boxOf(dlg, 1003)->isChecked());
    EXPECT_FALSE(boxOf(dlg, 1005)->isChecked());
    // Unchanged: nothing written, the notice still shown. The rowid shows
    // whether rows were rewritten.
    const QStringList before = prog.rows("select rowid,opername,roleid from rolelist order by rowid");
    click(dlg.btnSave);
    EXPECT_EQ(msgs.texts(), QStringList{"权限保存成功"});
    EXPECT_EQ(msgs.shown[0].icon, MsgBox::Icon::Information);
    EXPECT_EQ(prog.rows("select rowid,opername,roleid from rolelist order by rowid"), before);
    EXPECT_FALSE(dlg.isVisible());
  }
  {
    TfrmOperatorRole dlg;
    dlg.show();
    toggle(boxOf(dlg, 1005));
    toggle(boxOf(dlg, 1003));
    click(dlg.btnSave);
    EXPECT_EQ(prog.rows("select roleid from rolelist where opername='张三' order by roleid"),
              (QStringList{"1001", "1005"}));
    EXPECT_EQ(prog.scalar("select count(*) from rolelist").toInt(), 2);
  }
}

TEST_F(OperatorTest, SwitchingOperatorDiscardsTicksAndTickAllClearAll) {
  addOperator("02", "张三");
  addOperator("03", "李四");
  prog.exec("insert into rolelist(opername,roleid) values('李四',1901)");
  TfrmOperatorRole dlg;
  dlg.show();
  click(dlg.btnAll);
  for (QCheckBox* b : dlg.roleBoxes) EXPECT_TRUE(b->isChecked());
  dlg.cboName->setCurrentIndex(1);
  int ticked = 0;
  for (QCheckBox* b : dlg.roleBoxes) ticked += b->isChecked();
  EXPECT_EQ(ticked, 1);
  dlg.cboName->setCurrentIndex(0);
  for (QCheckBox* b : dlg.roleBoxes) EXPECT_FALSE(b->isChecked());
  dlg.cboName->setCurrentIndex(1);
  click(dlg.btnClear);
  click(dlg.btnSave);
  EXPECT_EQ(prog.scalar("select count(*) from rolelist").toInt(), 0);
}

// ---- password

bool logsIn(const QString& entry, const QString& pwd) {
  TfrmLogin login;
  login.cboName->setCurrentIndex(login.cboName->findText(entry));
  type(login.edtPwd, pwd);
  login.btnLogin->click();
  return login.result() == QDialog::Accepted;
}

TEST_F(OperatorTest, PasswordChangeChecksTheOldOneByVerification) {
  addOperator("02", "张三", "old");
  prog.login("张三", "02");
  const QString before = hashOf("张三");
  TfrmOperatorPwd dlg;
  dlg.show();
  EXPECT_EQ(dlg.edtOperName->text(), "张三");
  EXPECT_TRUE(dlg.edtOperName->isReadOnly());

  type(dlg.edtOldPwd, "old");
  type(dlg.edtNewPwd, "new");
  type(dlg.edtNewPwd2, "neW");
  click(dlg.btnSave);
  EXPECT_EQ(msgs.lastText(), "两次输入的密码不一致");

  type(dlg.edtOldPwd, "OLD");
  type(dlg.edtNewPwd2, "new");
  click(dlg.btnSave);
  EXPECT_EQ(msgs.lastText(), "输入的旧密码不正确");
  EXPECT_EQ(msgs.shown.last().icon, MsgBox::Icon::Error);
  EXPECT_EQ(hashOf("张三"), before);
  EXPECT_TRUE(dlg.isVisible());

  type(dlg.edtOldPwd, "old");
  click(dlg.btnSave);
  EXPECT_EQ(msgs.lastText(), "密码修改成功");
  EXPECT_EQ(msgs.shown.last().icon, MsgBox::Icon::Information);
  EXPECT_EQ(dlg.result(), QDialog::Accepted);
  EXPECT_NE(hashOf("张三"), "new");

  msgs.clear();
  EXPECT_FALSE(logsIn("[02]张三", "old"));
  EXPECT_TRUE(logsIn("[02]张三", "new"));
  EXPECT_TRUE(logsIn("[01]admin", ""));  // nobody else's password moved
}

// ---- commands

TEST_F(OperatorTest, CommandsOpenTheirDialogsModally) {
  registerOperatorCommands();
  const std::pair<int, const char*> commands[] = {
      {1701, "TfrmOperator"}, {1703, "TfrmOperatorRole"}, {1705, "TfrmOperatorPwd"}};
  for (const auto& [tag, name] : commands) {
    QString seen;
    whenModal([&seen](QWidget* w) {
      seen = w->objectName() + "|" + w->windowTitle();
      static_cast<QDialog*>(w)->reject();
    });
    ASSERT_TRUE(Commands::run(tag));
    EXPECT_TRUE(seen.startsWith(QString(name) + "|")) << seen.toStdString();
  }
  EXPECT_TRUE(msgs.shown.isEmpty());
}

}  // namespace
