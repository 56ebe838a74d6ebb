#include "app/Commands.h"
#include "common/MyFun.h"
#include "maintenance/Backup.h"
#include "maintenance/Init.h"
#include "maintenance/Restore.h"

namespace {
// Backup and restore are centred on the main window; initialisation on the
// screen.
QWidget* mainWindow() { return MyFun::mdiArea() ? MyFun::mdiArea()->window() : nullptr; }
}  // namespace

void registerMaintenanceCommands() {
  Commands::add(1901, [] {
    TfrmInit dlg;
    dlg.exec();
  });
  Commands::add(1903, [] {
    TfrmBackup dlg(mainWindow());
    dlg.exec();
  });
  Commands::add(1905, [] {
    TfrmRestore dlg(mainWindow());
    dlg.exec();
  });
}
