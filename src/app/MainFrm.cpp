#include "app/MainFrm.h"

#include <QMdiArea>

#include "common/MyFun.h"

TfrmMain::TfrmMain(QWidget* parent) : QMainWindow(parent), mdi_(new QMdiArea(this)) {
  setObjectName("TfrmMain");
  setWindowTitle(QStringLiteral("青禾工资管理系统【V2010】(build20100721)"));
  setCentralWidget(mdi_);
  MyFun::setMdiArea(mdi_);
}
