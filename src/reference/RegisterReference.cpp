#include "app/Commands.h"

void registerReferenceCommands() {}
