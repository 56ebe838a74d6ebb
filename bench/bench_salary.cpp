// The salary sheet at workshop scale: 10,000 employees in service, 50 items
// (five of them text items), 30 formulas of which 10 name JJe or JSl, and
// 200,000 piece-work lines in the month. Measures preparing and loading a
// month, and calculating and saving it.
#include <benchmark/benchmark.h>

#include <QFile>
#include <QToolBar>
#include <QToolButton>
#include <memory>

#include "app/MainDM.h"
#include "payroll/GzData.h"
#include "support/TestEnv.h"
#include "toolkit/Application.h"
#include "toolkit/MonthPicker.h"

namespace {

constexpr int kEmployees = 10000;
constexpr int kItems = 50;
constexpr int kTextFrom = 46;  // f46..f50 are text items
constexpr int kRecords = 100000;  // two lines each

TestProgram* env = nullptr;

long rssKb() {
  QFile f("/proc/self/status");
  if (!f.open(QIODevice::ReadOnly)) return 0;
  for (const QByteArray& line : f.readAll().split('\n'))
    if (line.startsWith("VmRSS:")) return line.mid(6).trimmed().split(' ').value(0).toLong();
  return 0;
}

void buildFixture() {
  Connection& db = env->db();
  Transaction t(db);
  db.execScript(R"SQL(
    with recursive n(i) as (select 1 union all select i+1 from n where i<20)
      insert into depart select printf('%02d',i), '部门'||i from n;
    with recursive n(i) as (select 1 union all select i+1 from n where i<5)
      insert into worker_tp select printf('%02d',i), '职位'||i from n;
  )SQL");
  db.execScript(QString(R"SQL(
    with recursive n(i) as (select 1 union all select i+1 from n where i<EMPLOYEES)
      insert into worker(wkcode,wkname,bmcode,sex,tpcode,state)
      select printf('%05d',i), '员工'||i, printf('%02d',i%20+1), case when i%2 then '男' else '女' end,
             printf('%02d',i%5+1), 0 from n;
    insert into jjgz values('01','车工');
    insert into jjgx(gzcode,gxcode,gxname,price,rs) values('01','001','车削',1.5,2);
    with recursive n(i) as (select 1 union all select i+1 from n where i<RECORDS)
      insert into jjdata(pid,dt,gzcode,gxcode,price,rs,xs,sl,je,opername)
      select i, '2010-04-'||printf('%02d',i%28+1), '01','001',1.5,2,1,i%7+1,1.5*(i%7+1),'admin' from n;
    with recursive n(i) as (select 1 union all select i+1 from n where i<RECORDS)
      insert into jjdata_d(pid,wkcode,tpcode,bl,je)
      select i, printf('%05d',(2*i)%EMPLOYEES+1), '01', 0.5, 0.75*(i%7+1) from n
      union all
      select i, printf('%05d',(2*i+1)%EMPLOYEES+1), '01', 0.5, 0.75*(i%7+1) from n;
  )SQL")
                      .replace("EMPLOYEES", QString::number(kEmployees))
                      .replace("RECORDS", QString::number(kRecords)));
  for (int n = 1; n <= kItems; ++n) {
    bool text = n >= kTextFrom;
    QString f = "f" + QString::number(n);
    env->exec("insert into gzxm(xh,fname,xmname,ftype,fsize) values(:p1,:p2,:p3,:p4,:p5)",
              {n, f, QStringLiteral("项目") + QString::number(n), text ? 1 : 0, text ? 20 : 0});
    db.execScript("alter table gzdata add " + f + (text ? " varchar(20)" : " float default 0"));
  }
  // f1..f20 are typed inputs; f21..f50 are calculated
  for (int k = 0; k < 30; ++k) {
    QString target = "f" + QString::number(21 + k);
    QString gs, con;
    if (k < 10) {
      static const char* const piece[] = {"JJe",           "JSl",          "JJe*0.1+f1",  "JSl*2+f2",
                                          "JJe-f3/4",      "(JJe+JSl)/3",  "JJe*1.05",    "JSl+f4*0.3",
                                          "JJe+JSl+f5",    "JJe*f6/100"};
      gs = piece[k];
      if (k % 3 == 0) con = "JSl>10";
      if (k == 4) con = "(f1>100) AND (JJe>0)";
    } else {
      // names inputs and earlier results only, so every calculation gives the same values
      gs = QString("f%1*1.05+f%2-f%3/2+f%4").arg(1 + k % 20).arg(20 + k).arg(2 + k % 19).arg(21 + (k * 7 + 3) % k);
      if (k % 4 == 0) con = QString("f%1>50").arg(3 + k % 17);
    }
    env->exec("insert into gzgs(xh,fname,gs,con) values(:p1,:p2,:p3,:p4)", {k + 1, target, gs, con});
  }
  t.commit();
}

void deleteMonth() {
  env->exec("delete from gzxm_m where xyear=2010 and xmonth=4");
  env->exec("delete from gzdata where xyear=2010 and xmonth=4");
}

void typeInputs() {
  QStringList sets;
  for (int n = 1; n <= 20; ++n)
    sets << "f" + QString::number(n) + "=(cast(wkcode as integer)*" + QString::number(n + 6) + ")%1000*0.37";
  env->exec("update gzdata set " + sets.join(',') + " where xyear=2010 and xmonth=4");
}

std::unique_ptr<TfrmGzData> openWindow() {
  auto w = std::make_unique<TfrmGzData>();
  w->monthPicker()->setYearMonth(2010, 4);
  return w;
}

void clickLoad(TfrmGzData& w) { w.ownToolBar()->findChild<QToolButton*>("btnLoad")->click(); }

void BM_PrepareAndLoad(benchmark::State& state) {
  auto w = openWindow();
  long before = rssKb();
  for (auto _ : state) {
    state.PauseTiming();
    deleteMonth();
    state.ResumeTiming();
    clickLoad(*w);
    if (w->sheet()->recordCount() != kEmployees) state.SkipWithError("sheet incomplete");
  }
  state.counters["rows"] = w->sheet()->recordCount();
  state.counters["fields"] = w->sheet()->fieldCount();
  state.counters["sheet_MB"] = (rssKb() - before) / 1024.0;
  state.counters["rss_MB"] = rssKb() / 1024.0;
}
BENCHMARK(BM_PrepareAndLoad)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_LoadPrepared(benchmark::State& state) {
  auto w = openWindow();
  clickLoad(*w);
  for (auto _ : state) clickLoad(*w);
}
BENCHMARK(BM_LoadPrepared)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_CalcAndSave(benchmark::State& state) {
  deleteMonth();
  auto w = openWindow();
  clickLoad(*w);
  typeInputs();
  clickLoad(*w);
  long before = rssKb();
  for (auto _ : state) {
    w->CalcSheet();
    w->SaveSheet();
  }
  state.counters["rss_growth_MB"] = (rssKb() - before) / 1024.0;
  state.counters["rss_MB"] = rssKb() / 1024.0;
}
BENCHMARK(BM_CalcAndSave)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_CalcOnly(benchmark::State& state) {
  auto w = openWindow();
  clickLoad(*w);
  for (auto _ : state) w->CalcSheet();
}
BENCHMARK(BM_CalcOnly)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_SaveOnly(benchmark::State& state) {
  auto w = openWindow();
  clickLoad(*w);
  for (auto _ : state) w->SaveSheet();
}
BENCHMARK(BM_SaveOnly)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  Application app(argc, argv);
  TestProgram program;
  env = &program;
  buildFixture();
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  env = nullptr;
  return 0;
}
