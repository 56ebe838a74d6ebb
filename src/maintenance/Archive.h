#pragma once
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <functional>

// Writing backup archives and restoring the database from one. No window and
// no connection here: the dialogs close the shared connection around these
// calls. Every refusal carries a reason the user can read.
namespace Archive {

using Progress = std::function<void(int percent)>;

struct Result {
  bool ok = false;
  QString error;  // empty when ok
  int files = 0;  // entries stored or restored
  QString keptAs; // restore: where the replaced database was kept
};

// The name of the entry inside every archive, and of the database file.
inline constexpr const char* kEntryName = "zt000.mdb";

// "jjgz" + yyyyMMdd_HHmmss + ".bak"
QString backupFileName(const QDateTime& when);

// The tables a database must have to be taken as this program's own.
const QStringList& requiredTables();

// Packs `database` as the single entry "zt000.mdb" (deflate, level 6) into
// `target`. The archive is written under a temporary name beside the target
// and renamed when complete, so an interrupted backup leaves no .bak behind.
Result writeBackup(const QString& database, const QString& target, const Progress& progress = {});

// Replaces `database` with the entry "zt000.mdb" of `archive`, found by its
// plain name. The entry is extracted beside the database and must be an
// intact SQLite database with this program's tables; only then is the current
// file kept as <database>.bak-yyyyMMdd_HHmmss and the new one renamed over it.
// On any refusal the current file is left exactly as it was.
Result restore(const QString& archive, const QString& database, const Progress& progress = {});

// Why `file` is not a usable database of this program; empty when it is.
QString checkDatabase(const QString& file);

// Free bytes on the file system holding `dir`; replaceable by tests.
using FreeSpaceProbe = std::function<qint64(const QString& dir)>;
void setFreeSpaceProbe(FreeSpaceProbe probe);  // empty: the real one

}  // namespace Archive
