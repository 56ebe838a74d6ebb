#include "app/MainDM.h"
#include "app/MainFrm.h"
#include "toolkit/Application.h"

int main(int argc, char** argv) {
  Application app(argc, argv);
  TdmMain dm;
  if (!dm.start()) return 0;
  TfrmMain main;
  main.showMaximized();
  return app.exec();
}
