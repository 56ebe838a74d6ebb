#include "app/Commands.h"

void registerSheetCommands() {}
