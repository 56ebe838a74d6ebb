#include "toolkit/ChildWindow.h"

#include <QToolBar>

TChildWindow::TChildWindow(QWidget* parent) : QWidget(parent) {
  setAttribute(Qt::WA_DeleteOnClose);
}

void TChildWindow::setOwnToolBar(QToolBar* bar) {
  toolBar_ = bar;
  if (bar) {
    bar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    bar->hide();
  }
}

QToolBar* TChildWindow::createOwnToolBar(const QString& title, const QString& objectName) {
  auto* bar = new QToolBar(title, this);
  bar->setObjectName(objectName);
  setOwnToolBar(bar);
  return bar;
}

QAction* TChildWindow::addTool(const char* objectName, const QString& text, QStyle::StandardPixmap icon) {
  QAction* a = toolBar_->addAction(style()->standardIcon(icon), text);
  a->setObjectName(QString::fromLatin1(objectName));
  if (QWidget* w = toolBar_->widgetForAction(a)) w->setObjectName(a->objectName());
  return a;
}

// The toolbar lives in the main window's tool area while the window is open;
// it goes with the window.
TChildWindow::~TChildWindow() { delete toolBar_.data(); }
