#pragma once
#include <QString>

#include "toolkit/ChildWindow.h"

class DataSet;
class DataGrid;
class QGroupBox;
class QPushButton;

// What sets one code table window apart from the others.
struct CodeTableMember {
  QString caption;       // form caption
  QString groupCaption;  // caption of the group around the grid
  QString table;
  QString codeField, codeTitle;
  QString nameField, nameTitle;
  QString extraField, extraTitle;  // empty when the table has no further column
  int widthPid = 0;                // params row holding the width of new codes
};

// A child window that edits the rows of one code table in place: a grid,
// six buttons, a default code for every new row, the save checks before
// every post, a guarded delete and a save prompt on closing.
class TCodeTable : public TChildWindow {
  Q_OBJECT
 public:
  explicit TCodeTable(const CodeTableMember& member, QWidget* parent = nullptr);
  ~TCodeTable() override;

  const CodeTableMember& member() const { return member_; }
  DataSet* dataSet() const { return ds_; }
  DataGrid* grid() const { return grid_; }

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void btnAppendClick();
  void btnMdyClick();
  void btnDelClick();
  void btnSaveClick();
  void btnCancelClick();
  void stateChanged();
  void newRecord();
  bool beforePost();
  void activated();

  CodeTableMember member_;
  DataSet* ds_;
  DataGrid* grid_;
  QGroupBox* group_;
  QPushButton *btnAppend_, *btnMdy_, *btnDel_, *btnSave_, *btnCancel_, *btnClose_;
  bool placed_ = false;
};
