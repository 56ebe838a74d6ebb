#include <QMdiArea>

#include "app/Commands.h"
#include "common/MyFun.h"
#include "payroll/Gzgs.h"
#include "payroll/Gzxm.h"

void registerItemCommands() {
  Commands::add(1509, [] {
    TfrmGzxm dlg(MyFun::mdiArea() ? MyFun::mdiArea()->window() : nullptr);
    dlg.exec();
  });
  Commands::add(1511, [] { MyFun::openChild<TfrmGzgs>(2); });
}
