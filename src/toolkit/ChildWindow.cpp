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

// The toolbar lives in the main window's tool area while the window is open;
// it goes with the window.
TChildWindow::~TChildWindow() { delete toolBar_.data(); }
