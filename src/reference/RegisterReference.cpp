#include "app/Commands.h"
#include "common/MyFun.h"
#include "reference/Depart.h"
#include "reference/Jjgx.h"
#include "reference/Jjgz.h"
#include "reference/Jjxs.h"
#include "reference/Worker.h"
#include "reference/WorkerType.h"

// The code tables come back in normal size, the list windows maximised.
void registerReferenceCommands() {
  Commands::add(1503, [] { MyFun::openChild<TfrmJjgz>(1); });
  Commands::add(1505, [] { MyFun::openChild<TfrmJjgx>(2); });
  Commands::add(1507, [] { MyFun::openChild<TfrmJjxs>(1); });
  Commands::add(1512, [] { MyFun::openChild<TfrmDepart>(1); });
  Commands::add(1513, [] { MyFun::openChild<TfrmWorkerType>(1); });
  Commands::add(1515, [] { MyFun::openChild<TfrmWorker>(2); });
}
