#pragma once
#include <QDate>
#include <QString>

// The logged-in operator and the business date, set by the login and the
// re-login, read by everybody else.
namespace Session {
QString operNo();
QString operName();
QString bizDate();   // "yyyy-MM-dd", a working date chosen at login
QDate bizQDate();
bool isAdmin();      // the operator named "admin" in any letter case
void set(const QString& operNo, const QString& operName, const QString& bizDate);
}  // namespace Session
