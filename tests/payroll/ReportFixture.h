#pragma once
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

#include "TestEnv.h"
#include "common/MyFun.h"

namespace reports {

// The shipped template in the source tree; __FILE__ may be relative to the
// folder the test program was compiled in, which is where it lives.
inline QString shippedTemplate() {
  QString src = QString::fromUtf8(__FILE__);
  if (QFileInfo(src).isRelative()) src = QDir(QCoreApplication::applicationDirPath()).filePath(src);
  return QFileInfo(src).dir().absoluteFilePath("../../rep/gzbar.frf");
}

inline QString pdfText(const QString& path) {
  QProcess p;
  p.start("pdftotext", {"-layout", path, "-"});
  p.waitForFinished(30000);
  return QString::fromUtf8(p.readAllStandardOutput());
}

// Keeps the pages of a PDF as PNG files for looking at, when asked to.
inline void keepPages(const QString& pdf, const QString& name) {
  const QString dir = qEnvironmentVariable("QH_REPORT_PNG");
  if (dir.isEmpty()) return;
  QDir().mkpath(dir);
  QProcess::execute("pdftoppm", {"-png", "-r", "60", pdf, dir + "/" + name});
}

// A workshop with three departments (one without employees), 30 employees
// entered out of order, four items (f3 a text item) and the month 2010-04.
struct Workshop {
  TestProgram p;
  Workshop() {
    QDir(p.dir()).mkpath("rep");
    QFile::copy(shippedTemplate(), p.dir() + "rep/gzbar.frf");
    p.exec("update params set pvalue='青禾木业有限公司' where pid=8");
    p.exec("insert into depart values('01','生产一车间'),('02','生产二车间'),('03','办公室')");
    p.exec("insert into worker_tp values('01','木工'),('02','漆工')");
    struct Item {
      int xh;
      const char* fname;
      const char* name;
      const char* type;
    } items[] = {{1, "f1", "基本工资", "float default 0"},
                 {2, "f2", "计件工资", "float default 0"},
                 {3, "f3", "奖金", "varchar(20)"},
                 {4, "f4", "应发工资合计", "float default 0"}};
    for (const Item& i : items) {
      p.exec("insert into gzxm(xh,fname,xmname,ftype) values(:p1,:p2,:p3,0)", {i.xh, i.fname, i.name});
      p.exec(QString("alter table gzdata add %1 %2").arg(i.fname, i.type));
      p.exec("insert into gzxm_m(xyear,xmonth,xh,fname,xmname,ftype) values(2010,4,:p1,:p2,:p3,0)",
             {i.xh, i.fname, i.name});
    }
    // Codes go in backwards and alternate between the departments, so the
    // sheet's order is not the order of entry.
    for (int n = 30; n >= 1; --n) {
      const QString code = MyFun::padZero(n, 3);
      const QString dep = n % 2 ? "02" : "01";
      p.exec("insert into worker(wkcode,wkname,bmcode,sex,tpcode,state) values(:p1,:p2,:p3,:p4,:p5,0)",
             {code, "员工" + code, dep, n % 3 ? "男" : "女", n % 2 ? "01" : "02"});
      p.exec("insert into gzdata(xyear,xmonth,wkcode,f1,f2,f3,f4) values(2010,4,:p1,:p2,:p3,:p4,:p5)",
             {code, 1000.0 + n, n * 10.5, QString::number(n), 1000.0 + n + n * 10.5 + n});
    }
  }
};

}  // namespace reports
