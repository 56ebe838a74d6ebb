#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "common/Input.h"
#include "support/TestEnv.h"

// The input box: caption and prompt as given, Enter confirms with the typed
// text, "取消" and Esc give empty text.
TEST(Input, ConfirmsWithTheTextAndCancelsEmpty) {
  QString caption, prompt, buddy, ok;
  whenModal([&](QWidget* dlg) {
    caption = dlg->windowTitle();
    auto* label = dlg->findChild<QLabel*>();
    prompt = label->text();
    buddy = label->buddy() ? label->buddy()->objectName() : QString();
    ok = dlg->findChild<QPushButton*>("btnOk")->text();
    auto* edit = dlg->findChild<QLineEdit*>("edtInput");
    EXPECT_TRUE(edit->text().isEmpty());
    QTest::keyClicks(edit, "0012");
    QTest::keyClick(edit, Qt::Key_Return);
  });
  EXPECT_EQ(Input(QStringLiteral("工序输入"), QStringLiteral("请输入工序代码")), QStringLiteral("0012"));
  EXPECT_EQ(caption, QStringLiteral("工序输入"));
  EXPECT_EQ(prompt, QStringLiteral("请输入工序代码"));
  EXPECT_EQ(buddy, QStringLiteral("edtInput"));
  EXPECT_EQ(ok, QStringLiteral("确定"));

  whenModal([](QWidget* dlg) {
    QTest::keyClicks(dlg->findChild<QLineEdit*>("edtInput"), "abc");
    QTest::keyClick(dlg->findChild<QLineEdit*>("edtInput"), Qt::Key_Escape);
  });
  EXPECT_EQ(Input("a", "b"), QString());

  whenModal([](QWidget* dlg) {
    auto* cancel = dlg->findChild<QPushButton*>("btnCancel");
    EXPECT_EQ(cancel->text(), QStringLiteral("取消"));
    QTest::keyClicks(dlg->findChild<QLineEdit*>("edtInput"), "abc");
    cancel->click();
  });
  EXPECT_EQ(Input("a", "b"), QString());
}
