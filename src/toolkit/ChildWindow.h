#pragma once
#include <QPointer>
#include <QStyle>
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
  // Builds the window's own toolbar button by button: each button's action
  // and its tool button carry the given object name.
  QToolBar* createOwnToolBar(const QString& title, const QString& objectName);
  QAction* addTool(const char* objectName, const QString& text, QStyle::StandardPixmap icon);

 private:
  QPointer<QToolBar> toolBar_;
};
