#include "app/Commands.h"

void registerMaintenanceCommands() {}
