#pragma once
#include <QComboBox>

#include "TestEnv.h"
#include "piecework/JjDataSel.h"
#include "toolkit/MsgBox.h"

// A small workshop: one trade with one process split between two positions,
// a coefficient, two employees in one department.
struct Workshop {
  TestProgram p;
  MsgBox::Recorder rec;
  Workshop() {
    p.exec("insert into jjgz values('01','车工')");
    p.exec("insert into jjgz values('02','钳工')");
    p.exec("insert into jjgx values('01','001','车削','件',12.5,2)");
    p.exec("insert into jjgx values('01','002','打磨','件',3,1)");
    p.exec("insert into jjgx values('02','001','装配','台',20,1)");
    p.exec("insert into jjxs values('01','一等',1.2)");
    p.exec("insert into worker_tp values('01','主刀')");
    p.exec("insert into worker_tp values('02','助手')");
    p.exec("insert into worker_tp values('03','学徒')");
    p.exec("insert into jjgx_d values('01','001','01',0.5,6.25)");
    p.exec("insert into jjgx_d values('01','001','02',0.3,3.75)");
    p.exec("insert into depart values('01','一车间')");
    p.exec("insert into depart values('02','二车间')");
    p.exec("insert into worker(wkcode,wkname,bmcode,sex,tpcode) values('0001','张三','01','男','01')");
    p.exec("insert into worker(wkcode,wkname,bmcode,sex,tpcode) values('0002','李四','02','女','02')");
  }
};

// Chooses an entry as the user does from the drop-down.
inline void choose(QComboBox* combo, const QString& text) {
  int i = combo->findText(text);
  ASSERT_GE(i, 0) << text.toStdString();
  combo->setCurrentIndex(i);
  emit combo->activated(i);
}

inline JjFilter recordView() {
  return {"select * from jjdata where 1=1 and year(dt)=2010 and month(dt)=4 order by dt,pid", {}, false, "2010年04月"};
}
inline JjFilter lineView() {
  return {"select * from jjdata m,jjdata_d d where m.pid=d.pid and year(dt)=2010 and month(dt)=4 order by dt,d.pid,d.wkcode",
          {}, true, "2010年04月"};
}
