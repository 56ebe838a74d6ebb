#include <gtest/gtest.h>

#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "TestEnv.h"
#include "app/Login.h"
#include "app/MainDM.h"
#include "app/Session.h"
#include "store/Password.h"
#include "toolkit/MsgBox.h"

namespace {
struct LoginFixture {
  TestProgram p;
  LoginFixture() {
    p.exec("insert into operator(operno,opername,pwd) values('03','王]五',:p1)", {Password::hash("Ab c")});
    p.exec("insert into operator(operno,opername,pwd) values('02','张三',:p1)", {Password::hash("")});
  }
};
}  // namespace

TEST(Login, ListsOperatorsInNumberOrderAndTakesNamesWithBrackets) {
  LoginFixture f;
  TfrmLogin login;
  ASSERT_EQ(login.cboName->count(), 3);
  EXPECT_EQ(login.cboName->itemText(0), "[01]admin");
  EXPECT_EQ(login.cboName->currentIndex(), 0);
  EXPECT_EQ(login.edtDt->date(), QDate::currentDate());
  login.cboName->setCurrentIndex(2);
  login.edtPwd->setText("Ab c");
  login.btnLogin->click();
  EXPECT_EQ(login.result(), QDialog::Accepted);
  login.edtDt->setDate(QDate(2010, 4, 15));
  login.takeSession();
  EXPECT_EQ(Session::operNo(), "03");
  EXPECT_EQ(Session::operName(), "王]五");
  EXPECT_EQ(Session::bizDate(), "2010-04-15");
}

TEST(Login, WrongPasswordIsRefusedAndKept) {
  LoginFixture f;
  MsgBox::Recorder rec;
  TfrmLogin login;
  login.show();
  login.cboName->setCurrentIndex(2);
  for (const char* typed : {"ab c", "Ab c ", "Abc"}) {
    login.edtPwd->setText(typed);
    login.btnLogin->click();
    EXPECT_EQ(rec.lastText(), "密码不正确");
    EXPECT_EQ(rec.shown.last().icon, MsgBox::Icon::Error);
    EXPECT_TRUE(login.isVisible());
    EXPECT_EQ(login.edtPwd->text(), typed);
  }
}

TEST(Login, EnterMovesOnAndNeverLogsIn) {
  LoginFixture f;
  MsgBox::Recorder rec;
  TfrmLogin login;
  login.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&login));
  login.edtPwd->setFocus();
  QTest::keyClick(login.edtPwd, Qt::Key_Return);
  EXPECT_TRUE(login.edtDt->hasFocus() || login.edtDt->isAncestorOf(QApplication::focusWidget()));
  EXPECT_TRUE(login.isVisible());
  EXPECT_TRUE(rec.shown.isEmpty());
}

TEST(Login, MissingDatabaseEndsWithTheConnectionMessage) {
  TestProgram p(false);
  MsgBox::Recorder rec;
  EXPECT_FALSE(dmMain()->start());
  ASSERT_EQ(rec.shown.size(), 1);
  EXPECT_TRUE(rec.lastText().startsWith("连接数据库库失败("));
  EXPECT_TRUE(rec.lastText().endsWith(")"));
}
