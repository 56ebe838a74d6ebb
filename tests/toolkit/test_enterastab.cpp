#include <gtest/gtest.h>

#include <QLineEdit>
#include <QMainWindow>
#include <QTest>
#include <QVBoxLayout>

#include "toolkit/EnterAsTab.h"

// A child window inside the main window (as in the document area) moves on
// with Enter like a dialog does.
TEST(EnterAsTab, WorksInsideAnotherWindow) {
  QMainWindow main;
  auto* child = new QWidget;
  auto* first = new QLineEdit(child);
  auto* second = new QLineEdit(child);
  auto* layout = new QVBoxLayout(child);
  layout->addWidget(first);
  layout->addWidget(second);
  main.setCentralWidget(child);
  new EnterAsTab(child);
  main.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&main));
  first->setFocus();
  QTest::keyClick(first, Qt::Key_Return);
  EXPECT_TRUE(second->hasFocus());
}
