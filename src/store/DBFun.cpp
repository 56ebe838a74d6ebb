#include "store/DBFun.h"

#include "app/MainDM.h"
#include "app/Session.h"
#include "common/MyFun.h"

namespace {

Query& q3() {
  Query& q = dmMain()->qryExec3;
  q.close();
  return q;
}

// Opens the statement on the helpers' query; the caller reads and closes.
Query& run(const QString& sql, std::initializer_list<std::pair<const char*, QVariant>> params = {}) {
  Query& q = q3();
  q.setSql(sql);
  for (const auto& p : params) q.bind(QString::fromLatin1(p.first), p.second);
  q.open();
  return q;
}

bool found(const QString& sql, std::initializer_list<std::pair<const char*, QVariant>> params) {
  Query& q = run(sql, params);
  bool any = !q.isEmpty();
  q.close();
  return any;
}

}  // namespace

namespace DBFun {

QString getParam(int pid) {
  Query& q = run("select * from params where pid=:pid", {{"pid", pid}});
  QString v = q.isEmpty() ? QString() : q.str("pvalue");
  q.close();
  return v;
}

QString nextCode(const QString& table, const QString& column, int widthPid) {
  int width = MyFun::strToInt(getParam(widthPid));
  Query& q = run("select " + column + " from " + table + " order by " + column + " desc limit 1");
  qint64 n = 1;
  if (!q.isEmpty()) {
    bool ok = false;
    qint64 greatest = q.field(0).asString().trimmed().toLongLong(&ok);
    if (ok) n = greatest + 1;
  }
  q.close();
  return MyFun::padZero(n, width);
}

QString nextProcessCode(const QString& trade) {
  int width = MyFun::strToInt(getParam(4));
  Query& q = run("select gxcode from jjgx where gzcode=:gzcode order by gxcode desc limit 1", {{"gzcode", trade}});
  qint64 n = 1;
  if (!q.isEmpty()) {
    bool ok = false;
    qint64 greatest = q.field(0).asString().trimmed().toLongLong(&ok);
    if (ok) n = greatest + 1;
  }
  q.close();
  return MyFun::padZero(n, width);
}

QString nextWorkerCode() { return nextCode("worker", "wkcode", 6); }

bool processExists(const QString& trade, const QString& process) {
  return found("select * from jjgx where gzcode=:gzcode and gxcode=:gxcode", {{"gzcode", trade}, {"gxcode", process}});
}

bool workerExists(const QString& code) { return found("select * from worker where wkcode=:wkcode", {{"wkcode", code}}); }

bool positionExists(const QString& code) {
  return found("select * from worker_tp where tpcode=:tpcode", {{"tpcode", code}});
}

bool workerInUse(const QString& code) {
  if (found("select * from jjdata_d where wkcode=:wkcode limit 1", {{"wkcode", code}})) return true;
  return found("select * from gzdata where wkcode=:wkcode limit 1", {{"wkcode", code}});
}

QString positionName(const QString& code) {
  Query& q = run("select * from worker_tp where tpcode=:tpcode", {{"tpcode", code}});
  QString name = q.isEmpty() ? QString() : q.str("tpname");
  q.close();
  return name;
}

QString workerPosition(const QString& code) {
  Query& q = run("select * from worker where wkcode=:wkcode", {{"wkcode", code}});
  QString tp = q.isEmpty() ? QString() : q.str("tpcode");
  q.close();
  if (tp.isEmpty()) return QString();
  return "[" + tp + "]" + positionName(tp);
}

QStringList codeNames(const QString& table, const QString& codeColumn, const QString& nameColumn) {
  Query& q = run("select " + codeColumn + "," + nameColumn + " from " + table + " order by " + codeColumn);
  QStringList entries;
  for (q.first(); !q.eof(); q.next()) entries << MyFun::codeName(q.field(0).asString(), q.field(1).asString());
  q.close();
  return entries;
}

QStringList processNames(const QString& trade) {
  Query& q = run("select gxcode,gxname from jjgx where gzcode=:gzcode order by gxcode", {{"gzcode", trade}});
  QStringList entries;
  for (q.first(); !q.eof(); q.next()) entries << MyFun::codeName(q.field(0).asString(), q.field(1).asString());
  q.close();
  return entries;
}

int nextFieldNumber() {
  Query& q = run("select * from gzdata where 1=0");
  QString last = q.fieldName(q.fieldCount() - 1);
  q.close();
  if (!last.startsWith('f')) return 1;
  return MyFun::strToInt(last.mid(1)) + 1;
}

int nextFormulaNumber() {
  Query& q = run("select max(xh) from gzgs");
  int n = int(q.field(0).asInteger());
  q.close();
  return n + 1;
}

int nextRecordNumber() {
  Query& q = run("select max(pid) from jjdata");
  int n = int(q.field(0).asInteger());
  q.close();
  return n + 1;
}

void defaultPeriod(int& year, int& month) {
  QDate d = Session::bizQDate();
  year = d.year();
  month = d.month();
  Query& q = run("select max(xyear) from gzdata");
  bool any = !q.field(0).isNull();
  int y = int(q.field(0).asInteger());
  q.close();
  if (!any) return;
  Query& m = run("select max(xmonth) from gzdata where xyear=:y", {{"y", y}});
  year = y;
  month = int(m.field(0).asInteger());
  m.close();
}

bool monthHasSalary(int year, int month) {
  Query& q = run("select count(*) from gzdata where xyear=:y and xmonth=:m", {{"y", year}, {"m", month}});
  bool any = q.field(0).asInteger() > 0;
  q.close();
  return any;
}

void deleteMonth(int year, int month) {
  Query& q = q3();
  q.setSql("delete from gzxm_m where xyear=:y and xmonth=:m");
  q.bind("y", year).bind("m", month);
  q.exec();
  q.setSql("delete from gzdata where xyear=:y and xmonth=:m");
  q.bind("y", year).bind("m", month);
  q.exec();
}

bool hasPermission(int roleId) {
  if (Session::isAdmin()) return true;
  return found("select * from rolelist where opername=:opername and roleid=:roleid",
               {{"opername", Session::operName()}, {"roleid", roleId}});
}

}  // namespace DBFun
