#pragma once
#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVector>
#include <exception>
#include <functional>

#include "store/Store.h"

// Raised when a move or post was refused by beforePost, which has already
// told the user why; the general error box stays silent for it.
class Abort : public std::exception {
 public:
  const char* what() const noexcept override { return "operation aborted"; }
};

struct FieldDef {
  QString name;
  FieldType type = FieldType::String;
  int size = 0;
};

// An editable set of rows addressed by field name, with browse, edit and
// insert states. Either an in-memory table (define fields, createTable) or
// the rows of a query over one table whose posts and deletes are written to
// that table at once (setTable, open).
//
// Moving to another row while editing posts first. beforePost may refuse a
// post (it shows its own message and returns false); onNewRecord fills a
// freshly appended row; onFieldChange follows every value set.
class DataSet : public QObject {
  Q_OBJECT
 public:
  enum State { Inactive, Browse, Edit, Insert };

  explicit DataSet(QObject* parent = nullptr);

  // -- in-memory table
  void clearFields();
  void addField(const QString& name, FieldType type, int size = 0);
  void createTable();  // active and empty
  void emptyTable();   // removes every row, keeps the fields
  // Copies a query's columns and rows; the set is in-memory afterwards.
  void loadFrom(const Query& query);
  // Replaces every row of an in-memory table at once, each row's values in
  // field order and already of the fields' types; for copies of large results.
  void setRows(QVector<QVector<QVariant>> rows);

  // -- rows of one table
  void setConnection(Connection* connection) { conn_ = connection; }
  void setTable(const QString& table, const QStringList& keyFields);
  QString table() const { return table_; }
  void setSql(const QString& sql);
  DataSet& bind(const QString& name, const QVariant& value);
  void open();     // runs the statement; throws StoreError
  void refresh();  // runs it again, keeping the current row number where possible
  void close();

  bool isActive() const { return state_ != Inactive; }
  State state() const { return state_; }
  bool isEditing() const { return state_ == Edit || state_ == Insert; }
  // A value was set by the user (not by onNewRecord) since edit or append.
  bool modified() const { return modified_; }

  int recordCount() const { return rows_.size(); }
  bool isEmpty() const { return rows_.isEmpty(); }
  int recNo() const { return cur_; }  // -1 when empty
  bool eof() const { return eof_; }
  bool bof() const { return bof_; }
  void first();
  void last();
  void next();
  void prior();
  void moveTo(int row);  // posts a pending edit first; throws when it is refused

  int fieldCount() const { return fields_.size(); }
  const FieldDef& fieldDef(int i) const { return fields_[i]; }
  int fieldIndex(const QString& name) const;  // -1 when absent, case-insensitive
  QStringList fieldNames() const;

  QVariant value(const QString& field) const;
  FieldValue field(const QString& name) const { return FieldValue(value(name)); }
  QString str(const QString& name) const { return field(name).asString(); }
  double num(const QString& name) const { return field(name).asFloat(); }
  QVariant oldValue(const QString& field) const;
  QVariant valueAt(int row, int column) const;
  // Puts the set in edit state when it browses; converts to the field's type
  // (empty text is NULL); throws ConvertError for text that is not a number.
  void setValue(const QString& field, const QVariant& value);
  // The same by field index, for loops over many rows and fields.
  void setValueAt(int field, const QVariant& value);

  void append();
  void edit();
  // false when beforePost refused; throws StoreError when the store refused
  // (the row stays in its edit state).
  bool post();
  void cancel();
  void remove();  // deletes the current row (from the table too)
  bool locate(const QString& field, const QVariant& value);

  // While disabled, views are not told of each change; enabling resets them.
  void disableControls();
  void enableControls();
  bool controlsDisabled() const { return disabled_ > 0; }

  std::function<bool(DataSet&)> beforePost;
  std::function<void(DataSet&)> onNewRecord;
  std::function<void(DataSet&, const QString& field)> onFieldChange;
  std::function<void(DataSet&)> afterScroll;

 signals:
  void reset();               // rows replaced or fields changed
  void rowChanged(int row);   // values of a row changed
  void rowInserted(int row);
  void rowRemoved(int row);
  void currentChanged(int row);
  void stateChanged();

 private:
  QVariant convert(int field, const QVariant& v) const;
  void writeInsert(const QVector<QVariant>& row);
  void writeUpdate(const QVector<QVariant>& row, const QVector<QVariant>& old);
  void writeDelete(const QVector<QVariant>& row);
  QString keyWhere() const;
  void bindKeys(Query& q, const QVector<QVariant>& row) const;
  void setCurrent(int row);
  void setState(State s);

  Connection* conn_ = nullptr;
  QString table_;
  QStringList keys_;
  QString sql_;
  QVector<std::pair<QString, QVariant>> params_;

  QVector<FieldDef> fields_;
  QVector<QVector<QVariant>> rows_;
  QVector<QVariant> old_;
  int cur_ = -1;
  bool eof_ = true, bof_ = true;
  State state_ = Inactive;
  bool modified_ = false;
  bool inNewRecord_ = false;
  int disabled_ = 0;
};
