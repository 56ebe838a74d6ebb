#include <gtest/gtest.h>

#include "TestEnv.h"
#include "app/MainDM.h"
#include "app/Session.h"
#include "store/DBFun.h"
#include "store/Password.h"
#include "store/Schema.h"
#include "store/Store.h"

TEST(Store, MissingDatabaseIsNotCreated) {
  TestProgram p(false);
  Connection c;
  EXPECT_THROW(c.open(p.databasePath()), StoreError);
  EXPECT_FALSE(QFile::exists(p.databasePath()));
}

TEST(Store, ShippedRows) {
  TestProgram p;
  EXPECT_EQ(p.rows("select operno, opername from operator"), QStringList{"01|admin"});
  EXPECT_EQ(p.scalar("select count(*) from roles where flag=0").toInt(), 23);
  EXPECT_EQ(p.rows("select pid, pvalue from params order by pid"),
            (QStringList{"1|2", "2|2", "3|2", "4|3", "5|2", "6|4", "7|1", "8|"}));
  QString pwd = p.scalar("select pwd from operator").toString();
  EXPECT_TRUE(pwd.startsWith("$argon2"));
  EXPECT_TRUE(Password::verify("", pwd));
}

TEST(Store, PasswordMatchesExactly) {
  QString h = Password::hash("Secret 1");
  EXPECT_TRUE(Password::verify("Secret 1", h));
  EXPECT_FALSE(Password::verify("secret 1", h));
  EXPECT_FALSE(Password::verify("Secret1", h));
  EXPECT_FALSE(Password::verify("Secret 1", "Secret 1"));  // a clear text is never a match
}

TEST(Store, TypedQuoteIsPlainText) {
  TestProgram p;
  Query q(&p.db());
  q.setSql("insert into jjgz(gzcode,gzname) values(:c,:n)");
  q.bind("c", "0'1").bind("n", "x' or '1'='1");
  q.exec();
  EXPECT_TRUE(p.rows("select gzname from jjgz where gzcode=:p1", {"0'1"}) == QStringList{"x' or '1'='1"});
  EXPECT_EQ(DBFun::processExists("0'1", "' or ''='"), false);
}

TEST(Store, JoinColumnsCarryTheirAlias) {
  TestProgram p;
  p.exec("insert into jjgz values('01','裁剪')");
  p.exec("insert into jjgx(gzcode,gxcode,gxname,price,rs) values('01','001','裁片',1.5,1)");
  p.exec("insert into jjdata(pid,dt,gzcode,gxcode,price,rs,xs,sl,je,opername) "
         "values(7,'2010-04-03','01','001',1.5,1,0,10,15,'admin')");
  p.exec("insert into jjdata_d(pid,wkcode,tpcode,bl,je) values(7,'0001','',1,15)");
  Query q(&p.db());
  q.open("select * from jjdata m, jjdata_d d where m.pid=d.pid and year(m.dt)=2010 and month(m.dt)=4");
  ASSERT_EQ(q.recordCount(), 1);
  EXPECT_EQ(q.integer("m.pid"), 7);
  EXPECT_EQ(q.num("d.je"), 15);
  EXPECT_EQ(q.num("m.je"), 15);
  EXPECT_EQ(q.str("wkcode"), "0001");  // occurs once: bare name
  EXPECT_EQ(q.fieldIndex("pid"), -1);
  q.open("select * from jjdata a left join jjdata_d as b on a.pid=b.pid");
  EXPECT_GE(q.fieldIndex("a.pid"), 0);
  EXPECT_GE(q.fieldIndex("b.pid"), 0);
}

TEST(Store, TransactionRollsBackOnError) {
  TestProgram p;
  try {
    Transaction t(p.db());
    p.exec("insert into jjgz values('01','a')");
    p.exec("insert into jjgz values('01','b')");  // duplicate key
    t.commit();
  } catch (const StoreError& e) {
    EXPECT_FALSE(QString(e.what()).isEmpty());
  }
  EXPECT_EQ(p.scalar("select count(*) from jjgz").toInt(), 0);
  EXPECT_FALSE(p.db().inTransaction());
}

// Each reference the store must enforce refuses the delete of the referred row.
TEST(Store, EnforcedReferencesRefuseDeletes) {
  TestProgram p;
  p.exec("insert into operator(operno,opername,pwd) values('02','张三','')");
  p.exec("insert into jjgz values('01','裁剪')");
  p.exec("insert into jjxs values('01','加急',1.2)");
  p.exec("insert into worker_tp values('01','车工')");
  p.exec("insert into depart values('01','一车间')");
  p.exec("insert into jjgx(gzcode,gxcode,gxname) values('01','001','裁片')");
  p.exec("insert into jjgx_d(gzcode,gxcode,tpcode,bl,price) values('01','001','01',1,1)");
  p.exec("insert into worker(wkcode,wkname,bmcode,tpcode) values('0001','李四','01','01')");
  p.exec("insert into jjdata(pid,dt,gzcode,gxcode,xscode,opername) values(1,'2010-04-01','01','001','01','张三')");
  p.exec("insert into jjdata_d(pid,wkcode,tpcode,bl,je) values(1,'0001','',1,0)");  // empty position accepted
  p.exec("insert into rolelist values('张三',1001)");
  p.exec("insert into gzxm values(1,'f1','基本工资',0,0)");
  p.exec("insert into gzxm_m values(2010,4,1,'f1','基本工资',0,0)");

  const char* deletes[] = {
      "delete from jjgz where gzcode='01'",       "delete from worker_tp where tpcode='01'",
      "delete from depart where bmcode='01'",     "delete from jjgx where gzcode='01'",
      "delete from jjxs where xscode='01'",       "delete from operator where operno='02'",
      "delete from gzxm where xh=1",
  };
  for (const char* sql : deletes) {
    SCOPED_TRACE(sql);
    EXPECT_THROW(p.exec(sql), StoreError);
  }
  // a record's lines go with it
  p.exec("delete from jjdata where pid=1");
  EXPECT_EQ(p.scalar("select count(*) from jjdata_d").toInt(), 0);
}

TEST(Store, OperatorNamesAreUniqueWhateverTheCase) {
  TestProgram p;
  EXPECT_THROW(p.exec("insert into operator(operno,opername,pwd) values('02','Admin','')"), StoreError);
}

TEST(Store, YearAndMonthFunctions) {
  TestProgram p;
  EXPECT_EQ(p.scalar("select year('2010-04-15')").toInt(), 2010);
  EXPECT_EQ(p.scalar("select month('2010-04-15')").toInt(), 4);
  EXPECT_TRUE(p.scalar("select month(null)").isNull());
}

TEST(DBFun, NextCodes) {
  TestProgram p;
  struct Case {
    QStringList codes;
    QString width;
    QString expected;
  } cases[] = {
      {{}, "3", "001"},
      {{"0099"}, "2", "100"},
      {{"0099"}, "3", "100"},
      {{"A01", "05"}, "2", "01"},
      {{"1", "9", "10"}, "0", "10"},
      {{"7"}, " 3 ", "008"},
      {{"1234"}, "3", "1235"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.expected.toStdString());
    p.exec("delete from jjgz");
    for (const QString& code : c.codes) p.exec("insert into jjgz values(:p1,'x')", {code});
    p.exec("update params set pvalue=:p1 where pid=1", {c.width});
    EXPECT_EQ(DBFun::nextCode("jjgz", "gzcode", 1), c.expected);
  }
  p.exec("update params set pvalue='x' where pid=1");
  EXPECT_ANY_THROW(DBFun::nextCode("jjgz", "gzcode", 1));
}

TEST(DBFun, ProcessCodesCountPerTrade) {
  TestProgram p;
  p.exec("insert into jjgz values('01','a')");
  p.exec("insert into jjgz values('02','b')");
  p.exec("insert into jjgx(gzcode,gxcode) values('01','004')");
  EXPECT_EQ(DBFun::nextProcessCode("01"), "005");
  EXPECT_EQ(DBFun::nextProcessCode("02"), "001");
}

TEST(DBFun, DefaultPeriod) {
  TestProgram p;
  int y = 0, m = 0;
  p.login("admin", "01", "2010-07-21");
  DBFun::defaultPeriod(y, m);
  EXPECT_EQ(y * 100 + m, 201007);
  p.exec("insert into gzdata(xyear,xmonth,wkcode) values(2009,12,'1')");
  p.exec("insert into gzdata(xyear,xmonth,wkcode) values(2010,1,'1')");
  DBFun::defaultPeriod(y, m);
  EXPECT_EQ(y * 100 + m, 201001);
  EXPECT_TRUE(DBFun::monthHasSalary(2009, 12));
  DBFun::deleteMonth(2009, 12);
  EXPECT_FALSE(DBFun::monthHasSalary(2009, 12));
}

TEST(DBFun, FieldAndRecordNumbers) {
  TestProgram p;
  EXPECT_EQ(DBFun::nextFieldNumber(), 1);
  EXPECT_EQ(DBFun::nextFormulaNumber(), 1);
  EXPECT_EQ(DBFun::nextRecordNumber(), 1);
  p.exec("alter table gzdata add f7 float default 0");
  EXPECT_EQ(DBFun::nextFieldNumber(), 8);
  p.exec("alter table gzdata drop f7");
  EXPECT_EQ(DBFun::nextFieldNumber(), 1);
}

TEST(DBFun, LookupsAndPermissions) {
  TestProgram p;
  p.exec("insert into depart values('01','一车间')");
  p.exec("insert into worker_tp values('03','车工')");
  p.exec("insert into worker(wkcode,wkname,bmcode,tpcode) values('0001','李四','01','03')");
  p.exec("insert into worker(wkcode,wkname,bmcode) values('0002','王五','01')");
  EXPECT_EQ(DBFun::workerPosition("0001"), "[03]车工");
  EXPECT_EQ(DBFun::workerPosition("0002"), "");
  EXPECT_EQ(DBFun::workerPosition("9999"), "");
  EXPECT_FALSE(DBFun::workerInUse("0001"));
  p.exec("insert into gzdata(xyear,xmonth,wkcode) values(2010,4,'0001')");
  EXPECT_TRUE(DBFun::workerInUse("0001"));

  p.exec("insert into operator(operno,opername,pwd) values('02','张三','')");
  p.exec("insert into rolelist values('张三',1301)");
  p.login("张三", "02");
  EXPECT_TRUE(DBFun::hasPermission(1301));
  EXPECT_FALSE(DBFun::hasPermission(1303));
  p.login("ADMIN");
  EXPECT_TRUE(DBFun::hasPermission(1303));
}
