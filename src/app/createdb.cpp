// Install-time tool: creates a new program database with every table and
// the rows the program needs before its first start. Never overwrites.
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <cstdio>

#include "store/Schema.h"
#include "store/Store.h"

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s DATABASE\n", argv[0]);
    return 2;
  }
  QString path = QString::fromLocal8Bit(argv[1]);
  if (QFileInfo::exists(path)) return 0;
  QDir().mkpath(QFileInfo(path).absolutePath());
  try {
    Schema::createDatabase(path);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s\n", e.what());
    return 1;
  }
  return 0;
}
