#include "reference/SelWorker.h"

struct TfrmSelWorker::Private {
  QString code, name;
};

TfrmSelWorker::TfrmSelWorker(QWidget* parent) : QDialog(parent), d(new Private) {
  setObjectName("TfrmSelWorker");
}
TfrmSelWorker::~TfrmSelWorker() { delete d; }
QString TfrmSelWorker::wkcode() const { return d->code; }
QString TfrmSelWorker::wkname() const { return d->name; }
