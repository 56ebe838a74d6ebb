#pragma once
#include <QDialog>

class QCheckBox;
class QPushButton;

// Empties chosen groups of tables.
class TfrmInit : public QDialog {
  Q_OBJECT
 public:
  explicit TfrmInit(QWidget* parent = nullptr);

  QCheckBox* chkOperator;  // 操作员、权限
  QCheckBox* chkJjgz;      // 工种、工序、系数
  QCheckBox* chkGzxm;      // 工资项目及公式
  QCheckBox* chkDepart;    // 部门、职位
  QCheckBox* chkWorker;    // 员工档案
  QCheckBox* chkJjData;    // 计件数据
  QCheckBox* chkGzData;    // 工资数据
  QPushButton* btnYes;
  QPushButton* btnCancel;

 private:
  void run();
};
