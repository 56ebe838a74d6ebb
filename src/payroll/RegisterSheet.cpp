#include <QMdiArea>

#include "app/Commands.h"
#include "common/MyFun.h"
#include "payroll/GzData.h"
#include "payroll/JzNext.h"

namespace {
// Every use opens a new salary window, so several months can be open at once.
void openSheet(int mode, const QString& caption) {
  auto* w = new TfrmGzData;
  w->setMode(mode);
  w->setWindowTitle(caption);
  w->setWindowState(Qt::WindowMaximized);
  MyFun::showChild(w);
}
}  // namespace

void registerSheetCommands() {
  Commands::add(1003, [] { openSheet(0, QStringLiteral("工资数据录入")); });
  Commands::add(1301, [] { openSheet(1, QStringLiteral("打印工资条")); });
  Commands::add(1303, [] { openSheet(2, QStringLiteral("工资发放表")); });
  Commands::add(1005, [] {
    QMdiArea* area = MyFun::mdiArea();
    TfrmJzNext dialog(area ? area->window() : nullptr);
    dialog.exec();
  });
}
