#include "store/Schema.h"

#include <QFile>
#include <QStringList>

#include "store/Password.h"
#include "store/Store.h"

namespace {

const char* const kSchema = R"SQL(
create table operator (
  operno   text primary key,
  opername text not null unique,
  pwd      text,
  dept     text
);
-- names are unique whatever their letter case: "Admin" beside "admin" would
-- hold every right of the administrator
create unique index operator_name_nocase on operator(lower(opername));

create table roles (
  roleid   integer primary key,
  rolename text,
  flag     integer not null default 0
);

create table rolelist (
  opername text not null references operator(opername),
  roleid   integer not null,
  unique (opername, roleid)
);

create table params (
  pid    integer primary key,
  pvalue text,
  pdesc  text
);

create table jjgz (gzcode text primary key, gzname text);
create table jjxs (xscode text primary key, xsname text, xs float default 0);
create table worker_tp (tpcode text primary key, tpname text);
create table depart (bmcode text primary key, bmname text);

create table jjgx (
  gzcode text not null references jjgz(gzcode),
  gxcode text not null,
  gxname text,
  unit   text,
  price  float default 0,
  rs     float default 0,
  primary key (gzcode, gxcode)
);

create table jjgx_d (
  gzcode text,
  gxcode text,
  tpcode text references worker_tp(tpcode),
  bl     float default 0,
  price  float default 0
);
create index jjgx_d_process on jjgx_d(gzcode, gxcode);

create table worker (
  wkcode  text primary key,
  wkname  text,
  bmcode  text references depart(bmcode),
  sex     text,
  tpcode  text references worker_tp(tpcode),
  sfid    text,
  xl      text,
  addr    text,
  phone   text,
  indate  date,
  bankacc text,
  gztp    integer default 0,
  state   integer default 0,
  mm      text
);
create index worker_depart on worker(bmcode);

create table jjdata (
  pid      integer primary key,
  dt       date,
  gzcode   text,
  gxcode   text,
  price    float default 0,
  rs       float default 0,
  xscode   text references jjxs(xscode),
  xs       float default 0,
  sl       float default 0,
  je       float default 0,
  opername text references operator(opername),
  foreign key (gzcode, gxcode) references jjgx(gzcode, gxcode)
);
create index jjdata_dt on jjdata(dt);
create index jjdata_process on jjdata(gzcode, gxcode);

-- a record's lines go with the record
create table jjdata_d (
  pid    integer not null references jjdata(pid) on delete cascade,
  wkcode text,
  tpcode text,
  bl     float default 0,
  je     float default 0
);
create index jjdata_d_pid on jjdata_d(pid);
create index jjdata_d_worker on jjdata_d(wkcode);

create table gzxm (
  xh     integer primary key,
  fname  text not null unique,
  xmname text,
  ftype  integer default 0,
  fsize  integer default 0
);

create table gzxm_m (
  xyear  integer not null,
  xmonth integer not null,
  xh     integer not null,
  fname  text references gzxm(fname),
  xmname text,
  ftype  integer default 0,
  fsize  integer default 0,
  primary key (xyear, xmonth, xh)
);

create table gzgs (
  xh      integer primary key,
  fname   text,
  gs      text,
  gsdesc  text,
  con     text,
  condesc text
);

create table gzdata (
  xyear  integer not null,
  xmonth integer not null,
  wkcode text not null
);
create unique index gzdata_month on gzdata(xyear, xmonth, wkcode);
create index gzdata_worker on gzdata(wkcode);
)SQL";

struct Role {
  int id;
  const char* name;
};
const Role kRoles[] = {
    {1, "【初始设置】"},   {1001, "计件数据录入"}, {1003, "工资数据录入"}, {1005, "结转下月"},
    {1301, "打印工资条"},  {1303, "工资发放表"},   {1305, "工资汇总表"},   {1503, "计件工种设置"},
    {1505, "计件工序设置"}, {1507, "计件系数设置"}, {1509, "工资项目定义"}, {1511, "计算公式定义"},
    {1512, "部门设置"},    {1513, "职位设置"},     {1515, "员工名册管理"}, {1701, "操作员管理"},
    {1703, "设定权限"},    {1705, "修改密码"},     {1901, "数据初始化"},   {1903, "数据备份"},
    {1905, "数据恢复"},    {2101, "帮助主题"},     {2105, "关于..."},
};

struct Param {
  int pid;
  const char* value;
  const char* desc;
};
const Param kParams[] = {
    {1, "2", "计件工种编码长度"}, {2, "2", "计件系数编码长度"}, {3, "2", "职位编码长度"},
    {4, "3", "计件工序编码长度"}, {5, "2", "部门编码长度"},     {6, "4", "员工代码长度"},
    {7, "1", "自动生成员工代码(1:是)"}, {8, "", "使用单位名称"},
};

// Hashing is deliberately slow; the empty password's hash is made once.
const QString& emptyPasswordHash() {
  static const QString h = Password::hash(QString());
  return h;
}

}  // namespace

namespace Schema {

void create(Connection& db) { db.execScript(QString::fromUtf8(kSchema)); }

void seed(Connection& db) {
  Query q(&db);
  q.setSql("insert into operator(operno,opername,pwd,dept) values(:operno,:opername,:pwd,:dept)");
  q.bind("operno", "01").bind("opername", "admin").bind("pwd", emptyPasswordHash()).bind("dept", "");
  q.exec();
  for (const Role& r : kRoles) {
    q.setSql("insert into roles(roleid,rolename,flag) values(:roleid,:rolename,0)");
    q.bind("roleid", r.id).bind("rolename", QString::fromUtf8(r.name));
    q.exec();
  }
  for (const Param& p : kParams) {
    q.setSql("insert into params(pid,pvalue,pdesc) values(:pid,:pvalue,:pdesc)");
    q.bind("pid", p.pid).bind("pvalue", QString::fromUtf8(p.value)).bind("pdesc", QString::fromUtf8(p.desc));
    q.exec();
  }
}

void createDatabase(const QString& path) {
  if (QFile::exists(path)) throw StoreError(QStringLiteral("%1 already exists").arg(path));
  Connection db;
  db.open(path, true);
  Transaction t(db);
  create(db);
  seed(db);
  t.commit();
}

const QStringList& tableNames() {
  static const QStringList names = {"operator", "roles",  "rolelist", "params", "jjgz",   "jjxs",
                                    "worker_tp", "depart", "jjgx",     "jjgx_d", "worker", "jjdata",
                                    "jjdata_d", "gzxm",   "gzxm_m",   "gzgs",   "gzdata"};
  return names;
}

}  // namespace Schema
