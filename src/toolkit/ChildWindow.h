#pragma once
#include <QPointer>
#include <QToolBar>
#include <QWidget>

// A child window of the main window's document area. A list window that has
// a toolbar of its own declares it here; the main window shows it in its tool
// area while the window is the active child and hides it otherwise.
class TChildWindow : public QWidget {
  Q_OBJECT
 public:
  explicit TChildWindow(QWidget* parent = nullptr);
  ~TChildWindow() override;
  QToolBar* ownToolBar() const { return toolBar_; }
  bool maximiseWhenActive() const { return toolBar_ != nullptr; }

 protected:
  void setOwnToolBar(QToolBar* bar);

 private:
  QPointer<QToolBar> toolBar_;
};
