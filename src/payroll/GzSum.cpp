#include "payroll/GzSum.h"

#include <QAction>
#include <QHBoxLayout>
#include <QLabel>
#include <QRegularExpression>
#include <QToolBar>
#include <QVBoxLayout>

#include "app/MainDM.h"
#include "app/Session.h"
#include "common/Setup.h"
#include "payroll/GzReports.h"
#include "toolkit/Application.h"
#include "toolkit/DataGrid.h"
#include "toolkit/DataSet.h"
#include "toolkit/EnterAsTab.h"
#include "toolkit/GridPrinter.h"
#include "toolkit/MonthPicker.h"
#include "toolkit/MsgBox.h"

TfrmGzSum::TfrmGzSum(QWidget* parent) : TChildWindow(parent), qryXm(&db()) {
  setObjectName("TfrmGzSum");
  setWindowTitle("工资汇总表");

  QToolBar* bar = createOwnToolBar("工资汇总表", "tbGzSum");
  auto add = [&](const char* name, const QString& text, QStyle::StandardPixmap icon, std::function<void()> slot) {
    QAction* a = addTool(name, text, icon);
    connect(a, &QAction::triggered, this, std::move(slot));
    return a;
  };
  btnQuery = add("btnQuery", "查询", QStyle::SP_FileDialogContentsView, [this] { query(); });
  btnPrint = add("btnPrint", "打印", QStyle::SP_FileIcon, [this] { print(); });
  btnSetup = add("btnSetup", "设置", QStyle::SP_FileDialogListView, [this] { setup(); });
  btnExport = add("btnExport", "导出", QStyle::SP_DialogSaveButton, [this] { exportGrid(); });
  bar->addSeparator();
  btnExit = add("btnExit", "退出", QStyle::SP_DialogCloseButton, [this] { close(); });

  auto* band = new QWidget(this);
  band->setObjectName("pnlTop");
  auto* heading = new QLabel("工资汇总表", band);
  heading->setObjectName("lblTitle");
  QFont hf(songFamily(), 16);
  hf.setBold(true);
  heading->setFont(hf);
  edtMonth = new MonthPicker(band);
  edtMonth->setObjectName("edtMonth");
  // The window starts at the business month rather than a fixed one.
  const QDate biz = Session::bizQDate();
  if (biz.isValid()) edtMonth->setYearMonth(biz.year(), biz.month());
  auto* lblMonth = new QLabel("工资月份", band);
  lblMonth->setObjectName("lblMonth");
  lblMonth->setBuddy(edtMonth);
  auto* bandLay = new QHBoxLayout(band);
  bandLay->addWidget(heading);
  bandLay->addSpacing(30);
  bandLay->addWidget(lblMonth);
  bandLay->addWidget(edtMonth);
  bandLay->addStretch(1);

  tmp = new DataSet(this);
  tmp->setObjectName("tmp");
  grid = new DataGrid(this);
  grid->setObjectName("grid");
  grid->setGridReadOnly(true);
  grid->setDataSet(tmp);

  auto* lay = new QVBoxLayout(this);
  lay->setContentsMargins(0, 0, 0, 0);
  lay->setSpacing(0);
  lay->addWidget(band);
  lay->addWidget(grid, 1);
  new EnterAsTab(this);

  Query dep(&db());
  dep.open("select * from depart order by bmcode");
  for (dep.first(); !dep.eof(); dep.next()) departments_.insert(dep.str("bmcode"), dep.str("bmname"));

  resize(900, 600);
  setWindowState(Qt::WindowMaximized);
}

TfrmGzSum::~TfrmGzSum() { qryXm.close(); }

void TfrmGzSum::query() {
  year_ = edtMonth->year();
  month_ = edtMonth->month();
  try {
    qryXm.setSql("select * from gzxm_m where xyear=:xyear and xmonth=:xmonth order by xh");
    qryXm.bind("xyear", year_).bind("xmonth", month_);
    qryXm.open();

    // Item columns are named by the program itself ("f" + number); anything
    // else in the item copy is not a column of gzdata and is left out.
    static const QRegularExpression itemName("^f\\d+$", QRegularExpression::CaseInsensitiveOption);
    QStringList items, sums;
    for (qryXm.first(); !qryXm.eof(); qryXm.next()) {
      const QString f = qryXm.str("fname").trimmed();
      if (!itemName.match(f).hasMatch()) continue;
      items << f;
      sums << "sum(" + f + ") as " + f;
    }

    tmp->disableControls();
    tmp->close();
    tmp->clearFields();
    tmp->addField("bmcode", FieldType::String, 10);
    tmp->addField("bmname", FieldType::String, 20);
    for (const QString& f : items) tmp->addField(f, FieldType::Float);
    tmp->createTable();

    Query q(&db());
    q.setSql("select bmcode,''" + (sums.isEmpty() ? QString() : "," + sums.join(",")) +
             " from gzdata d,worker w where d.wkcode=w.wkcode and xyear=:xyear and xmonth=:xmonth"
             " group by bmcode order by bmcode");
    q.bind("xyear", year_).bind("xmonth", month_);
    q.open();
    for (q.first(); !q.eof(); q.next()) {
      tmp->append();
      const QString code = q.str("bmcode");
      tmp->setValue("bmcode", code);
      tmp->setValue("bmname", departments_.value(code));
      for (const QString& f : items) tmp->setValue(f, q.field(f).value());
      tmp->post();
    }
    tmp->first();
    tmp->enableControls();
    buildColumns();
  } catch (const std::exception& e) {
    tmp->enableControls();
    buildColumns();
    MsgBox::error(QString::fromUtf8(e.what()), "错误", this);
  }
}

void TfrmGzSum::buildColumns() {
  QVector<GridColumn> cols;
  for (int i = 0; i < tmp->fieldCount(); ++i) {
    GridColumn c;
    c.field = tmp->fieldDef(i).name;
    if (i == 0) {
      c.visible = false;
      c.tag = 1;
    } else if (i == 1) {
      c.title = "部门名称";
      c.width = 70;
    } else {
      c.width = 60;
      c.displayFormat = "0.00";
      for (qryXm.first(); !qryXm.eof(); qryXm.next())
        if (qryXm.str("fname").compare(c.field, Qt::CaseInsensitive) == 0) c.title = qryXm.str("xmname");
    }
    cols << c;
  }
  grid->setColumns(cols);
  Setup::loadColumns("GzSum", grid);
}

void TfrmGzSum::print() {
  if (!tmp->isActive()) return;
  GridPrinter::preview(this, grid, GzReports::sheetPrintOptions("工资汇总表", year_, month_));
}

bool TfrmGzSum::printToPdf(const QString& pdfPath) {
  if (!tmp->isActive()) return false;
  return GridPrinter::printToPdf(grid, GzReports::sheetPrintOptions("工资汇总表", year_, month_), pdfPath);
}

void TfrmGzSum::setup() {
  if (!tmp->isActive()) return;
  Setup::showDialog(this, "GzSum", grid);
}

void TfrmGzSum::exportGrid() { Setup::exportGrid(grid, this); }
