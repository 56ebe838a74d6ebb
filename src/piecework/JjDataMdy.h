#pragma once
#include <QDialog>
#include <QHash>
#include <QVariant>

#include "toolkit/DataSet.h"

class QDateEdit;
class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;
class DataGrid;
class NumEdit;
class WideCombo;

// A stored record's header as the list window hands it over for modifying.
struct JjRecord {
  int pid = 0;
  QDate dt;
  QString gzText;  // "[gzcode]gzname"
  QString gxText;  // "[gxcode]gxname"
  QString xsText;  // "[xscode]xsname", "[]" for a record without coefficient
  QVariant price, rs, xs, sl, je;
};

// The piece-work entry dialog: one record with its per-worker lines.
class TfrmJjDataMdy : public QDialog {
  Q_OBJECT
 public:
  enum Mode { Add = 1, Modify = 2 };

  explicit TfrmJjDataMdy(QWidget* parent = nullptr);
  ~TfrmJjDataMdy() override;

  void prepareAdd();
  void prepareModify(const JjRecord& record);
  // Position names by code, used when stored lines are loaded; the list
  // window gives the ones it read when it was created.
  void setPositions(const QHash<QString, QString>& names) { positions_ = names; }

  Mode mode() const { return mode_; }
  int pid() const { return pid_; }
  DataSet* lines() { return &tmp; }

 protected:
  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void cboGzChange();
  void cboGxChange();
  void cboXsChange();
  void edtSlChange();
  void edtJeChange();
  void tmpworkertpChange();
  void tmpblChange();
  bool tmpBeforePost();
  bool gridKeyDown();
  void gridColumns0EditButtonClick();
  void btnYesClick();

  void fillProcesses();
  void loadLines();
  void setWorker(const QString& code, const QString& name);
  void syncEditor();
  double amount() const;

  QDateEdit* edtDt;
  WideCombo* cboGz;
  WideCombo* cboGx;
  QLineEdit* edtUnit;
  NumEdit* edtPrice;
  NumEdit* edtRs;
  WideCombo* cboXs;
  NumEdit* edtXs;
  NumEdit* edtSl;
  NumEdit* edtJe;
  DataSet tmp;
  DataGrid* grid;
  QPushButton* btnSave;
  QPushButton* btnCancel;

  Mode mode_ = Add;
  int pid_ = 0;
  bool filling_ = false;   // the fill switch
  bool lineSwitch_ = false;
  bool shown_ = false;
  QHash<QString, QString> positions_;
};
