#pragma once
#include <QList>
#include <QMainWindow>
#include <QPixmap>
#include <QPointer>

class QAction;
class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QTimer;
class QToolBar;

// The main window: the multiple-document frame of the program. Its menus
// and toolbar hold every command; each item carries its permission id as the
// property "Tag" (0: never gated).
class TfrmMain : public QMainWindow {
  Q_OBJECT
 public:
  explicit TfrmMain(QWidget* parent = nullptr);
  ~TfrmMain() override;

  QMdiArea* mdiArea() const { return mdi_; }
  QToolBar* toolBar() const { return ToolBar1; }

  static int tagOf(const QAction* action);
  // Every menu item (the top-level menus' own entries included) and every
  // toolbar button with that Tag.
  QList<QAction*> actionsWithTag(int tag) const;
  QAction* menuItem(int tag) const;    // nullptr when no menu item has it
  QAction* toolButton(int tag) const;  // nullptr when no button has it
  QList<QMenu*> topMenus() const { return topMenus_; }
  QPixmap backgroundPicture() const { return picture_; }
  QString statusText(int panel) const;  // panels 0, 1 and 2

  // Hides separators at the top, doubled or at the bottom, and the menu
  // itself when no command in it is visible; a menu whose Tag is 1 is left.
  static void tidyMenu(QMenu* menu);

  // The steps a re-login confirms after waiting; 2 seconds unless tests shorten it.
  void setReloginDelay(int ms) { reloginDelayMs_ = ms; }

 public slots:
  void relogin();
  void runCommand(int tag);

 protected:
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QAction* addItem(QMenu* menu, const QString& name, const QString& caption, int tag);
  QAction* addButton(const QString& name, const QString& caption, int tag, const QString& picture = QString());
  void buildMenus();
  void buildToolBar();
  void buildStatusBar();

  void setUpFromSession();
  void loadPicture();
  void placePicture();
  void showStatus();
  void gate();
  void hideSwitchedOff();

  void showManual();
  void fillWindowList();
  void childActivated(QMdiSubWindow* sub);

  QMdiArea* mdi_;
  QToolBar* ToolBar1 = nullptr;
  QList<QMenu*> topMenus_;
  QMenu* mnuDaily_ = nullptr;
  QMenu* mnuReport_ = nullptr;
  QMenu* mnuSetup_ = nullptr;
  QMenu* mnuOperator_ = nullptr;
  QMenu* mnuMaint_ = nullptr;
  QMenu* mnuHelp_ = nullptr;
  QAction* windowListSeparator_ = nullptr;
  QList<QAction*> windowListItems_;
  QLabel* panels_[3] = {};
  QPixmap picture_;
  QList<QPointer<QToolBar>> childBars_;
  QTimer* reloginTimer_;
  int reloginDelayMs_ = 2000;
};
