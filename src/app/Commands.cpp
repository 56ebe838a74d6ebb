#include "app/Commands.h"

#include <QHash>

namespace {
QHash<int, Commands::Handler>& handlers() {
  static QHash<int, Commands::Handler> h;
  return h;
}
}  // namespace

namespace Commands {
void add(int tag, Handler handler) { handlers().insert(tag, std::move(handler)); }
bool has(int tag) { return handlers().contains(tag); }
bool run(int tag) {
  auto it = handlers().find(tag);
  if (it == handlers().end()) return false;
  it.value()();
  return true;
}
void clear() { handlers().clear(); }
}  // namespace Commands
