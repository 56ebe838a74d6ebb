#include "app/Commands.h"
#include "common/MyFun.h"
#include "reference/Depart.h"
#include "reference/Jjgz.h"
#include "reference/Jjxs.h"
#include "reference/WorkerType.h"

// The code tables open in normal size, the list windows maximised; a repeated
// command brings the open window back.
void registerReferenceCommands() {
  Commands::add(1503, [] { MyFun::openChild<TfrmJjgz>(1); });
  Commands::add(1507, [] { MyFun::openChild<TfrmJjxs>(1); });
  Commands::add(1512, [] { MyFun::openChild<TfrmDepart>(1); });
  Commands::add(1513, [] { MyFun::openChild<TfrmWorkerType>(1); });
}
