#include "app/Commands.h"
#include "operators/Operator.h"
#include "operators/OperatorPwd.h"
#include "operators/OperatorRole.h"

// The three operator dialogs are centred on the screen, so they have no
// parent window; exec() keeps them modal to the whole program.
void registerOperatorCommands() {
  Commands::add(1701, [] {
    TfrmOperator dlg;
    dlg.exec();
  });
  Commands::add(1703, [] {
    TfrmOperatorRole dlg;
    dlg.exec();
  });
  Commands::add(1705, [] {
    TfrmOperatorPwd dlg;
    dlg.exec();
  });
}
