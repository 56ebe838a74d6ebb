// Install-time tool: creates the database of a small demo garment workshop
// (departments, positions, trades with processes and splits, a dozen
// employees, a month of piece-work, salary items and formulas), so that a
// newcomer can walk through a month's pay at once. Never overwrites.
#include <QCoreApplication>
#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <cstdio>

#include "common/MyFun.h"
#include "store/Schema.h"
#include "store/Store.h"

namespace {

void exec(Connection& db, const QString& sql, const QVariantList& values = {}) {
  Query q(&db);
  q.setSql(sql);
  for (int i = 0; i < values.size(); ++i) q.bind("p" + QString::number(i + 1), values[i]);
  q.exec();
}

struct Process {
  const char *trade, *code, *name, *unit;
  double price;
  int workers;
  QList<QPair<QString, double>> split;  // position, ratio
};

void fill(Connection& db, const QDate& month) {
  exec(db, "update params set pvalue=:p1 where pid=8", {QStringLiteral("青禾制衣厂（演示）")});

  for (auto [code, name] : {std::pair{"01", "裁剪车间"}, {"02", "缝纫车间"}})
    exec(db, "insert into depart values(:p1,:p2)", {code, QString::fromUtf8(name)});
  for (auto [code, name] : {std::pair{"01", "裁剪工"}, {"02", "车工"}, {"03", "整烫工"}, {"04", "质检员"}})
    exec(db, "insert into worker_tp values(:p1,:p2)", {code, QString::fromUtf8(name)});
  for (auto [code, name] : {std::pair{"01", "裁剪"}, {"02", "缝制"}})
    exec(db, "insert into jjgz values(:p1,:p2)", {code, QString::fromUtf8(name)});
  exec(db, "insert into jjxs values('01',:p1,1.2)", {QStringLiteral("加急")});
  exec(db, "insert into jjxs values('02',:p1,0.8)", {QStringLiteral("返工")});

  const QList<Process> processes = {
      {"01", "001", "裁衬衫", "件", 0.80, 2, {{"01", 0.6}, {"04", 0.4}}},
      {"01", "002", "裁裤子", "件", 0.60, 1, {{"01", 1.0}}},
      {"02", "001", "缝衬衫", "件", 2.50, 2, {{"02", 0.7}, {"03", 0.3}}},
      {"02", "002", "缝裤子", "件", 1.80, 1, {{"02", 1.0}}},
  };
  for (const Process& p : processes) {
    exec(db, "insert into jjgx values(:p1,:p2,:p3,:p4,:p5,:p6)",
         {p.trade, p.code, QString::fromUtf8(p.name), QString::fromUtf8(p.unit), p.price, p.workers});
    for (const auto& s : p.split)
      exec(db, "insert into jjgx_d values(:p1,:p2,:p3,:p4,:p5)",
           {p.trade, p.code, s.first, s.second, MyFun::roundTo(4, p.price * s.second)});
  }

  struct Employee {
    const char *code, *name, *dept, *sex, *position;
    int payType, state;
  };
  const Employee employees[] = {
      {"0001", "陈秀英", "01", "女", "01", 0, 0}, {"0002", "刘建国", "01", "男", "01", 0, 0},
      {"0003", "赵敏", "01", "女", "04", 1, 0},   {"0004", "孙丽", "01", "女", "01", 0, 0},
      {"0005", "周红梅", "02", "女", "02", 0, 0}, {"0006", "吴桂兰", "02", "女", "02", 0, 0},
      {"0007", "郑小燕", "02", "女", "02", 0, 0}, {"0008", "王海", "02", "男", "03", 0, 0},
      {"0009", "冯淑珍", "02", "女", "03", 0, 0}, {"0010", "李强", "02", "男", "04", 1, 0},
      {"0011", "何静", "02", "女", "02", 0, 0},   {"0012", "马文", "02", "男", "02", 0, 1},
  };
  for (const Employee& e : employees)
    exec(db,
         "insert into worker(wkcode,wkname,bmcode,sex,tpcode,indate,gztp,state,bankacc) "
         "values(:p1,:p2,:p3,:p4,:p5,:p6,:p7,:p8,:p9)",
         {e.code, QString::fromUtf8(e.name), e.dept, QString::fromUtf8(e.sex), e.position, "2009-03-01",
          e.payType, e.state, QString("62220200%1").arg(e.code)});

  // A month of piece-work: one record a working day for several processes,
  // its amount split between the workers by their positions' ratios.
  struct Work {
    int day;
    const char *trade, *process;
    double quantity;
    const char* coefficient;  // "" for none
    QList<QPair<QString, QString>> lines;  // employee, position
  };
  const QList<Work> work = {
      {2, "01", "001", 400, "", {{"0001", "01"}, {"0003", "04"}}},
      {3, "01", "002", 350, "", {{"0002", "01"}}},
      {5, "02", "001", 260, "", {{"0005", "02"}, {"0008", "03"}}},
      {6, "02", "001", 240, "01", {{"0006", "02"}, {"0009", "03"}}},
      {8, "02", "002", 300, "", {{"0007", "02"}}},
      {9, "01", "001", 380, "", {{"0004", "01"}, {"0003", "04"}}},
      {12, "02", "002", 280, "", {{"0011", "02"}}},
      {13, "02", "001", 220, "02", {{"0005", "02"}, {"0009", "03"}}},
      {15, "01", "002", 420, "01", {{"0001", "01"}}},
      {16, "02", "001", 300, "", {{"0007", "02"}, {"0008", "03"}}},
      {19, "02", "002", 310, "", {{"0006", "02"}}},
      {20, "01", "001", 360, "", {{"0002", "01"}, {"0003", "04"}}},
  };
  int pid = 0;
  for (const Work& w : work) {
    const Process* p = nullptr;
    for (const Process& candidate : processes)
      if (QString(candidate.trade) == w.trade && QString(candidate.code) == w.process) p = &candidate;
    QString coefficient = QString::fromLatin1(w.coefficient);
    double factor = coefficient == "01" ? 1.2 : coefficient == "02" ? 0.8 : 0;
    double amount = MyFun::roundTo(2, p->price * w.quantity * (coefficient.isEmpty() ? 1 : factor));
    ++pid;
    exec(db,
         "insert into jjdata(pid,dt,gzcode,gxcode,price,rs,xscode,xs,sl,je,opername) "
         "values(:p1,:p2,:p3,:p4,:p5,:p6,:p7,:p8,:p9,:p10,'admin')",
         {pid, QDate(month.year(), month.month(), w.day).toString("yyyy-MM-dd"), w.trade, w.process, p->price,
          p->workers, coefficient.isEmpty() ? QVariant() : QVariant(coefficient), factor, w.quantity, amount});
    for (const auto& line : w.lines) {
      double ratio = 0;
      for (const auto& s : p->split)
        if (s.first == line.second) ratio = s.second;
      exec(db, "insert into jjdata_d values(:p1,:p2,:p3,:p4,:p5)",
           {pid, line.first, line.second, ratio, MyFun::roundTo(2, amount * ratio)});
    }
  }

  // Salary items: each one a row of gzxm and a column of gzdata.
  struct Item {
    const char* name;
    int type, width;
  };
  const Item items[] = {{"基本工资", 0, 0}, {"计件工资", 0, 0}, {"全勤奖", 0, 0}, {"应发合计", 0, 0},
                        {"扣款", 0, 0},     {"实发工资", 0, 0}, {"备注", 1, 20}};
  int xh = 0;
  for (const Item& item : items) {
    ++xh;
    QString fname = "f" + QString::number(xh);
    exec(db, "insert into gzxm values(:p1,:p2,:p3,:p4,:p5)", {xh, fname, QString::fromUtf8(item.name), item.type, item.width});
    db.execScript("alter table gzdata add " + fname +
                  (item.type == 0 ? QString(" float default 0") : " varchar(" + QString::number(item.width) + ")"));
  }
  struct Formula {
    const char *target, *formula, *description, *condition, *conditionDescription;
  };
  const Formula formulas[] = {
      {"f2", "JJe", "计件金额", "", ""},
      {"f3", "100", "100", "JSl>=600", "计件数量>=600"},
      {"f4", "f1+f2+f3", "基本工资+计件工资+全勤奖", "", ""},
      {"f6", "f4-f5", "应发合计-扣款", "", ""},
  };
  int n = 0;
  for (const Formula& f : formulas)
    exec(db, "insert into gzgs values(:p1,:p2,:p3,:p4,:p5,:p6)",
         {++n, f.target, f.formula, QString::fromUtf8(f.description), f.condition, QString::fromUtf8(f.conditionDescription)});
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s DATABASE\n", argv[0]);
    return 2;
  }
  QString path = QString::fromLocal8Bit(argv[1]);
  if (QFileInfo::exists(path)) return 0;
  QDir().mkpath(QFileInfo(path).absolutePath());
  try {
    Schema::createDatabase(path);
    Connection db;
    db.open(path);
    Transaction t(db);
    fill(db, QDate::currentDate());
    t.commit();
  } catch (const std::exception& e) {
    QFile::remove(path);
    std::fprintf(stderr, "%s\n", e.what());
    return 1;
  }
  return 0;
}
