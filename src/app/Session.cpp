#include "app/Session.h"

namespace {
struct Values {
  QString no, name, date;
};
Values& values() {
  static Values v;
  return v;
}
}  // namespace

namespace Session {
QString operNo() { return values().no; }
QString operName() { return values().name; }
QString bizDate() { return values().date; }
QDate bizQDate() { return QDate::fromString(values().date, "yyyy-MM-dd"); }
bool isAdmin() { return values().name.toLower() == QLatin1String("admin"); }
void set(const QString& no, const QString& name, const QString& date) { values() = {no, name, date}; }
}  // namespace Session
