#include "payroll/GzData.h"

#include <QAbstractItemDelegate>
#include <QApplication>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <cmath>
#include <map>
#include <memory>

#include "app/MainDM.h"
#include "app/Session.h"
#include "common/MyFun.h"
#include "common/Setup.h"
#include "store/DBFun.h"
#include "payroll/ExParser.h"
#include "payroll/GzReports.h"
#include "toolkit/DataGrid.h"
#include "toolkit/MonthPicker.h"
#include "toolkit/MsgBox.h"

namespace {
// The fixed fields before the items: two hidden codes, then what the user sees.
constexpr int kWkcode = 4;
constexpr int kFirstItem = 7;

QString monthText(int year, int month) {
  return QStringLiteral("%1-%2").arg(year, 4, 10, QChar('0')).arg(month, 2, 10, QChar('0'));
}

QString errorText(const std::exception& e) { return QString::fromUtf8(e.what()); }
}  // namespace

TfrmGzData::TfrmGzData(QWidget* parent) : TChildWindow(parent) {
  setObjectName("TfrmGzData");
  setWindowTitle(QStringLiteral("工资数据录入"));

  createOwnToolBar(QStringLiteral("工资数据"), "ToolBar1");
  addButton("btnLoad", QStringLiteral("调出"), QStyle::SP_DialogOpenButton);
  btnRegen = addButton("btnRegen", QStringLiteral("重新生成"), QStyle::SP_BrowserReload);
  btnCalc = addButton("btnCalc", QStringLiteral("计算"), QStyle::SP_DialogApplyButton);
  btnPayslip = addButton("btnPayslip", QStringLiteral("工资条"), QStyle::SP_FileDialogDetailedView);
  btnPaySheet = addButton("btnPaySheet", QStringLiteral("工资表"), QStyle::SP_FileDialogListView);
  addButton("btnSetup", QStringLiteral("设置"), QStyle::SP_FileDialogContentsView);
  addButton("btnExport", QStringLiteral("导出"), QStyle::SP_DialogSaveButton);
  addButton("btnExit", QStringLiteral("退出"), QStyle::SP_DialogCloseButton);

  auto* band = new QFrame(this);
  band->setObjectName("CoolBar1");
  band->setFrameShape(QFrame::StyledPanel);
  auto* head = new QLabel(QStringLiteral("工资数据"), band);
  QFont hf = head->font();
  hf.setBold(true);
  hf.setPointSize(hf.pointSize() + 4);
  head->setFont(hf);
  auto* lblMonth = new QLabel(QStringLiteral("工资月份"), band);
  edtMonth = new MonthPicker(band, QStringLiteral("yyyy年MM月"));
  edtMonth->setObjectName("edtMonth");
  lblMonth->setBuddy(edtMonth);
  QDate biz = Session::bizQDate();
  if (biz.isValid()) edtMonth->setYearMonth(biz.year(), biz.month());
  auto* bandLayout = new QHBoxLayout(band);
  bandLayout->setContentsMargins(8, 4, 8, 4);
  bandLayout->addWidget(head);
  bandLayout->addSpacing(24);
  bandLayout->addWidget(lblMonth);
  bandLayout->addWidget(edtMonth);
  bandLayout->addStretch(1);

  grid = new DataGrid(this);
  grid->setObjectName("grid");
  tmp.setObjectName("tmp");
  grid->setDataSet(&tmp);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(band);
  layout->addWidget(grid, 1);

  // Formulas, departments and positions are those of the moment the window opens.
  qryGs.setConnection(&db());
  qryDepart.setConnection(&db());
  qryTp.setConnection(&db());
  qryXm.setConnection(&db());
  qryGs.open("select * from gzgs order by xh");
  qryDepart.open("select * from depart order by bmcode");
  for (qryDepart.first(); !qryDepart.eof(); qryDepart.next())
    departNames_.insert(qryDepart.str("bmcode"), qryDepart.str("bmname"));
  qryTp.open("select * from worker_tp order by tpcode");
  for (qryTp.first(); !qryTp.eof(); qryTp.next()) tpNames_.insert(qryTp.str("tpcode"), qryTp.str("tpname"));
}

TfrmGzData::~TfrmGzData() {
  qryGs.close();
  qryDepart.close();
  qryTp.close();
  qryXm.close();
}

QAction* TfrmGzData::addButton(const QString& name, const QString& text, int icon) {
  QAction* a = addTool(name.toLatin1().constData(), text, QStyle::StandardPixmap(icon));
  if (name == "btnLoad") connect(a, &QAction::triggered, this, &TfrmGzData::btnLoadClick);
  if (name == "btnRegen") connect(a, &QAction::triggered, this, &TfrmGzData::btnRegenClick);
  if (name == "btnCalc") connect(a, &QAction::triggered, this, &TfrmGzData::btnCalcClick);
  if (name == "btnPayslip") connect(a, &QAction::triggered, this, &TfrmGzData::btnPayslipClick);
  if (name == "btnPaySheet") connect(a, &QAction::triggered, this, &TfrmGzData::btnPaySheetClick);
  if (name == "btnSetup") connect(a, &QAction::triggered, this, &TfrmGzData::btnSetupClick);
  if (name == "btnExport") connect(a, &QAction::triggered, this, &TfrmGzData::btnExportClick);
  if (name == "btnExit") connect(a, &QAction::triggered, this, &QWidget::close);
  return a;
}

void TfrmGzData::setMode(int mode) {
  mode_ = mode;
  QToolBar* bar = ownToolBar();
  auto drop = [bar](QAction*& a) {
    if (!a) return;
    bar->removeAction(a);
    delete a;
    a = nullptr;
  };
  if (mode == 1 || mode == 2) {
    drop(btnCalc);
    drop(btnRegen);
    drop(mode == 1 ? btnPaySheet : btnPayslip);
  }
  grid->setGridReadOnly(mode != 0);
}

// ---------------------------------------------------------------- buttons

void TfrmGzData::btnLoadClick() {
  loadedYear_ = edtMonth->year();
  loadedMonth_ = edtMonth->month();
  try {
    loadMonth();
  } catch (const Abort&) {
  } catch (const std::exception& e) {
    MsgBox::error(errorText(e), QStringLiteral("错误"), this);
  }
}

void TfrmGzData::btnRegenClick() {
  if (!MsgBox::ask(QStringLiteral("要重新生成当月工资数据吗？"), this)) return;
  loadedYear_ = edtMonth->year();
  loadedMonth_ = edtMonth->month();
  try {
    // The month is emptied and prepared afresh as one change.
    Transaction t(db());
    DBFun::deleteMonth(loadedYear_, loadedMonth_);
    PrepareMonth(loadedYear_, loadedMonth_);
    t.commit();
    loadMonth();
  } catch (const Abort&) {
  } catch (const std::exception& e) {
    MsgBox::error(errorText(e), QStringLiteral("错误"), this);
  }
}

void TfrmGzData::btnCalcClick() {
  if (!tmp.isActive() || tmp.isEmpty()) return;
  try {
    commitEdit();
  } catch (const Abort&) {
    return;
  } catch (const std::exception& e) {
    MsgBox::error(errorText(e), QStringLiteral("错误"), this);
    return;
  }
  if (!MsgBox::ask(QStringLiteral("确认要计算") + monthText(loadedYear_, loadedMonth_) +
                       QStringLiteral("月份工资并保存吗？"),
                   this))
    return;
  QApplication::setOverrideCursor(Qt::WaitCursor);
  try {
    CalcSheet();
    SaveSheet();
  } catch (const std::exception& e) {
    QApplication::restoreOverrideCursor();
    MsgBox::error(errorText(e), QStringLiteral("错误"), this);
    return;
  }
  QApplication::restoreOverrideCursor();
  MsgBox::info(QStringLiteral("计算完毕"), QStringLiteral("提示"), this);
}

void TfrmGzData::btnPayslipClick() {
  if (!DBFun::hasPermission(1301)) {
    MsgBox::error(QStringLiteral("本功能无操作权限"), QStringLiteral("提示"), this);
    return;
  }
  GzReports::showPayslips(this, grid, loadedYear_, loadedMonth_);
}

void TfrmGzData::btnPaySheetClick() {
  if (!DBFun::hasPermission(1303)) {
    MsgBox::error(QStringLiteral("本功能无操作权限"), QStringLiteral("提示"), this);
    return;
  }
  GzReports::showPaymentSheet(this, grid, loadedYear_, loadedMonth_);
}

// Both are offered only while a month is loaded.
void TfrmGzData::btnSetupClick() {
  if (!tmp.isActive() || tmp.fieldCount() == 0) return;
  Setup::showDialog(this, settingsSection(), grid);
}

void TfrmGzData::btnExportClick() {
  if (!tmp.isActive() || tmp.fieldCount() == 0) return;
  Setup::exportGrid(grid, this);
}

// Moving the focus off the grid ends the cell editor; its text goes into tmp
// and the row is posted.
void TfrmGzData::commitEdit() {
  if (QWidget* editor = grid->indexWidget(grid->currentIndex())) {
    QAbstractItemDelegate* d = grid->itemDelegate();
    emit d->commitData(editor);
    emit d->closeEditor(editor, QAbstractItemDelegate::NoHint);
  }
  if (tmp.isEditing() && !tmp.post()) throw Abort();
}

// ---------------------------------------------------------------- load

void TfrmGzData::loadMonth() {
  PrepareMonth(loadedYear_, loadedMonth_);
  qryXm.setSql("select * from gzxm_m where xyear=:xyear and xmonth=:xmonth order by xh");
  qryXm.bind("xyear", loadedYear_).bind("xmonth", loadedMonth_);
  qryXm.open();
  defineSheet();
  LoadSheet();
  BuildColumns();
  Setup::loadColumns(settingsSection(), grid);
}

void TfrmGzData::PrepareMonth(int year, int month) {
  Query& q = dmMain()->qryExec;
  q.setSql("select 1 from gzxm_m where xyear=:xyear and xmonth=:xmonth limit 1");
  q.bind("xyear", year).bind("xmonth", month);
  q.open();
  bool hasItems = !q.isEmpty();
  q.close();
  if (!hasItems) {
    q.setSql(
        "insert into gzxm_m(xyear,xmonth,xh,fname,xmname,ftype,fsize) "
        "select :xyear,:xmonth,xh,fname,xmname,ftype,fsize from gzxm order by xh");
    q.bind("xyear", year).bind("xmonth", month);
    q.exec();
  }
  q.setSql("select 1 from gzdata where xyear=:xyear and xmonth=:xmonth limit 1");
  q.bind("xyear", year).bind("xmonth", month);
  q.open();
  bool hasRows = !q.isEmpty();
  q.close();
  if (!hasRows) {
    q.setSql("insert into gzdata(xyear,xmonth,wkcode) select :xyear,:xmonth,wkcode from worker where state=0");
    q.bind("xyear", year).bind("xmonth", month);
    q.exec();
  }
}

void TfrmGzData::defineSheet() {
  tmp.close();
  tmp.clearFields();
  itemIndex_.clear();
  textItem_.clear();
  tmp.addField("bmcode", FieldType::String, 10);
  tmp.addField("tpcode", FieldType::String, 10);
  tmp.addField("bmname", FieldType::String, 20);
  tmp.addField("tpname", FieldType::String, 20);
  tmp.addField("wkcode", FieldType::String, 20);
  tmp.addField("wkname", FieldType::String, 20);
  tmp.addField("sex", FieldType::String, 2);
  for (qryXm.first(); !qryXm.eof(); qryXm.next()) {
    QString fname = qryXm.str("fname");
    itemIndex_.insert(fname, tmp.fieldCount());
    itemIndex_.insert(fname.toLower(), tmp.fieldCount());
    textItem_.insert(fname, qryXm.integer("ftype") == 1);
    tmp.addField(fname, FieldType::Float);
  }
  tmp.createTable();
}

void TfrmGzData::LoadSheet() {
  QStringList items;
  for (int f = kFirstItem; f < tmp.fieldCount(); ++f) items << tmp.fieldDef(f).name;
  QString sql = "select bmcode,'',tpcode,'',d.wkcode,wkname,sex";
  if (!items.isEmpty()) sql += "," + items.join(',');
  sql +=
      " from gzdata d,worker w where d.wkcode=w.wkcode and xyear=:xyear and xmonth=:xmonth"
      " order by bmcode,w.wkcode";
  Query q(&db());
  q.setSql(sql);
  q.bind("xyear", loadedYear_).bind("xmonth", loadedMonth_);
  q.open();

  // result column -> field of tmp; the two placeholders match nothing
  QVector<std::pair<int, int>> copy;
  for (int c = 0; c < q.fieldCount(); ++c) {
    int f = tmp.fieldIndex(q.fieldName(c));
    if (f >= 0) copy.append({c, f});
  }
  const int bmcode = tmp.fieldIndex("bmcode"), tpcode = tmp.fieldIndex("tpcode");
  const int bmname = tmp.fieldIndex("bmname"), tpname = tmp.fieldIndex("tpname");

  tmp.disableControls();
  try {
    for (const QVector<QVariant>& row : q.rows()) {
      tmp.append();
      for (const auto& [c, f] : copy) tmp.setValueAt(f, row[c]);
      tmp.setValueAt(bmname, departNames_.value(tmp.valueAt(tmp.recNo(), bmcode).toString()));
      tmp.setValueAt(tpname, tpNames_.value(tmp.valueAt(tmp.recNo(), tpcode).toString()));
      tmp.post();
    }
    if (!tmp.isEmpty()) tmp.first();
  } catch (...) {
    tmp.enableControls();
    throw;
  }
  tmp.enableControls();
}

void TfrmGzData::BuildColumns() {
  static const char* const titles[] = {"", "", "部门名称", "职位名称", "员工代码", "员工姓名", "性别"};
  QVector<GridColumn> cols;
  for (int f = 0; f < tmp.fieldCount(); ++f) {
    GridColumn c;
    c.field = tmp.fieldDef(f).name;
    if (f < 2) {
      c.visible = false;
      c.tag = 1;
    } else if (f < kFirstItem) {
      c.title = QString::fromUtf8(titles[f]);
      c.width = f == 6 ? 40 : 70;
      c.infoColor = true;
      c.readOnly = true;
    } else {
      c.width = 60;
      c.displayFormat = "0.00";
      for (qryXm.first(); !qryXm.eof(); qryXm.next())
        if (qryXm.str("fname").compare(c.field, Qt::CaseInsensitive) == 0) {
          c.title = qryXm.str("xmname");
          break;
        }
      for (qryGs.first(); !qryGs.eof(); qryGs.next())
        if (qryGs.str("fname").compare(c.field, Qt::CaseInsensitive) == 0) {
          c.infoColor = true;
          c.readOnly = true;
          break;
        }
    }
    cols << c;
  }
  grid->setColumns(cols);
}

// ---------------------------------------------------------------- calculation

void TfrmGzData::CalcSheet() {
  if (!tmp.isActive() || tmp.isEmpty()) return;

  // Each distinct text is parsed once for the whole calculation; the names
  // are still asked for afresh on every evaluation.
  std::map<QString, std::unique_ptr<TExParser>> parsers;
  auto parserFor = [&](const QString& text) -> TExParser* {
    if (text.isEmpty()) return nullptr;
    auto& p = parsers[text];
    if (!p) {
      p = std::make_unique<TExParser>();
      p->onVariable = [this](const QString& name) { return ExParser1Variable(name); };
      p->setExpression(text);
    }
    return p.get();
  };
  struct Rule {
    int field;
    TExParser* con;
    TExParser* gs;
  };
  QVector<Rule> rules;
  for (int f = kFirstItem; f < tmp.fieldCount(); ++f) {
    const QString name = tmp.fieldDef(f).name;
    for (qryGs.first(); !qryGs.eof(); qryGs.next()) {
      if (qryGs.str("fname").compare(name, Qt::CaseInsensitive) != 0) continue;
      TExParser* gs = parserFor(qryGs.str("gs"));
      if (gs) rules.append({f, parserFor(qryGs.str("con")), gs});
      break;  // only the first formula of a target counts
    }
  }

  loadPieceSums();
  tmp.disableControls();
  try {
    for (tmp.first(); !tmp.eof(); tmp.next()) {
      tmp.edit();
      for (const Rule& r : rules) {
        bool applies = true;
        if (r.con) {
          try {
            applies = r.con->evaluate() == 1.0;
          } catch (...) {
            applies = false;
          }
        }
        try {
          double v = r.gs->evaluate();
          if (!std::isfinite(v)) throw EvalError(QStringLiteral("result is not a number"));
          if (applies) tmp.setValueAt(r.field, MyFun::roundTo(2, v));
        } catch (...) {
          tmp.setValueAt(r.field, QVariant());
        }
      }
      tmp.post();
    }
  } catch (...) {
    pieceCached_ = false;
    tmp.enableControls();
    throw;
  }
  pieceCached_ = false;
  if (!tmp.isEmpty()) tmp.first();
  tmp.enableControls();
}

// One grouped query gives every employee's sums; a failure is kept and
// reported by each name request, as the query per request would have been.
void TfrmGzData::loadPieceSums() {
  pieceSums_.clear();
  pieceError_.clear();
  try {
    Query q(&db());
    q.setSql(
        "select d.wkcode,sum(d.je),sum(sl) from jjdata m,jjdata_d d where m.pid=d.pid"
        " and year(dt)=:xyear and month(dt)=:xmonth group by d.wkcode");
    q.bind("xyear", loadedYear_).bind("xmonth", loadedMonth_);
    q.open();
    for (const QVector<QVariant>& row : q.rows())
      pieceSums_.insert(row[0].toString(), {FieldValue(row[1]).asFloat(), FieldValue(row[2]).asFloat()});
  } catch (const std::exception& e) {
    pieceError_ = errorText(e);
  }
  pieceCached_ = true;
}

double TfrmGzData::PieceSum(int column) {
  QString wkcode = tmp.valueAt(tmp.recNo(), kWkcode).toString();
  if (pieceCached_) {
    if (!pieceError_.isEmpty()) throw StoreError(pieceError_);
    auto it = pieceSums_.constFind(wkcode);
    if (it == pieceSums_.constEnd()) return 0;
    return column == 0 ? it->je : it->sl;
  }
  Query q(&db());
  q.setSql(
      "select sum(d.je),sum(sl) from jjdata m,jjdata_d d where m.pid=d.pid"
      " and year(dt)=:xyear and month(dt)=:xmonth and wkcode=:wkcode");
  q.bind("xyear", loadedYear_).bind("xmonth", loadedMonth_).bind("wkcode", wkcode);
  q.open();
  return q.field(column).asFloat();
}

double TfrmGzData::ExParser1Variable(const QString& name) {
  if (name.startsWith('f')) {
    auto it = itemIndex_.constFind(name);
    if (it == itemIndex_.constEnd()) it = itemIndex_.constFind(name.toLower());
    if (it == itemIndex_.constEnd())
      throw EvalError(QStringLiteral("'%1' is not an item of this month").arg(name));
    return MyFun::toNumber(tmp.valueAt(tmp.recNo(), it.value()));
  }
  if (name == QLatin1String("JJe")) return PieceSum(0);
  if (name == QLatin1String("JSl")) return PieceSum(1);
  throw EvalError(QStringLiteral("no value for '%1'").arg(name));
}

// ---------------------------------------------------------------- save

void TfrmGzData::SaveSheet() {
  Transaction t(db());
  Query& q = dmMain()->qryExec;
  q.setSql("delete from gzdata where xyear=:xyear and xmonth=:xmonth");
  q.bind("xyear", loadedYear_).bind("xmonth", loadedMonth_);
  q.exec();

  QStringList cols = {"xyear", "xmonth", "wkcode"};
  QVector<bool> asText;
  for (int f = kFirstItem; f < tmp.fieldCount(); ++f) {
    cols << tmp.fieldDef(f).name;
    asText << textItem_.value(tmp.fieldDef(f).name);
  }
  QStringList params;
  for (const QString& c : cols) params << ":" + c;
  q.setSql("insert into gzdata(" + cols.join(',') + ") values(" + params.join(',') + ")");
  q.bind("xyear", loadedYear_).bind("xmonth", loadedMonth_);
  for (int r = 0; r < tmp.recordCount(); ++r) {
    q.bind("wkcode", tmp.valueAt(r, kWkcode));
    for (int f = kFirstItem; f < tmp.fieldCount(); ++f) {
      QVariant v = tmp.valueAt(r, f);
      if (!v.isNull() && asText[f - kFirstItem]) v = QString::number(v.toDouble(), 'g', 15);
      q.bind(cols[f - kFirstItem + 3], v);
    }
    q.exec();
  }
  q.close();
  t.commit();
}
