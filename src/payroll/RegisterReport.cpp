#include "app/Commands.h"

void registerReportCommands() {}
