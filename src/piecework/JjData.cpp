#include "piecework/JjData.h"

#include <QCloseEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QStyle>
#include <QToolBar>
#include <QVBoxLayout>

#include "app/MainDM.h"
#include "common/MyFun.h"
#include "common/Setup.h"
#include "piecework/JjDataMdy.h"
#include "toolkit/Application.h"
#include "toolkit/DataGrid.h"
#include "toolkit/MsgBox.h"

namespace {
const QString kSection = QStringLiteral("JjData");
const int kFirstLineColumn = 9, kLastLineColumn = 15;

QString processKey(const QString& gzcode, const QString& gxcode) { return gzcode + QChar(0x1f) + gxcode; }
}  // namespace

TfrmJjData::TfrmJjData(QWidget* parent) : TChildWindow(parent), qry(&db()) {
  setObjectName("TfrmJjData");
  setWindowTitle(QStringLiteral("计件数据录入"));

  QToolBar* bar = createOwnToolBar(QStringLiteral("计件数据"), "ToolBar1");
  QAction* aQuery = addTool("btnQuery", QStringLiteral("查询"), QStyle::SP_FileDialogContentsView);
  bar->addSeparator();
  QAction* aAppend = addTool("btnAppend", QStringLiteral("增加"), QStyle::SP_FileDialogNewFolder);
  QAction* aMdy = addTool("btnMdy", QStringLiteral("修改"), QStyle::SP_FileDialogDetailedView);
  QAction* aDel = addTool("btnDel", QStringLiteral("删除"), QStyle::SP_TrashIcon);
  bar->addSeparator();
  QAction* aPrint = addTool("btnPrint", QStringLiteral("打印"), QStyle::SP_FileIcon);
  QAction* aSetup = addTool("btnSetup", QStringLiteral("设置"), QStyle::SP_FileDialogListView);
  QAction* aExport = addTool("btnExport", QStringLiteral("导出"), QStyle::SP_DialogSaveButton);
  bar->addSeparator();
  QAction* aExit = addTool("btnExit", QStringLiteral("退出"), QStyle::SP_DialogCloseButton);

  auto* band = new QFrame(this);
  band->setObjectName("pnlTitle");
  band->setFrameShape(QFrame::StyledPanel);
  auto* caption = new QLabel(QStringLiteral("计件数据"), band);
  QFont bold(songFamily(), 12, QFont::Bold);
  caption->setFont(bold);
  lblTitle = new QLabel(QStringLiteral("标题："), band);
  lblTitle->setObjectName("lblTitle");
  auto* bandLayout = new QHBoxLayout(band);
  bandLayout->addWidget(caption);
  bandLayout->addSpacing(40);
  bandLayout->addWidget(lblTitle);
  bandLayout->addStretch();

  grid = new DataGrid(this);
  grid->setObjectName("grid");
  grid->setGridReadOnly(true);
  grid->setSelectionBehavior(QAbstractItemView::SelectRows);
  auto col = [](const char* field, const QString& title, int width, const QString& format = QString()) {
    return GridColumn{field, title, width, format};
  };
  grid->setColumns({
      col("dt", QStringLiteral("日期"), 80),
      col("gzname", QStringLiteral("工种名称"), 90),
      col("gxname", QStringLiteral("工序名称"), 110),
      col("price", QStringLiteral("单价"), 60),
      col("rs", QStringLiteral("人数"), 40),
      col("xsname", QStringLiteral("系数名称"), 70),
      col("xs", QStringLiteral("系数"), 50, "0.00"),
      col("sl", QStringLiteral("计件数量"), 70, "0.00"),
      col("je", QStringLiteral("金额"), 70, "0.00"),
      col("wkcode", QStringLiteral("员工代码"), 70),
      col("wkname", QStringLiteral("员工姓名"), 70),
      col("sex", QStringLiteral("性别"), 40),
      col("tpname", QStringLiteral("职位名称"), 70),
      col("bl", QStringLiteral("比例"), 50, "0.00"),
      col("je2", QStringLiteral("金额"), 70, "0.00"),
      col("bmname", QStringLiteral("部门名称"), 90),
  });

  tmp.setObjectName("tmp");
  tmp.addField("pid", FieldType::Integer);
  tmp.addField("dt", FieldType::String, 10);
  tmp.addField("gzcode", FieldType::String, 10);
  tmp.addField("gzname", FieldType::String, 200);
  tmp.addField("gxcode", FieldType::String, 50);
  tmp.addField("gxname", FieldType::String, 200);
  tmp.addField("price", FieldType::Float);
  tmp.addField("rs", FieldType::Float);
  tmp.addField("xscode", FieldType::String, 10);
  tmp.addField("xsname", FieldType::String, 50);
  tmp.addField("xs", FieldType::Float);
  tmp.addField("sl", FieldType::Float);
  tmp.addField("je", FieldType::Float);
  tmp.addField("wkcode", FieldType::String, 20);
  tmp.addField("tpcode", FieldType::String, 10);
  tmp.addField("tpname", FieldType::String, 20);
  tmp.addField("bl", FieldType::Float);
  tmp.addField("je2", FieldType::Float);
  tmp.addField("wkname", FieldType::String, 20);
  tmp.addField("bmcode", FieldType::String, 10);
  tmp.addField("bmname", FieldType::String, 20);
  tmp.addField("sex", FieldType::String, 2);
  tmp.createTable();
  grid->setDataSet(&tmp);

  popup = new QMenu(this);
  QAction* pAppend = popup->addAction(QStringLiteral("增加数据"));
  pAppend->setObjectName("mnuAppend");
  QAction* pMdy = popup->addAction(QStringLiteral("修改数据"));
  pMdy->setObjectName("mnuMdy");
  QAction* pDel = popup->addAction(QStringLiteral("删除数据"));
  pDel->setObjectName("mnuDel");
  grid->setPopupMenu(popup);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(band);
  layout->addWidget(grid);
  resize(900, 520);

  connect(aQuery, &QAction::triggered, this, &TfrmJjData::btnQueryClick);
  connect(aAppend, &QAction::triggered, this, &TfrmJjData::btnAppendClick);
  connect(pAppend, &QAction::triggered, this, &TfrmJjData::btnAppendClick);
  connect(aMdy, &QAction::triggered, this, &TfrmJjData::btnMdyClick);
  connect(pMdy, &QAction::triggered, this, &TfrmJjData::btnMdyClick);
  connect(grid, &QAbstractItemView::doubleClicked, this, &TfrmJjData::btnMdyClick);
  connect(aDel, &QAction::triggered, this, &TfrmJjData::btnDelClick);
  connect(pDel, &QAction::triggered, this, &TfrmJjData::btnDelClick);
  connect(aPrint, &QAction::triggered, this, &TfrmJjData::btnPrintClick);
  connect(aSetup, &QAction::triggered, this, &TfrmJjData::btnSetupClick);
  connect(aExport, &QAction::triggered, this, &TfrmJjData::btnExportClick);
  connect(aExit, &QAction::triggered, this, &QWidget::close);

  readLookups();
  Setup::loadColumns(kSection, grid);
}

TfrmJjData::~TfrmJjData() = default;

void TfrmJjData::setTitle(const QString& text) { lblTitle->setText(text); }
QString TfrmJjData::title() const { return lblTitle->text(); }

// A snapshot: names changed later show in the next list window.
void TfrmJjData::readLookups() {
  Query q(&db());
  q.open("select * from jjgx order by gxcode");
  for (q.first(); !q.eof(); q.next())
    processes_.insert(processKey(q.str("gzcode"), q.str("gxcode")), q.str("gxname"));
  auto readPairs = [&q](const QString& sql, const QString& code, const QString& name, QHash<QString, QString>& into) {
    q.open(sql);
    into.reserve(q.recordCount());
    for (q.first(); !q.eof(); q.next()) into.insert(q.str(code), q.str(name));
  };
  readPairs("select * from jjgz order by gzcode", "gzcode", "gzname", trades_);
  readPairs("select * from jjxs order by xscode", "xscode", "xsname", coefficients_);
  readPairs("select * from depart order by bmcode", "bmcode", "bmname", departments_);
  readPairs("select * from worker_tp order by tpcode", "tpcode", "tpname", positions_);
  q.open("select * from worker order by wkcode");
  employees_.reserve(q.recordCount());
  for (q.first(); !q.eof(); q.next())
    employees_.insert(q.str("wkcode"), Employee{q.str("wkname"), q.str("bmcode"), q.str("sex")});
  q.close();
}

bool TfrmJjData::run(const JjFilter& filter) {
  Query next(&db());
  next.setSql(filter.sql);
  for (const auto& p : filter.params) next.bind(p.first, p.second);
  try {
    next.open();
  } catch (const StoreError& e) {
    MsgBox::error(e.message(), QStringLiteral("错误"), this);
    return false;
  }
  filter_ = filter;
  detail_ = filter.detail;
  ran_ = true;
  qry = std::move(next);
  rebuild();
  for (int c = kFirstLineColumn; c <= kLastLineColumn; ++c)
    grid->setColumnVisible(c, detail_ && MyFun::readIni(kSection, "col" + QString::number(c), "1") == "1");
  return true;
}

void TfrmJjData::rebuild() {
  const auto& rows = qry.rows();
  auto at = [this](const char* name) { return qry.fieldIndex(QString::fromLatin1(name)); };
  const int cPid = at(detail_ ? "m.pid" : "pid"), cJe = at(detail_ ? "m.je" : "je");
  const int cDt = at("dt"), cGz = at("gzcode"), cGx = at("gxcode"), cPrice = at("price"), cRs = at("rs");
  const int cXscode = at("xscode"), cXs = at("xs"), cSl = at("sl");
  const int cWk = detail_ ? at("wkcode") : -1, cTp = detail_ ? at("tpcode") : -1;
  const int cBl = detail_ ? at("bl") : -1, cJe2 = detail_ ? at("d.je") : -1;
  auto field = [this](const char* name) { return tmp.fieldIndex(QString::fromLatin1(name)); };
  const int fPid = field("pid"), fDt = field("dt"), fGz = field("gzcode"), fGzName = field("gzname");
  const int fGx = field("gxcode"), fGxName = field("gxname"), fPrice = field("price"), fRs = field("rs");
  const int fXscode = field("xscode"), fXsName = field("xsname"), fXs = field("xs"), fSl = field("sl");
  const int fJe = field("je"), fWk = field("wkcode"), fTp = field("tpcode"), fTpName = field("tpname");
  const int fBl = field("bl"), fJe2 = field("je2"), fWkName = field("wkname"), fBm = field("bmcode");
  const int fBmName = field("bmname"), fSex = field("sex");
  auto text = [](const QVector<QVariant>& row, int c) {
    if (c < 0 || row[c].isNull()) return QString();
    return row[c].typeId() == QMetaType::QString ? row[c].toString() : FieldValue(row[c]).asString();
  };
  auto number = [](const QVector<QVariant>& row, int c) {
    if (c < 0 || row[c].isNull()) return QVariant();
    return row[c].typeId() == QMetaType::Double ? row[c] : QVariant(FieldValue(row[c]).asFloat());
  };
  auto name = [](QVector<QVariant>& out, int f, const QHash<QString, QString>& names, const QString& code) {
    if (code.isEmpty()) return;
    auto it = names.constFind(code);
    if (it != names.constEnd()) out[f] = *it;
  };

  // every row's fields from the result, then its names from the lookups
  QVector<QVector<QVariant>> copy;
  copy.reserve(rows.size());
  const int width = tmp.fieldCount();
  for (const QVector<QVariant>& row : rows) {
    QVector<QVariant> out(width);
    out[fPid] = cPid >= 0 && !row[cPid].isNull() ? QVariant(FieldValue(row[cPid]).asInteger()) : QVariant();
    if (cDt >= 0 && !row[cDt].isNull()) {
      // dates are stored as "yyyy-MM-dd" text; anything else is parsed
      const QVariant& d = row[cDt];
      QString t = d.typeId() == QMetaType::QString ? d.toString() : QString();
      bool plain = t.size() == 10 && t[4] == '-' && t[7] == '-';
      out[fDt] = plain ? t : FieldValue(d).asDate().toString("yyyy-MM-dd");
    }
    const QString gz = text(row, cGz), gx = text(row, cGx), xs = text(row, cXscode);
    out[fGz] = gz;
    out[fGx] = gx;
    out[fPrice] = number(row, cPrice);
    out[fRs] = number(row, cRs);
    out[fXscode] = xs;
    out[fXs] = number(row, cXs);
    out[fSl] = number(row, cSl);
    out[fJe] = number(row, cJe);
    QString wk, tp;
    if (detail_) {
      wk = text(row, cWk);
      tp = text(row, cTp);
      out[fWk] = wk;
      out[fTp] = tp;
      out[fBl] = number(row, cBl);
      out[fJe2] = number(row, cJe2);
    }
    name(out, fGzName, trades_, gz);
    if (!gx.isEmpty()) name(out, fGxName, processes_, processKey(gz, gx));
    name(out, fXsName, coefficients_, xs);
    if (!wk.isEmpty()) {
      auto it = employees_.constFind(wk);
      if (it != employees_.constEnd()) {
        out[fWkName] = it->name;
        out[fBm] = it->bmcode;
        out[fSex] = it->sex;
        name(out, fBmName, departments_, it->bmcode);
      }
    }
    name(out, fTpName, positions_, tp);
    copy.append(std::move(out));
  }
  tmp.disableControls();
  tmp.setRows(std::move(copy));
  if (!tmp.isEmpty()) tmp.last();
  tmp.enableControls();
}

void TfrmJjData::rerun() {
  if (ran_) run(filter_);
}

void TfrmJjData::closeEvent(QCloseEvent* event) {
  qry.close();
  tmp.close();
  trades_.clear();
  coefficients_.clear();
  departments_.clear();
  positions_.clear();
  processes_.clear();
  employees_.clear();
  TChildWindow::closeEvent(event);
}

// ---------------------------------------------------------------- commands

void TfrmJjData::btnQueryClick() {
  TfrmJjDataSel* sel = TfrmJjDataSel::shared();
  if (sel->exec() != QDialog::Accepted) return;
  if (run(sel->filter())) setTitle(QStringLiteral("数据月份：") + sel->filter().monthTitle);
}

void TfrmJjData::btnAppendClick() {
  TfrmJjDataMdy dlg(this);
  dlg.setPositions(positions_);
  dlg.prepareAdd();
  dlg.exec();
  rerun();
}

void TfrmJjData::btnMdyClick() {
  if (!tmp.isActive() || tmp.isEmpty()) return;
  JjRecord r;
  r.pid = int(tmp.field("pid").asInteger());
  r.dt = QDate::fromString(tmp.str("dt"), "yyyy-MM-dd");
  r.gzText = MyFun::codeName(tmp.str("gzcode"), tmp.str("gzname"));
  r.gxText = MyFun::codeName(tmp.str("gxcode"), tmp.str("gxname"));
  r.xsText = MyFun::codeName(tmp.str("xscode"), tmp.str("xsname"));
  r.price = tmp.value("price");
  r.rs = tmp.value("rs");
  r.xs = tmp.value("xs");
  r.sl = tmp.value("sl");
  r.je = tmp.value("je");

  TfrmJjDataMdy dlg(this);
  dlg.setPositions(positions_);
  dlg.prepareModify(r);
  if (dlg.exec() != QDialog::Accepted) return;
  rerun();
  tmp.locate("pid", r.pid);
}

// The whole record goes, its header with every line, from either view.
void TfrmJjData::btnDelClick() {
  if (!tmp.isActive() || tmp.isEmpty()) return;
  if (!MsgBox::ask(QStringLiteral("确定要删除吗？"), this)) return;
  qint64 pid = tmp.field("pid").asInteger();
  try {
    Transaction t(db());
    Query q(&db());
    q.setSql("delete from jjdata_d where pid=:pid");
    q.bind("pid", pid);
    q.exec();
    q.setSql("delete from jjdata where pid=:pid");
    q.bind("pid", pid);
    q.exec();
    t.commit();
  } catch (const StoreError&) {
    MsgBox::error(QStringLiteral("删除失败，正在使用！"), QStringLiteral("提示"), this);
    return;
  }
  rerun();
}

GridPrintOptions TfrmJjData::printOptions() const {
  GridPrintOptions o;
  o.pageHeader = QStringLiteral("计件数据一览表");
  o.headerFont = QFont(songFamily(), 16, QFont::Bold);
  const QString beforeGrid = QStringLiteral("%[v1]");
  o.textBefore = MyFun::replaceFirst(beforeGrid, QStringLiteral("%[v1]"), lblTitle->text());
  o.textFont = QFont(songFamily(), 10);
  o.landscape = detail_;  // sixteen columns of the line view need the width
  return o;
}

void TfrmJjData::btnPrintClick() { GridPrinter::preview(this, grid, printOptions()); }

void TfrmJjData::btnSetupClick() { Setup::showDialog(this, kSection, grid); }

void TfrmJjData::btnExportClick() { Setup::exportGrid(grid, this); }
