#include "maintenance/Archive.h"

#include "store/Schema.h"

#include <sqlite3.h>
#include <unistd.h>
#include <zip.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QStorageInfo>
#include <QTemporaryFile>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

namespace Archive {
namespace {

FreeSpaceProbe& freeSpaceProbe() {
  static FreeSpaceProbe probe;
  return probe;
}

qint64 freeBytes(const QString& dir) {
  if (freeSpaceProbe()) return freeSpaceProbe()(dir);
  QStorageInfo info(dir);
  return info.isValid() ? info.bytesAvailable() : -1;
}

QString zipCodeText(int code) {
  zip_error_t e;
  zip_error_init_with_code(&e, code);
  QString text = QString::fromLocal8Bit(zip_error_strerror(&e));
  zip_error_fini(&e);
  return text;
}

QString zipText(zip_t* za) { return QString::fromLocal8Bit(zip_error_strerror(zip_get_error(za))); }

QByteArray path(const QString& p) { return QFile::encodeName(p); }

// The data must be on the disk before a rename makes it the real file.
bool syncFile(const QString& file) {
  QFile f(file);
  if (!f.open(QIODevice::ReadOnly)) return false;
  return ::fsync(f.handle()) == 0;
}

void syncDir(const QString& dir) {
  QFile d(dir);
  if (d.open(QIODevice::ReadOnly)) ::fsync(d.handle());
}

struct ZipDiscard {
  void operator()(zip_t* za) const { zip_discard(za); }
};
using ZipPtr = std::unique_ptr<zip_t, ZipDiscard>;

struct SqliteClose {
  void operator()(sqlite3* db) const { sqlite3_close(db); }
};

QString stamp() { return QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd_HHmmss")); }

// SQLite keeps a rollback journal or write-ahead log beside the database;
// they belong to the file they were written for and move with it.
const char* const kSidecars[] = {"-journal", "-wal", "-shm"};

}  // namespace

QString backupFileName(const QDateTime& when) {
  return QStringLiteral("jjgz") + when.toString(QStringLiteral("yyyyMMdd_HHmmss")) + QStringLiteral(".bak");
}

const QStringList& requiredTables() { return Schema::tableNames(); }

void setFreeSpaceProbe(FreeSpaceProbe probe) { freeSpaceProbe() = std::move(probe); }

Result writeBackup(const QString& database, const QString& target, const Progress& progress) {
  Result r;
  if (!QFileInfo(database).isFile()) {
    r.error = QStringLiteral("数据库文件不存在：") + QDir::toNativeSeparators(database);
    return r;
  }
  const QString part = target + QStringLiteral(".part");
  QFile::remove(part);

  int code = 0;
  ZipPtr za(zip_open(path(part).constData(), ZIP_CREATE | ZIP_TRUNCATE, &code));
  if (!za) {
    r.error = QStringLiteral("无法创建备份文件：") + zipCodeText(code);
    return r;
  }
  zip_source_t* src = zip_source_file(za.get(), path(database).constData(), 0, -1);
  if (!src) {
    r.error = QStringLiteral("无法读取数据库文件：") + zipText(za.get());
    return r;
  }
  const zip_int64_t idx = zip_file_add(za.get(), kEntryName, src, ZIP_FL_ENC_UTF_8);
  if (idx < 0) {
    zip_source_free(src);
    r.error = zipText(za.get());
    return r;
  }
  if (zip_set_file_compression(za.get(), static_cast<zip_uint64_t>(idx), ZIP_CM_DEFLATE, 6) != 0) {
    r.error = zipText(za.get());
    return r;
  }
  if (progress) {
    auto* state = new Progress(progress);
    zip_register_progress_callback_with_state(
        za.get(), 0.01,
        [](zip_t*, double done, void* ud) { (*static_cast<Progress*>(ud))(static_cast<int>(done * 100.0 + 0.5)); },
        [](void* ud) { delete static_cast<Progress*>(ud); }, state);
  }
  if (zip_close(za.get()) != 0) {
    r.error = QStringLiteral("写入备份文件失败：") + zipText(za.get());
    QFile::remove(part);
    return r;
  }
  za.release();  // zip_close freed it

  if (!syncFile(part) || std::rename(path(part).constData(), path(target).constData()) != 0) {
    r.error = QStringLiteral("写入备份文件失败：") + QString::fromLocal8Bit(strerror(errno));
    QFile::remove(part);
    return r;
  }
  syncDir(QFileInfo(target).absolutePath());
  if (progress) progress(100);
  r.ok = true;
  r.files = 1;
  return r;
}

QString checkDatabase(const QString& file) {
  {
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly)) return QStringLiteral("无法读取：") + f.errorString();
    if (f.read(16) != QByteArray("SQLite format 3", 16)) return QStringLiteral("zt000.mdb 不是数据库文件");
  }
  sqlite3* raw = nullptr;
  const int rc = sqlite3_open_v2(path(file).constData(), &raw, SQLITE_OPEN_READWRITE, nullptr);
  std::unique_ptr<sqlite3, SqliteClose> db(raw);
  if (rc != SQLITE_OK)
    return QStringLiteral("无法打开 zt000.mdb：") + QString::fromUtf8(raw ? sqlite3_errmsg(raw) : sqlite3_errstr(rc));

  auto column = [&](const char* sql, QStringList& out) -> QString {
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(db.get(), sql, -1, &st, nullptr) != SQLITE_OK)
      return QString::fromUtf8(sqlite3_errmsg(db.get()));
    int step;
    while ((step = sqlite3_step(st)) == SQLITE_ROW)
      out << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, 0)));
    sqlite3_finalize(st);
    return step == SQLITE_DONE ? QString() : QString::fromUtf8(sqlite3_errmsg(db.get()));
  };

  QStringList rows;
  QString err = column("pragma integrity_check", rows);
  if (!err.isEmpty()) return QStringLiteral("zt000.mdb 已损坏：") + err;
  if (rows.value(0) != QLatin1String("ok"))
    return QStringLiteral("zt000.mdb 未通过完整性检查：") + rows.value(0);

  QStringList names;
  err = column("select lower(name) from sqlite_master where type='table'", names);
  if (!err.isEmpty()) return QStringLiteral("zt000.mdb 已损坏：") + err;
  const QSet<QString> have(names.begin(), names.end());
  QStringList missing;
  for (const QString& t : requiredTables())
    if (!have.contains(t)) missing << t;
  if (!missing.isEmpty())
    return QStringLiteral("zt000.mdb 不是本系统的数据库，缺少数据表：") + missing.join(QStringLiteral(", "));
  return {};
}

Result restore(const QString& archive, const QString& database, const Progress& progress) {
  Result r;
  auto fail = [&r](const QString& why) {
    r.error = why;
    return r;
  };
  if (!QFileInfo(archive).isFile()) return fail(QStringLiteral("文件不存在"));

  int code = 0;
  ZipPtr za(zip_open(path(archive).constData(), ZIP_RDONLY | ZIP_CHECKCONS, &code));
  if (!za) {
    if (code == ZIP_ER_NOZIP || code == ZIP_ER_INCONS || code == ZIP_ER_EOF)
      return fail(QStringLiteral("文件不是zip压缩格式，或已损坏"));
    return fail(QStringLiteral("无法打开备份文件：") + zipCodeText(code));
  }

  // The entry is found by its plain name; folders stored in the archive do
  // not matter, but a name that climbs out of its folder is not trusted.
  zip_int64_t found = -1;
  const zip_int64_t count = zip_get_num_entries(za.get(), 0);
  for (zip_int64_t i = 0; i < count && found < 0; ++i) {
    const char* raw = zip_get_name(za.get(), static_cast<zip_uint64_t>(i), ZIP_FL_ENC_GUESS);
    if (!raw) continue;
    const QString name = QString::fromUtf8(raw).replace(QLatin1Char('\\'), QLatin1Char('/'));
    if (name.endsWith(QLatin1Char('/'))) continue;
    if (name.section(QLatin1Char('/'), -1).compare(QLatin1String(kEntryName), Qt::CaseInsensitive) != 0) continue;
    if (name.split(QLatin1Char('/')).contains(QStringLiteral("..")))
      return fail(QStringLiteral("压缩文件中的路径不安全：") + name);
    found = i;
  }
  if (found < 0) return fail(QStringLiteral("压缩文件中没有 zt000.mdb"));

  zip_stat_t st;
  zip_stat_init(&st);
  if (zip_stat_index(za.get(), static_cast<zip_uint64_t>(found), 0, &st) != 0 || !(st.valid & ZIP_STAT_SIZE))
    return fail(QStringLiteral("压缩文件已损坏：") + zipText(za.get()));
  if (st.size == 0) return fail(QStringLiteral("zt000.mdb 不是数据库文件"));

  const QString dataDir = QFileInfo(database).absolutePath();
  const qint64 need = static_cast<qint64>(st.size) + 1024 * 1024;
  const qint64 avail = freeBytes(dataDir);
  if (avail >= 0 && avail < need)
    return fail(QStringLiteral("磁盘空间不足，需要 %1 MB，可用 %2 MB")
                    .arg((need + 1048575) / 1048576)
                    .arg(avail / 1048576));

  QTemporaryFile tmp(dataDir + QStringLiteral("/zt000.mdb.restore-XXXXXX"));
  if (!tmp.open()) return fail(QStringLiteral("无法创建临时文件：") + tmp.errorString());

  zip_file_t* zf = zip_fopen_index(za.get(), static_cast<zip_uint64_t>(found), 0);
  if (!zf) return fail(QStringLiteral("无法读取压缩文件中的 zt000.mdb：") + zipText(za.get()));
  QByteArray buf(256 * 1024, Qt::Uninitialized);
  zip_uint64_t done = 0;
  QString readError;
  for (;;) {
    const zip_int64_t n = zip_fread(zf, buf.data(), static_cast<zip_uint64_t>(buf.size()));
    if (n < 0) {
      readError = QStringLiteral("压缩文件中的 zt000.mdb 已损坏：") +
                  QString::fromLocal8Bit(zip_error_strerror(zip_file_get_error(zf)));
      break;
    }
    if (n == 0) break;
    if (tmp.write(buf.constData(), n) != n) {
      readError = QStringLiteral("写入临时文件失败：") + tmp.errorString();
      break;
    }
    done += static_cast<zip_uint64_t>(n);
    if (progress) progress(static_cast<int>(done * 90 / st.size));
  }
  zip_fclose(zf);
  if (!readError.isEmpty()) return fail(readError);
  if (done != st.size) return fail(QStringLiteral("压缩文件中的 zt000.mdb 不完整"));
  if (!tmp.flush() || ::fsync(tmp.handle()) != 0) return fail(QStringLiteral("写入临时文件失败：") + tmp.errorString());
  tmp.close();

  if (QFileInfo::exists(database)) QFile::setPermissions(tmp.fileName(), QFile::permissions(database));
  const QString why = checkDatabase(tmp.fileName());
  if (!why.isEmpty()) return fail(why);
  if (progress) progress(95);

  // Keep the current file under a dated name. A hard link keeps it without
  // ever leaving the database name empty; the rename then swaps atomically.
  const QByteArray db = path(database);
  const bool hadDatabase = QFileInfo::exists(database);
  QString keep;
  bool linked = false;
  if (hadDatabase) {
    const QString base = database + QStringLiteral(".bak-") + stamp();
    keep = base;
    for (int n = 2; QFileInfo::exists(keep) || QFileInfo::exists(keep + "-journal"); ++n)
      keep = base + QStringLiteral("-%1").arg(n);
    linked = ::link(db.constData(), path(keep).constData()) == 0;
    if (!linked && std::rename(db.constData(), path(keep).constData()) != 0)
      return fail(QStringLiteral("无法保留当前数据文件：") + QString::fromLocal8Bit(strerror(errno)));
    for (const char* s : kSidecars)
      if (QFileInfo::exists(database + s)) std::rename((db + s).constData(), (path(keep) + s).constData());
  }
  if (std::rename(path(tmp.fileName()).constData(), db.constData()) != 0) {
    const QString err = QString::fromLocal8Bit(strerror(errno));
    if (hadDatabase) {
      for (const char* s : kSidecars)
        if (QFileInfo::exists(keep + s)) std::rename((path(keep) + s).constData(), (db + s).constData());
      if (linked)
        ::unlink(path(keep).constData());
      else
        std::rename(path(keep).constData(), db.constData());
    }
    return fail(QStringLiteral("无法替换数据文件：") + err);
  }
  tmp.setAutoRemove(false);
  syncDir(dataDir);
  if (progress) progress(100);
  r.ok = true;
  r.files = 1;
  r.keptAs = keep;
  return r;
}

}  // namespace Archive
