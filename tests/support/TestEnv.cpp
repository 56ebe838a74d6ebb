#include "TestEnv.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>

#include "app/MainDM.h"
#include "app/Session.h"
#include "common/MyFun.h"
#include "store/Schema.h"

TestProgram::TestProgram(bool withDatabase) {
  QDir(tmp_.path()).mkpath("data");
  MyFun::setProgramDir(tmp_.path() + "/");
  if (withDatabase) {
    Schema::createDatabase(databasePath());
    dmMain()->conZt.open(databasePath());
  }
  Session::set("01", "admin", "2010-04-15");
}

TestProgram::~TestProgram() {
  dmMain()->qryExec.close();
  dmMain()->qryExec2.close();
  dmMain()->qryExec3.close();
  dmMain()->conZt.close();
  MyFun::setProgramDir(QString());
}

QString TestProgram::dir() const { return tmp_.path() + "/"; }
QString TestProgram::databasePath() const { return dir() + "data/zt000.mdb"; }
Connection& TestProgram::db() { return dmMain()->conZt; }

namespace {
void bindAll(Query& q, const QVariantList& values) {
  for (int i = 0; i < values.size(); ++i) q.bind("p" + QString::number(i + 1), values[i]);
}
}  // namespace

void TestProgram::exec(const QString& sql, const QVariantList& values) {
  Query q(&db());
  q.setSql(sql);
  bindAll(q, values);
  q.exec();
}

QVariant TestProgram::scalar(const QString& sql, const QVariantList& values) {
  Query q(&db());
  q.setSql(sql);
  bindAll(q, values);
  q.open();
  return q.isEmpty() ? QVariant() : q.field(0).value();
}

QStringList TestProgram::rows(const QString& sql, const QVariantList& values) {
  Query q(&db());
  q.setSql(sql);
  bindAll(q, values);
  q.open();
  QStringList out;
  for (q.first(); !q.eof(); q.next()) {
    QStringList cols;
    for (int c = 0; c < q.fieldCount(); ++c) cols << q.field(c).asString();
    out << cols.join('|');
  }
  return out;
}

void TestProgram::login(const QString& operName, const QString& operNo, const QString& date) {
  Session::set(operNo, operName, date);
}

void whenModal(std::function<void(QWidget*)> fn, int timeoutMs) { whenModal(QString(), std::move(fn), timeoutMs); }

void whenModal(const QString& objectName, std::function<void(QWidget*)> fn, int timeoutMs) {
  auto* timer = new QTimer;
  auto started = std::make_shared<QElapsedTimer>();
  started->start();
  timer->setInterval(10);
  QObject::connect(timer, &QTimer::timeout, [timer, fn, started, timeoutMs, objectName] {
    QWidget* w = QApplication::activeModalWidget();
    if (w && w->isVisible() && (objectName.isEmpty() || w->objectName() == objectName)) {
      timer->stop();
      timer->deleteLater();
      fn(w);
    } else if (started->elapsed() > timeoutMs) {
      timer->stop();
      timer->deleteLater();
    }
  });
  timer->start();
}

bool waitFor(const std::function<bool()>& cond, int timeoutMs) {
  QElapsedTimer t;
  t.start();
  while (!cond()) {
    if (t.elapsed() > timeoutMs) return false;
    QApplication::processEvents(QEventLoop::AllEvents, 20);
  }
  return true;
}
