#include "store/Store.h"

#include <sqlite3.h>

#include <QHash>
#include <QRegularExpression>
#include <QSet>

StoreError::StoreError(const QString& message) : std::runtime_error(message.toUtf8().constData()) {}

namespace {

[[noreturn]] void fail(sqlite3* db) {
  throw StoreError(db ? QString::fromUtf8(sqlite3_errmsg(db)) : QStringLiteral("database is not open"));
}

// year(dt) and month(dt) over dates stored as "yyyy-MM-dd" text.
void datePart(sqlite3_context* ctx, int argc, sqlite3_value** argv, int from, int len) {
  if (argc != 1 || sqlite3_value_type(argv[0]) == SQLITE_NULL) {
    sqlite3_result_null(ctx);
    return;
  }
  const char* text = reinterpret_cast<const char*>(sqlite3_value_text(argv[0]));
  QString s = QString::fromUtf8(text ? text : "");
  bool ok = false;
  int v = s.mid(from, len).toInt(&ok);
  if (ok)
    sqlite3_result_int(ctx, v);
  else
    sqlite3_result_null(ctx);
}
void sqlYear(sqlite3_context* c, int n, sqlite3_value** v) { datePart(c, n, v, 0, 4); }
void sqlMonth(sqlite3_context* c, int n, sqlite3_value** v) { datePart(c, n, v, 5, 2); }

FieldType typeFromDecl(const char* decl) {
  if (!decl) return FieldType::Unknown;
  QString d = QString::fromLatin1(decl).toLower();
  if (d.contains("int")) return FieldType::Integer;
  if (d.contains("float") || d.contains("real") || d.contains("double") || d.contains("num"))
    return FieldType::Float;
  if (d.contains("date") || d.contains("time")) return FieldType::Date;
  return FieldType::String;
}

const QSet<QString>& sqlKeywords() {
  static const QSet<QString> k = {"where", "left", "right", "inner", "outer", "join", "on", "order",
                                  "group", "having", "limit", "union", "cross", "natural", "as"};
  return k;
}

}  // namespace

// ---------------------------------------------------------------- Connection

Connection::~Connection() { close(); }

void Connection::open(const QString& path, bool create) {
  close();
  int flags = SQLITE_OPEN_READWRITE | (create ? SQLITE_OPEN_CREATE : 0);
  sqlite3* db = nullptr;
  int rc = sqlite3_open_v2(path.toUtf8().constData(), &db, flags, nullptr);
  if (rc != SQLITE_OK) {
    QString msg = db ? QString::fromUtf8(sqlite3_errmsg(db)) : QString::fromUtf8(sqlite3_errstr(rc));
    sqlite3_close(db);
    throw StoreError(msg);
  }
  sqlite3_extended_result_codes(db, 0);
  sqlite3_busy_timeout(db, 2000);
  // Reading the schema proves the file is a database at all.
  char* err = nullptr;
  rc = sqlite3_exec(db, "pragma foreign_keys=on; select count(*) from sqlite_master;", nullptr, nullptr, &err);
  if (rc != SQLITE_OK) {
    QString msg = QString::fromUtf8(err ? err : sqlite3_errmsg(db));
    sqlite3_free(err);
    sqlite3_close(db);
    throw StoreError(msg);
  }
  sqlite3_create_function(db, "year", 1, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr, sqlYear, nullptr, nullptr);
  sqlite3_create_function(db, "month", 1, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr, sqlMonth, nullptr, nullptr);
  db_ = db;
  path_ = path;
  inTransaction_ = false;
}

void Connection::close() {
  if (db_) {
    sqlite3_close_v2(db_);
    db_ = nullptr;
  }
  inTransaction_ = false;
}

void Connection::begin() {
  if (inTransaction_) throw StoreError("a transaction is already active");
  execScript("begin immediate");
  inTransaction_ = true;
}

void Connection::commit() {
  if (!inTransaction_) throw StoreError("no transaction is active");
  execScript("commit");
  inTransaction_ = false;
}

void Connection::rollback() {
  if (!inTransaction_) return;
  inTransaction_ = false;
  execScript("rollback");
}

void Connection::execScript(const QString& sql) {
  if (!db_) fail(nullptr);
  char* err = nullptr;
  if (sqlite3_exec(db_, sql.toUtf8().constData(), nullptr, nullptr, &err) != SQLITE_OK) {
    QString msg = QString::fromUtf8(err ? err : sqlite3_errmsg(db_));
    sqlite3_free(err);
    throw StoreError(msg);
  }
}

// ---------------------------------------------------------------- FieldValue

QString FieldValue::asString() const {
  if (isNull()) return QString();
  if (v_.typeId() == QMetaType::Double) {
    double d = v_.toDouble();
    return QString::number(d, 'g', 15);
  }
  return v_.toString();
}

qint64 FieldValue::asInteger() const {
  if (isNull()) return 0;
  switch (v_.typeId()) {
    case QMetaType::LongLong:
    case QMetaType::Int:
      return v_.toLongLong();
    case QMetaType::Double:
      return qRound64(v_.toDouble());
    default: {
      bool ok = false;
      QString s = v_.toString().trimmed();
      if (s.isEmpty()) return 0;
      qint64 n = s.toLongLong(&ok);
      if (!ok) throw StoreError(QStringLiteral("'%1' is not a valid integer value").arg(s));
      return n;
    }
  }
}

double FieldValue::asFloat() const {
  if (isNull()) return 0;
  switch (v_.typeId()) {
    case QMetaType::LongLong:
    case QMetaType::Int:
    case QMetaType::Double:
      return v_.toDouble();
    default: {
      QString s = v_.toString().trimmed();
      if (s.isEmpty()) return 0;
      bool ok = false;
      double d = s.toDouble(&ok);
      if (!ok) throw StoreError(QStringLiteral("'%1' is not a valid floating point value").arg(s));
      return d;
    }
  }
}

QDate FieldValue::asDate() const {
  if (isNull()) return QDate();
  if (v_.typeId() == QMetaType::QDate) return v_.toDate();
  return QDate::fromString(v_.toString().left(10), "yyyy-MM-dd");
}

// ---------------------------------------------------------------- Query

struct Query::Prepared {
  sqlite3_stmt* stmt = nullptr;
  sqlite3* db = nullptr;
  QStringList names;  // of the parameters, by position
  ~Prepared() { sqlite3_finalize(stmt); }

  void prepare(Query& q) {
    compile(q);
    bindAll(q);
  }

  void compile(Query& q) {
    if (!q.conn_ || !q.conn_->isOpen()) throw StoreError("database is not open");
    db = q.conn_->handle();
    QByteArray text = q.sql_.toUtf8();
    const char* tail = nullptr;
    if (sqlite3_prepare_v2(db, text.constData(), text.size(), &stmt, &tail) != SQLITE_OK) fail(db);
    if (!stmt) throw StoreError("empty statement");
    int n = sqlite3_bind_parameter_count(stmt);
    for (int i = 1; i <= n; ++i) {
      const char* raw = sqlite3_bind_parameter_name(stmt, i);
      names << (raw ? QString::fromUtf8(raw + 1) : QString());
    }
  }

  void bindAll(Query& q) {
    for (int i = 1; i <= names.size(); ++i) {
      const QString& name = names[i - 1];
      const QVariant* value = nullptr;
      if (i <= q.params_.size() && q.params_[i - 1].first.compare(name, Qt::CaseInsensitive) == 0)
        value = &q.params_[i - 1].second;
      else
        for (const auto& p : q.params_)
          if (p.first.compare(name, Qt::CaseInsensitive) == 0) value = &p.second;
      if (!value) throw StoreError(QStringLiteral("parameter :%1 has no value").arg(name));
      bindOne(db, i, *value);
    }
  }

  void bindOne(sqlite3* db, int i, const QVariant& v) {
    int rc;
    if (v.isNull() || !v.isValid()) {
      rc = sqlite3_bind_null(stmt, i);
    } else {
      switch (v.typeId()) {
        case QMetaType::Int:
        case QMetaType::LongLong:
        case QMetaType::UInt:
        case QMetaType::ULongLong:
        case QMetaType::Bool:
          rc = sqlite3_bind_int64(stmt, i, v.toLongLong());
          break;
        case QMetaType::Double:
        case QMetaType::Float:
          rc = sqlite3_bind_double(stmt, i, v.toDouble());
          break;
        case QMetaType::QDate: {
          QByteArray s = v.toDate().toString("yyyy-MM-dd").toUtf8();
          rc = sqlite3_bind_text(stmt, i, s.constData(), s.size(), SQLITE_TRANSIENT);
          break;
        }
        default: {
          QByteArray s = v.toString().toUtf8();
          rc = sqlite3_bind_text(stmt, i, s.constData(), s.size(), SQLITE_TRANSIENT);
        }
      }
    }
    if (rc != SQLITE_OK) fail(db);
  }
};

void Query::setSql(const QString& sql) {
  close();
  sql_ = sql;
  params_.clear();
  bindHint_ = 0;
}

Query& Query::bind(const QString& name, const QVariant& value) {
  QString n = name.startsWith(':') ? name.mid(1) : name;
  // Repeated runs bind in the same order: look after the last match first.
  const int count = params_.size();
  for (int k = 0; k < count; ++k) {
    int i = (bindHint_ + k) % count;
    if (params_[i].first.compare(n, Qt::CaseInsensitive) == 0) {
      params_[i].second = value;
      bindHint_ = i + 1;
      return *this;
    }
  }
  params_.append({n, value});
  return *this;
}

void Query::open() {
  close();
  Prepared p;
  p.prepare(*this);
  sqlite3* db = conn_->handle();
  int cols = sqlite3_column_count(p.stmt);
  QStringList bare, tables;
  for (int c = 0; c < cols; ++c) {
    bare << QString::fromUtf8(sqlite3_column_name(p.stmt, c));
    const char* t = sqlite3_column_table_name(p.stmt, c);
    tables << QString::fromUtf8(t ? t : "");
    types_ << typeFromDecl(sqlite3_column_decltype(p.stmt, c));
  }
  names_ = resultColumnNames(sql_, bare, tables);
  int rc;
  while ((rc = sqlite3_step(p.stmt)) == SQLITE_ROW) {
    QVector<QVariant> row(cols);
    for (int c = 0; c < cols; ++c) {
      switch (sqlite3_column_type(p.stmt, c)) {
        case SQLITE_INTEGER:
          row[c] = QVariant(qint64(sqlite3_column_int64(p.stmt, c)));
          break;
        case SQLITE_FLOAT:
          row[c] = QVariant(sqlite3_column_double(p.stmt, c));
          break;
        case SQLITE_TEXT:
          row[c] = QVariant(QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(p.stmt, c)),
                                              sqlite3_column_bytes(p.stmt, c)));
          break;
        case SQLITE_BLOB:
          row[c] = QVariant(QByteArray(static_cast<const char*>(sqlite3_column_blob(p.stmt, c)),
                                       sqlite3_column_bytes(p.stmt, c)));
          break;
        default:
          break;
      }
    }
    rows_.append(std::move(row));
  }
  if (rc != SQLITE_DONE) {
    QString msg = QString::fromUtf8(sqlite3_errmsg(db));
    close();
    throw StoreError(msg);
  }
  active_ = true;
  pos_ = 0;
}

int Query::exec() {
  clearResult();
  if (!conn_ || !conn_->isOpen()) throw StoreError("database is not open");
  if (!compiled_ || compiled_->db != conn_->handle()) {
    compiled_.reset();
    auto p = std::make_shared<Prepared>();
    p->compile(*this);
    compiled_ = p;
  }
  Prepared& p = *compiled_;
  sqlite3_clear_bindings(p.stmt);
  p.bindAll(*this);
  sqlite3* db = conn_->handle();
  int rc;
  while ((rc = sqlite3_step(p.stmt)) == SQLITE_ROW) {
  }
  if (rc != SQLITE_DONE) {
    QString msg = QString::fromUtf8(sqlite3_errmsg(db));
    sqlite3_reset(p.stmt);
    throw StoreError(msg);
  }
  sqlite3_reset(p.stmt);
  return sqlite3_changes(db);
}

void Query::close() {
  clearResult();
  compiled_.reset();
}

void Query::clearResult() {
  names_.clear();
  types_.clear();
  rows_.clear();
  pos_ = 0;
  active_ = false;
}

int Query::fieldIndex(const QString& name) const {
  for (int i = 0; i < names_.size(); ++i)
    if (names_[i].compare(name, Qt::CaseInsensitive) == 0) return i;
  return -1;
}

FieldValue Query::field(const QString& name) const {
  int i = fieldIndex(name);
  if (i < 0) throw StoreError(QStringLiteral("field '%1' not found").arg(name));
  return field(i);
}

FieldValue Query::field(int index) const {
  if (pos_ < 0 || pos_ >= rows_.size()) throw StoreError("no current row");
  if (index < 0 || index >= names_.size()) throw StoreError("field index out of range");
  return FieldValue(rows_[pos_][index]);
}

// ---------------------------------------------------------------- column names

namespace {
// table name -> alias, read from the from-clause of a statement
QHash<QString, QString> aliasesOf(const QString& sql) {
  QHash<QString, QString> map;
  static const QRegularExpression tokenRe(R"([A-Za-z_][A-Za-z0-9_]*|[(),])");
  QStringList tokens;
  auto it = tokenRe.globalMatch(sql);
  while (it.hasNext()) tokens << it.next().captured(0);
  bool inFrom = false;
  int depth = 0;
  for (int i = 0; i < tokens.size(); ++i) {
    QString low = tokens[i].toLower();
    if (low == "(") ++depth;
    if (low == ")") --depth;
    if (low == "from" || low == "join") {
      inFrom = true;
    } else if (inFrom && (low == "where" || low == "order" || low == "group" || low == "on" ||
                          low == "having" || low == "limit")) {
      inFrom = false;
    }
    bool tableStart = (low == "from" || low == "join" || (inFrom && low == ","));
    if (!tableStart || i + 1 >= tokens.size()) continue;
    QString table = tokens[i + 1];
    if (table == "(") continue;
    int j = i + 2;
    if (j < tokens.size() && tokens[j].toLower() == "as") ++j;
    QString alias;
    if (j < tokens.size() && !sqlKeywords().contains(tokens[j].toLower()) && tokens[j] != "," &&
        tokens[j] != "(" && tokens[j] != ")")
      alias = tokens[j];
    map.insert(table.toLower(), alias.isEmpty() ? table : alias);
  }
  return map;
}
}  // namespace

QStringList resultColumnNames(const QString& sql, const QStringList& bareNames,
                              const QStringList& originTables) {
  QHash<QString, int> count;
  for (const QString& n : bareNames) ++count[n.toLower()];
  QStringList out;
  QHash<QString, QString> aliases;
  bool parsed = false;
  for (int i = 0; i < bareNames.size(); ++i) {
    const QString& n = bareNames[i];
    if (count.value(n.toLower()) > 1 && !originTables.value(i).isEmpty()) {
      if (!parsed) {
        aliases = aliasesOf(sql);
        parsed = true;
      }
      QString table = originTables[i];
      out << aliases.value(table.toLower(), table) + "." + n;
    } else {
      out << n;
    }
  }
  return out;
}
