// Opening the line view of a busy month: 2,000 employees and 100,000 record
// lines (25,000 records of four lines each) in April 2010.
#include <benchmark/benchmark.h>

#include <QString>

#include "TestEnv.h"
#include "app/MainDM.h"
#include "piecework/JjData.h"
#include "toolkit/Application.h"

namespace {

void fill(TestProgram& p) {
  Connection& c = p.db();
  Transaction t(c);
  Query q(&c);
  p.exec("insert into jjgz values('01','车工')");
  p.exec("insert into jjxs values('01','一等',1.2)");
  for (int i = 1; i <= 5; ++i) {
    p.exec("insert into depart values(:p1,:p2)", {QString::number(i), "车间" + QString::number(i)});
    p.exec("insert into worker_tp values(:p1,:p2)", {QString::number(i), "职位" + QString::number(i)});
  }
  for (int i = 1; i <= 50; ++i)
    p.exec("insert into jjgx values('01',:p1,:p2,'件',1.5,4)", {QString::number(i).rightJustified(3, '0'),
                                                              "工序" + QString::number(i)});
  for (int i = 1; i <= 2000; ++i)
    p.exec("insert into worker(wkcode,wkname,bmcode,sex,tpcode) values(:p1,:p2,:p3,'男',:p4)",
           {QString::number(i).rightJustified(4, '0'), "员工" + QString::number(i), QString::number(i % 5 + 1),
            QString::number(i % 5 + 1)});
  c.execScript(R"SQL(
    with recursive n(i) as (select 1 union all select i+1 from n where i < 25000)
    insert into jjdata(pid,dt,gzcode,gxcode,price,rs,xscode,xs,sl,je,opername)
      select i, printf('2010-04-%02d', i % 30 + 1), '01', printf('%03d', i % 50 + 1), 1.5, 4, '01', 1.2, 10, 18, 'admin'
      from n;
    with recursive n(i) as (select 0 union all select i+1 from n where i < 99999)
    insert into jjdata_d(pid,wkcode,tpcode,bl,je)
      select i / 4 + 1, printf('%04d', (i * 7) % 2000 + 1), printf('%d', i % 5 + 1), 0.25, 4.5 from n;
  )SQL");
  t.commit();
}

const JjFilter kLineView{"select * from jjdata m,jjdata_d d where m.pid=d.pid and year(dt)=2010 and month(dt)=4"
                        " order by dt,d.pid,d.wkcode",
                        {}, true, "2010年04月"};

TestProgram& busyMonth() {
  static TestProgram* p = [] {
    auto* t = new TestProgram;
    fill(*t);
    return t;
  }();
  return *p;
}

// The whole of it: the window with its lookups, the statement, the copy.
void BM_OpenLineView(benchmark::State& state) {
  busyMonth();
  const JjFilter& f = kLineView;
  for (auto _ : state) {
    TfrmJjData list;
    list.run(f);
    if (list.list()->recordCount() != 100000) state.SkipWithError("wrong row count");
    benchmark::DoNotOptimize(list.list()->recordCount());
  }
  state.SetItemsProcessed(state.iterations() * 100000);
}
BENCHMARK(BM_OpenLineView)->Unit(benchmark::kMillisecond)->Iterations(3);

// Its parts: the statement alone, and the window with its lookups alone.
void BM_LineViewStatement(benchmark::State& state) {
  busyMonth();
  for (auto _ : state) {
    Query q(&db());
    q.open(kLineView.sql);
    benchmark::DoNotOptimize(q.recordCount());
  }
}
BENCHMARK(BM_LineViewStatement)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_ListWindowWithLookups(benchmark::State& state) {
  busyMonth();
  for (auto _ : state) {
    TfrmJjData list;
    benchmark::DoNotOptimize(list.list());
  }
}
BENCHMARK(BM_ListWindowWithLookups)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  Application app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
