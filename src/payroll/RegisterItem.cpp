#include "app/Commands.h"

void registerItemCommands() {}
