#include "toolkit/DataSet.h"

#include "common/MyFun.h"

DataSet::DataSet(QObject* parent) : QObject(parent) {}

// ---------------------------------------------------------------- definition

void DataSet::clearFields() {
  close();
  fields_.clear();
}

void DataSet::addField(const QString& name, FieldType type, int size) { fields_.append({name, type, size}); }

void DataSet::createTable() {
  rows_.clear();
  cur_ = -1;
  eof_ = bof_ = true;
  modified_ = false;
  setState(Browse);
  if (!disabled_) emit reset();
}

void DataSet::emptyTable() {
  if (!isActive()) {
    createTable();
    return;
  }
  rows_.clear();
  cur_ = -1;
  eof_ = bof_ = true;
  modified_ = false;
  setState(Browse);
  if (!disabled_) emit reset();
}

void DataSet::loadFrom(const Query& query) {
  fields_.clear();
  for (int i = 0; i < query.fieldCount(); ++i) fields_.append({query.fieldName(i), query.fieldType(i), 0});
  rows_ = query.rows();
  cur_ = rows_.isEmpty() ? -1 : 0;
  eof_ = bof_ = true;
  eof_ = rows_.isEmpty();
  modified_ = false;
  setState(Browse);
  if (!disabled_) {
    emit reset();
    emit currentChanged(cur_);
  }
}

void DataSet::setRows(QVector<QVector<QVariant>> rows) {
  rows_ = std::move(rows);
  for (auto& row : rows_) row.resize(fields_.size());
  cur_ = rows_.isEmpty() ? -1 : 0;
  bof_ = true;
  eof_ = rows_.isEmpty();
  modified_ = false;
  setState(Browse);
  if (!disabled_) {
    emit reset();
    emit currentChanged(cur_);
  }
}

void DataSet::setTable(const QString& table, const QStringList& keyFields) {
  table_ = table;
  keys_ = keyFields;
}

void DataSet::setSql(const QString& sql) {
  sql_ = sql;
  params_.clear();
}

DataSet& DataSet::bind(const QString& name, const QVariant& value) {
  for (auto& p : params_)
    if (p.first == name) {
      p.second = value;
      return *this;
    }
  params_.append({name, value});
  return *this;
}

void DataSet::open() {
  Query q(conn_);
  q.setSql(sql_);
  for (const auto& p : params_) q.bind(p.first, p.second);
  q.open();
  loadFrom(q);
}

void DataSet::refresh() {
  int row = cur_;
  open();
  if (!rows_.isEmpty()) setCurrent(qBound(0, row, rows_.size() - 1));
}

void DataSet::close() {
  rows_.clear();
  old_.clear();
  cur_ = -1;
  eof_ = bof_ = true;
  modified_ = false;
  setState(Inactive);
  if (!disabled_) emit reset();
}

// ---------------------------------------------------------------- navigation

void DataSet::setCurrent(int row) {
  if (row == cur_) return;
  cur_ = row;
  if (!disabled_) emit currentChanged(cur_);
  if (afterScroll && !disabled_) afterScroll(*this);
}

void DataSet::moveTo(int row) {
  if (rows_.isEmpty()) return;
  row = qBound(0, row, rows_.size() - 1);
  if (row != cur_ && isEditing()) {
    // a row left untouched after append or edit is dropped, not written
    if (modified_) {
      if (!post()) throw Abort();
    } else {
      int before = rows_.size();
      cancel();
      if (rows_.size() < before && row >= rows_.size()) row = rows_.size() - 1;
      if (row < 0) return;
    }
  }
  setCurrent(row);
}

void DataSet::first() {
  moveTo(0);
  bof_ = true;
  eof_ = rows_.isEmpty();
}

void DataSet::last() {
  moveTo(rows_.size() - 1);
  eof_ = true;
  bof_ = rows_.isEmpty();
}

void DataSet::next() {
  if (cur_ + 1 < rows_.size()) {
    moveTo(cur_ + 1);
    eof_ = false;
  } else {
    eof_ = true;
  }
  bof_ = false;
}

void DataSet::prior() {
  if (cur_ > 0) {
    moveTo(cur_ - 1);
    bof_ = false;
  } else {
    bof_ = true;
  }
  eof_ = false;
}

// ---------------------------------------------------------------- values

int DataSet::fieldIndex(const QString& name) const {
  for (int i = 0; i < fields_.size(); ++i)
    if (fields_[i].name.compare(name, Qt::CaseInsensitive) == 0) return i;
  return -1;
}

QStringList DataSet::fieldNames() const {
  QStringList n;
  for (const FieldDef& f : fields_) n << f.name;
  return n;
}

QVariant DataSet::value(const QString& field) const {
  int f = fieldIndex(field);
  if (f < 0) throw StoreError(QStringLiteral("field '%1' not found").arg(field));
  if (cur_ < 0 || cur_ >= rows_.size()) return QVariant();
  return rows_[cur_][f];
}

QVariant DataSet::oldValue(const QString& field) const {
  int f = fieldIndex(field);
  if (f < 0) throw StoreError(QStringLiteral("field '%1' not found").arg(field));
  if (isEditing()) return old_.value(f);
  return value(field);
}

QVariant DataSet::valueAt(int row, int column) const {
  if (row < 0 || row >= rows_.size() || column < 0 || column >= fields_.size()) return QVariant();
  return rows_[row][column];
}

QVariant DataSet::convert(int f, const QVariant& v) const {
  if (v.isNull() || !v.isValid()) return QVariant();
  const FieldDef& def = fields_[f];
  bool isText = v.typeId() == QMetaType::QString;
  QString text = isText ? v.toString().trimmed() : QString();
  switch (def.type) {
    case FieldType::Float:
      if (isText) {
        if (text.isEmpty()) return QVariant();
        bool ok = false;
        double d = text.toDouble(&ok);
        if (!ok) throw ConvertError(QStringLiteral("'%1' is not a valid floating point value").arg(text));
        return d;
      }
      return v.toDouble();
    case FieldType::Integer:
      if (isText) {
        if (text.isEmpty()) return QVariant();
        bool ok = false;
        qint64 n = text.toLongLong(&ok);
        if (!ok) throw ConvertError(QStringLiteral("'%1' is not a valid integer value").arg(text));
        return n;
      }
      if (v.typeId() == QMetaType::Double) return qRound64(v.toDouble());
      return v.toLongLong();
    case FieldType::Date:
      if (v.typeId() == QMetaType::QDate) return v.toDate().toString("yyyy-MM-dd");
      if (isText && text.isEmpty()) return QVariant();
      return v.toString();
    case FieldType::String:
      if (v.typeId() == QMetaType::Double) return QString::number(v.toDouble(), 'g', 15);
      if (v.typeId() == QMetaType::QDate) return v.toDate().toString("yyyy-MM-dd");
      return v.toString();
    default:
      return v;
  }
}

void DataSet::setValue(const QString& field, const QVariant& v) {
  int f = fieldIndex(field);
  if (f < 0) throw StoreError(QStringLiteral("field '%1' not found").arg(field));
  setValueAt(f, v);
}

void DataSet::setValueAt(int f, const QVariant& v) {
  if (f < 0 || f >= fields_.size()) throw StoreError(QStringLiteral("field index %1 out of range").arg(f));
  if (!isActive()) throw StoreError("dataset is not open");
  if (cur_ < 0) throw StoreError("dataset has no current row");
  QVariant converted = convert(f, v);
  if (state_ == Browse) edit();
  rows_[cur_][f] = converted;
  if (!inNewRecord_) modified_ = true;
  if (!disabled_) emit rowChanged(cur_);
  if (onFieldChange) onFieldChange(*this, fields_[f].name);
}

// ---------------------------------------------------------------- editing

void DataSet::setState(State s) {
  if (s == state_) return;
  state_ = s;
  if (!disabled_) emit stateChanged();
}

void DataSet::append() {
  if (!isActive()) throw StoreError("dataset is not open");
  if (isEditing()) {
    if (modified_) {
      if (!post()) throw Abort();
    } else {
      cancel();
    }
  }
  rows_.append(QVector<QVariant>(fields_.size()));
  old_ = rows_.last();
  int row = rows_.size() - 1;
  modified_ = false;
  setState(Insert);
  eof_ = bof_ = false;
  if (!disabled_) emit rowInserted(row);
  cur_ = -2;  // force the change notice
  setCurrent(row);
  if (onNewRecord) {
    inNewRecord_ = true;
    try {
      onNewRecord(*this);
    } catch (...) {
      inNewRecord_ = false;
      throw;
    }
    inNewRecord_ = false;
  }
}

void DataSet::edit() {
  if (state_ != Browse || cur_ < 0) return;
  old_ = rows_[cur_];
  modified_ = false;
  setState(Edit);
}

bool DataSet::post() {
  if (!isEditing()) return true;
  if (beforePost && !beforePost(*this)) return false;
  if (!table_.isEmpty()) {
    if (state_ == Insert)
      writeInsert(rows_[cur_]);
    else
      writeUpdate(rows_[cur_], old_);
  }
  modified_ = false;
  setState(Browse);
  if (!disabled_) emit rowChanged(cur_);
  return true;
}

void DataSet::cancel() {
  if (state_ == Edit) {
    rows_[cur_] = old_;
    modified_ = false;
    setState(Browse);
    if (!disabled_) emit rowChanged(cur_);
  } else if (state_ == Insert) {
    int row = cur_;
    rows_.removeAt(row);
    modified_ = false;
    setState(Browse);
    if (!disabled_) emit rowRemoved(row);
    cur_ = -2;
    setCurrent(rows_.isEmpty() ? -1 : qMin(row, rows_.size() - 1));
    eof_ = bof_ = rows_.isEmpty();
  }
}

void DataSet::remove() {
  if (state_ == Insert) {
    cancel();
    return;
  }
  if (cur_ < 0) return;
  if (state_ == Edit) cancel();
  if (!table_.isEmpty()) writeDelete(rows_[cur_]);
  int row = cur_;
  rows_.removeAt(row);
  if (!disabled_) emit rowRemoved(row);
  cur_ = -2;
  setCurrent(rows_.isEmpty() ? -1 : qMin(row, rows_.size() - 1));
  eof_ = bof_ = rows_.isEmpty();
}

bool DataSet::locate(const QString& field, const QVariant& value) {
  int f = fieldIndex(field);
  if (f < 0) throw StoreError(QStringLiteral("field '%1' not found").arg(field));
  QVariant wanted = convert(f, value);
  for (int r = 0; r < rows_.size(); ++r) {
    const QVariant& v = rows_[r][f];
    bool same = (v.isNull() && wanted.isNull()) ||
                (!v.isNull() && !wanted.isNull() && v.toString() == wanted.toString());
    if (same) {
      moveTo(r);
      return true;
    }
  }
  return false;
}

void DataSet::disableControls() { ++disabled_; }

void DataSet::enableControls() {
  if (disabled_ > 0 && --disabled_ == 0) {
    emit reset();
    emit currentChanged(cur_);
    emit stateChanged();
  }
}

// ---------------------------------------------------------------- store

QString DataSet::keyWhere() const {
  QStringList parts;
  for (int k = 0; k < keys_.size(); ++k) parts << keys_[k] + " is :k" + QString::number(k);
  return parts.join(" and ");
}

void DataSet::bindKeys(Query& q, const QVector<QVariant>& row) const {
  for (int k = 0; k < keys_.size(); ++k) {
    int f = fieldIndex(keys_[k]);
    q.bind("k" + QString::number(k), f >= 0 ? row[f] : QVariant());
  }
}

void DataSet::writeInsert(const QVector<QVariant>& row) {
  QStringList cols, params;
  Query q(conn_);
  QVector<std::pair<QString, QVariant>> values;
  for (int f = 0; f < fields_.size(); ++f) {
    if (fields_[f].name.contains('.')) continue;
    cols << fields_[f].name;
    params << ":v" + QString::number(f);
    values.append({"v" + QString::number(f), row[f]});
  }
  q.setSql("insert into " + table_ + "(" + cols.join(',') + ") values(" + params.join(',') + ")");
  for (const auto& v : values) q.bind(v.first, v.second);
  q.exec();
}

void DataSet::writeUpdate(const QVector<QVariant>& row, const QVector<QVariant>& old) {
  QStringList sets;
  Query q(conn_);
  QVector<std::pair<QString, QVariant>> values;
  for (int f = 0; f < fields_.size(); ++f) {
    if (fields_[f].name.contains('.')) continue;
    if (row[f] == old.value(f) && row[f].isNull() == old.value(f).isNull()) continue;
    sets << fields_[f].name + "=:v" + QString::number(f);
    values.append({"v" + QString::number(f), row[f]});
  }
  if (sets.isEmpty()) return;
  q.setSql("update " + table_ + " set " + sets.join(',') + " where " + keyWhere());
  for (const auto& v : values) q.bind(v.first, v.second);
  bindKeys(q, old);
  q.exec();
}

void DataSet::writeDelete(const QVector<QVariant>& row) {
  Query q(conn_);
  q.setSql("delete from " + table_ + " where " + keyWhere());
  bindKeys(q, row);
  q.exec();
}
