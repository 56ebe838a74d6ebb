#include "app/Commands.h"

void registerPieceworkCommands() {}
