#include "toolkit/EnterAsTab.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextEdit>

EnterAsTab::EnterAsTab(QWidget* window) : QObject(window), window_(window) {
  qApp->installEventFilter(this);
  for (QPushButton* b : window->findChildren<QPushButton*>()) {
    b->setAutoDefault(false);
    b->setDefault(false);
  }
}

bool EnterAsTab::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::KeyPress || !window_) return false;
  auto* key = static_cast<QKeyEvent*>(event);
  if (key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter) return false;
  auto* w = qobject_cast<QWidget*>(watched);
  // isAncestorOf stays within one window, so a child window of the main
  // window gets its own Enter handling and a dialog opened from it does not
  if (!w || !(w == window_ || window_->isAncestorOf(w))) return false;
  for (QWidget* p = w; p && p != window_; p = p->parentWidget()) {
    if (qobject_cast<QAbstractItemView*>(p) || qobject_cast<QPlainTextEdit*>(p) || qobject_cast<QTextEdit*>(p))
      return false;
  }
  // The window moves the focus on: a date picker given the Tab itself would
  // only step to its next section.
  QKeyEvent tab(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier);
  QApplication::sendEvent(window_, &tab);
  return true;
}
