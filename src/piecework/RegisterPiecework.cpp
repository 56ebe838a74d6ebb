#include "app/Commands.h"
#include "common/MyFun.h"
#include "piecework/JjData.h"
#include "piecework/JjDataSel.h"

// "计件数据录入": the kept filter, then a new list window for every confirmed
// choice.
void registerPieceworkCommands() {
  Commands::add(1001, [] {
    TfrmJjDataSel* sel = TfrmJjDataSel::shared();
    if (sel->exec() != QDialog::Accepted) return;
    auto* list = new TfrmJjData;
    list->setTitle(QStringLiteral("数据月份：") + sel->filter().monthTitle);
    list->run(sel->filter());
    MyFun::showChild(list);
  });
}
