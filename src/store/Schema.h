#pragma once
#include <QString>

class Connection;

namespace Schema {
// Every table, key, reference and index of the program's database.
void create(Connection& db);
// The rows the program needs before its first start: the administrator with
// an empty password, one permission row per command, the parameters.
void seed(Connection& db);
// Creates a new database file with the schema and the shipped rows.
void createDatabase(const QString& path);
// The program's tables, for checking that a file is one of our databases.
const QStringList& tableNames();
}  // namespace Schema
