#pragma once
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QTest>
#include <QWidget>
#include <ostream>

#include "support/TestEnv.h"
#include "toolkit/DataGrid.h"

inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }

// Small helpers that drive the real windows the way a user does.
namespace drive {

template <class T = QWidget>
T* child(QWidget* w, const char* name) {
  T* c = w->findChild<T*>(QString::fromLatin1(name));
  EXPECT_NE(c, nullptr) << "no control " << name << " in " << w->objectName().toStdString();
  return c;
}

inline void show(QWidget* w) {
  w->show();
  w->activateWindow();
  QApplication::setActiveWindow(w);
  EXPECT_TRUE(QTest::qWaitForWindowActive(w));
}

// A mouse click, so focus moves to the button first and an open cell editor
// hands its text to the grid as it would for a user.
inline void click(QWidget* w, const char* name) {
  auto* b = child<QAbstractButton>(w, name);
  ASSERT_NE(b, nullptr);
  ASSERT_TRUE(b->isEnabled()) << name << " is disabled";
  QTest::mouseClick(b, Qt::LeftButton);
}

inline void trigger(QWidget* w, const char* name) {
  auto* a = child<QAction>(w, name);
  ASSERT_NE(a, nullptr);
  a->trigger();
}

// Types text into a cell: the editor opens on the cell, the text replaces its
// content; with enter the Enter key then takes it in and moves on. A cell with
// a drop-down gets the text typed into its drop-down.
inline QWidget* typeCell(DataGrid* grid, int row, int column, const QString& text, bool enter = true) {
  // editors closed earlier are only deleted later; let them go first
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  grid->setFocus();
  grid->setCurrentCell(row, column);
  grid->edit(grid->model()->index(row, column));
  QWidget* target = nullptr;
  if (auto* combo = grid->findChild<QComboBox*>("gridPickList")) {
    combo->setEditText(text);
    target = combo;
  } else if (auto* editor = grid->findChild<QLineEdit*>("gridEditor")) {
    editor->selectAll();
    if (text.isEmpty())
      editor->del();
    else
      editor->insert(text);
    target = editor;
  }
  if (!target) {
    ADD_FAILURE() << "no editor opened on " << row << "," << column;
    return nullptr;
  }
  if (enter) QTest::keyClick(target, Qt::Key_Return);
  return target;
}

}  // namespace drive

namespace drive {
// Closes a modal dialog when the driving code is done with it, even when a
// check failed half-way, so that a failing test never hangs.
struct CloseAtEnd {
  QWidget* dialog;
  ~CloseAtEnd() {
    if (dialog && dialog->isVisible()) dialog->close();
  }
};

// A user's double click: a press and release, then the second press.
inline void doubleClick(QWidget* target, const QPoint& at) {
  QTest::mousePress(target, Qt::LeftButton, {}, at);
  QTest::mouseRelease(target, Qt::LeftButton, {}, at);
  QTest::mouseDClick(target, Qt::LeftButton, {}, at);
}

// Answers the input box with the given text.
inline void answerInput(const QString& text) {
  whenModal("TfrmInput", [text](QWidget* box) {
    CloseAtEnd guard{box};
    box->findChild<QLineEdit*>("edtInput")->setText(text);
    box->findChild<QAbstractButton*>("btnOk")->click();
  });
}
}  // namespace drive
