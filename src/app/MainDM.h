#pragma once
#include <QObject>

#include "store/Store.h"

// The data module: the one shared connection to data/zt000.mdb in the
// program's directory and the shared queries on it. qryExec is the windows',
// qryExec2 a second one for when two results must be open at once, qryExec3
// the lookup helpers' own.
class TdmMain : public QObject {
  Q_OBJECT
 public:
  TdmMain();
  ~TdmMain() override;

  static TdmMain* instance();

  // Opens the database without creating it. On failure shows
  // "连接数据库库失败(" + the store's message + ")" and returns false.
  bool connect();
  // Connects and logs in; false when the program has to end.
  bool start();
  void disconnect() { conZt.close(); }
  static QString databasePath();

  Connection conZt;
  Query qryExec{&conZt};
  Query qryExec2{&conZt};
  Query qryExec3{&conZt};
};

// The data module of the running program (created on first use).
TdmMain* dmMain();
Connection& db();
