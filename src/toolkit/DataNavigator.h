#pragma once
#include <QString>
#include <QWidget>

class QToolButton;
class DataGrid;

// The row buttons above an editable grid: insert, delete, edit, post and
// cancel its current row, each enabled only when it can act.
class DataNavigator : public QWidget {
  Q_OBJECT
 public:
  explicit DataNavigator(DataGrid* grid, QWidget* parent = nullptr);
  // Asked before a row is deleted; no question when empty.
  void setDeleteQuestion(const QString& question) { deleteQuestion_ = question; }

  QToolButton *nbInsert, *nbDelete, *nbEdit, *nbPost, *nbCancel;

 private:
  void updateButtons();
  DataGrid* grid_;
  QString deleteQuestion_;
};
