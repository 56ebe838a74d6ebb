#include "app/MainDM.h"

#include "app/Login.h"
#include "common/MyFun.h"
#include "toolkit/MsgBox.h"

namespace {
TdmMain*& current() {
  static TdmMain* dm = nullptr;
  return dm;
}
}  // namespace

TdmMain::TdmMain() {
  setObjectName("dmMain");
  current() = this;
}

TdmMain::~TdmMain() {
  if (current() == this) current() = nullptr;
}

TdmMain* TdmMain::instance() {
  if (!current()) new TdmMain;
  return current();
}

TdmMain* dmMain() { return TdmMain::instance(); }
Connection& db() { return dmMain()->conZt; }

QString TdmMain::databasePath() { return MyFun::programDir() + "data/zt000.mdb"; }

bool TdmMain::connect() {
  conZt.close();
  try {
    conZt.open(databasePath(), false);
  } catch (const StoreError& e) {
    MsgBox::error(QStringLiteral("连接数据库库失败(") + e.message() + ")");
    return false;
  }
  return true;
}

bool TdmMain::start() {
  if (!connect()) return false;
  TfrmLogin login;
  if (login.exec() != QDialog::Accepted) return false;
  login.takeSession();
  return true;
}
