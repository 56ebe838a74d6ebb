#pragma once
#include <QApplication>

// The program's application object: Chinese translations of Qt's own
// dialogs, the "宋体" face (or the installed Song-style face standing in for
// it), and a general error box for errors no window handled.
class Application : public QApplication {
  Q_OBJECT
 public:
  Application(int& argc, char** argv);
  bool notify(QObject* receiver, QEvent* event) override;

  static void setUpLook();
};

// The family that stands for "宋体" on this machine.
QString songFamily();

