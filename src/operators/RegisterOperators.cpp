#include "app/Commands.h"

void registerOperatorCommands() {}
