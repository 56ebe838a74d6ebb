#pragma once
#include <QStringList>

class QWidget;

// Closes the shared connection for work on the database file and always
// opens it again, whatever happened meanwhile.
class ConnectionPause {
 public:
  ConnectionPause();
  ~ConnectionPause();
  ConnectionPause(const ConnectionPause&) = delete;
  ConnectionPause& operator=(const ConnectionPause&) = delete;
};

// The white notice panel of the backup and restore dialogs: an information
// icon beside the given lines.
QWidget* makeHintPanel(QWidget* parent, const QStringList& lines);
