#include "app/Commands.h"
#include "common/MyFun.h"
#include "payroll/GzSum.h"

void registerReportCommands() {
  Commands::add(1305, [] { MyFun::openChild<TfrmGzSum>(2); });
}
