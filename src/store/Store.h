#pragma once
#include <QDate>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVector>
#include <memory>
#include <stdexcept>
#include <utility>

struct sqlite3;

// A statement the store refused; what() carries the store's own message.
class StoreError : public std::runtime_error {
 public:
  explicit StoreError(const QString& message);
  QString message() const { return QString::fromUtf8(what()); }
};

// Kind of a result column, from its declared type in the table.
enum class FieldType { String, Integer, Float, Date, Unknown };

// One connection to an SQLite database file. Foreign keys are enforced and
// the functions year() and month() are available on every connection.
class Connection {
 public:
  Connection() = default;
  ~Connection();
  Connection(const Connection&) = delete;
  Connection& operator=(const Connection&) = delete;

  // Opens read-write; the file must exist unless create is true.
  void open(const QString& path, bool create = false);
  void close();
  bool isOpen() const { return db_ != nullptr; }
  QString path() const { return path_; }
  sqlite3* handle() const { return db_; }

  // Transactions are not nested: begin() inside a transaction is an error.
  void begin();
  void commit();
  void rollback();
  bool inTransaction() const { return inTransaction_; }

  // Runs one or more statements without parameters (schema scripts).
  void execScript(const QString& sql);

 private:
  sqlite3* db_ = nullptr;
  QString path_;
  bool inTransaction_ = false;
};

// Rolls back on destruction unless commit() was called, so that an error
// thrown part-way through a save leaves the stored data as it was.
class Transaction {
 public:
  explicit Transaction(Connection& c) : c_(c) { c_.begin(); }
  ~Transaction() {
    if (!done_) {
      try {
        c_.rollback();
      } catch (...) {
      }
    }
  }
  void commit() {
    c_.commit();
    done_ = true;
  }

 private:
  Connection& c_;
  bool done_ = false;
};

// A value read from a result column. NULL reads as empty text or 0.
class FieldValue {
 public:
  explicit FieldValue(QVariant v = {}) : v_(std::move(v)) {}
  bool isNull() const { return v_.isNull() || !v_.isValid(); }
  QVariant value() const { return v_; }
  QString asString() const;
  qint64 asInteger() const;
  double asFloat() const;
  QDate asDate() const;

 private:
  QVariant v_;
};

// A statement with named parameters (":name") and, after open(), its whole
// result held in memory so it can be walked, counted and re-read.
class Query {
 public:
  explicit Query(Connection* connection = nullptr) : conn_(connection) {}
  void setConnection(Connection* c) {
    if (c != conn_) compiled_.reset();
    conn_ = c;
  }
  Connection* connection() const { return conn_; }

  // Setting a new text closes the query and forgets earlier parameters.
  void setSql(const QString& sql);
  QString sql() const { return sql_; }
  // Binds a value to ":name"; a null QVariant binds NULL. QDate binds "yyyy-MM-dd".
  Query& bind(const QString& name, const QVariant& value);

  void open();          // runs a statement with a result
  void open(const QString& sql) { setSql(sql); open(); }
  // Runs a statement without a result; returns the rows changed. Running it
  // again before setSql or close reuses its compiled form, binding anew.
  int exec();
  int exec(const QString& sql) { setSql(sql); return exec(); }
  void close();

  bool isActive() const { return active_; }
  bool isEmpty() const { return rows_.isEmpty(); }
  int recordCount() const { return rows_.size(); }
  int fieldCount() const { return names_.size(); }
  QStringList fieldNames() const { return names_; }
  QString fieldName(int i) const { return names_.value(i); }
  FieldType fieldType(int i) const { return types_.value(i, FieldType::Unknown); }
  int fieldIndex(const QString& name) const;  // -1 when absent (case-insensitive)

  void first() { pos_ = 0; }
  void next() { ++pos_; }
  bool eof() const { return pos_ >= rows_.size(); }
  int recNo() const { return pos_; }
  void moveTo(int row) { pos_ = row; }

  FieldValue field(const QString& name) const;  // throws StoreError for an unknown column
  FieldValue field(int index) const;
  QString str(const QString& name) const { return field(name).asString(); }
  double num(const QString& name) const { return field(name).asFloat(); }
  qint64 integer(const QString& name) const { return field(name).asInteger(); }

  const QVector<QVector<QVariant>>& rows() const { return rows_; }

 private:
  struct Prepared;
  void clearResult();
  Connection* conn_;
  QString sql_;
  QVector<std::pair<QString, QVariant>> params_;
  int bindHint_ = 0;
  QStringList names_;
  QVector<FieldType> types_;
  QVector<QVector<QVariant>> rows_;
  int pos_ = 0;
  bool active_ = false;
  std::shared_ptr<Prepared> compiled_;  // of exec(), until setSql or close
  friend struct Prepared;
};

// Result column names as the windows read them: a bare name where it occurs
// once, alias + "." + name where the same name comes from several tables of
// a join. Exposed for tests.
QStringList resultColumnNames(const QString& sql, const QStringList& bareNames,
                              const QStringList& originTables);
