#pragma once
#include <QString>
#include <functional>

// The main window's commands, keyed by their permission id (the Tag of the
// menu item and of the toolbar button). Each subsystem registers the commands
// whose windows it owns; a command that nobody registered opens nothing.
namespace Commands {
using Handler = std::function<void()>;
void add(int tag, Handler handler);
bool has(int tag);
bool run(int tag);  // false when no handler is registered
void clear();
}  // namespace Commands

// One registration function per subsystem, called once by the main window.
void registerReferenceCommands();
void registerPieceworkCommands();
void registerPayrollCommands();
void registerOperatorCommands();
void registerMaintenanceCommands();
