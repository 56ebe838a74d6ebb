// Backup archives and verified restore, with real files in temporary folders.
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <zip.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include "maintenance/Archive.h"

namespace {

QByteArray readFile(const QString& p) {
  QFile f(p);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeFile(const QString& p, const QByteArray& bytes) {
  QFile f(p);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
  f.write(bytes);
}

void exec(sqlite3* db, const QString& sql) {
  char* err = nullptr;
  ASSERT_EQ(sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, &err), SQLITE_OK) << err;
}

// A database with this program's tables and one marker row, so that two
// databases can be told apart by content.
void makeDatabase(const QString& file, const QString& marker, const QStringList& tables = Archive::requiredTables()) {
  QFile::remove(file);
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open(QFile::encodeName(file).constData(), &db), SQLITE_OK);
  for (const QString& t : tables) exec(db, QStringLiteral("create table %1 (a text, b text)").arg(t));
  if (tables.contains("params"))
    exec(db, QStringLiteral("insert into params values ('8', '%1')").arg(marker));
  // Enough rows to give the archiver more than one progress step.
  exec(db, "create table filler (x)");
  exec(db, "with recursive n(i) as (select 1 union all select i+1 from n where i<3000) "
           "insert into filler select hex(randomblob(60)) from n");
  sqlite3_close(db);
}

QString marker(const QString& file) {
  sqlite3* db = nullptr;
  QString v;
  if (sqlite3_open_v2(QFile::encodeName(file).constData(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(db, "select b from params where a='8'", -1, &st, nullptr) == SQLITE_OK &&
        sqlite3_step(st) == SQLITE_ROW)
      v = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, 0)));
    sqlite3_finalize(st);
  }
  sqlite3_close(db);
  return v;
}

// Writes a zip whose entries are given as (name, bytes).
void makeZip(const QString& file, const QList<QPair<QString, QByteArray>>& entries) {
  QFile::remove(file);
  int code = 0;
  zip_t* za = zip_open(QFile::encodeName(file).constData(), ZIP_CREATE | ZIP_TRUNCATE, &code);
  ASSERT_TRUE(za);
  for (const auto& e : entries) {
    auto* copy = static_cast<char*>(malloc(e.second.size() + 1));
    memcpy(copy, e.second.constData(), e.second.size());
    zip_source_t* s = zip_source_buffer(za, copy, e.second.size(), 1);
    ASSERT_GE(zip_file_add(za, e.first.toUtf8().constData(), s, 0), 0);
  }
  ASSERT_EQ(zip_close(za), 0);
}

QByteArray run(const QString& program, const QStringList& args, const QString& dir = {}) {
  QProcess p;
  if (!dir.isEmpty()) p.setWorkingDirectory(dir);
  p.start(program, args);
  p.waitForFinished(30000);
  EXPECT_EQ(p.exitCode(), 0) << program.toStdString() << " " << p.readAllStandardError().toStdString();
  return p.readAllStandardOutput();
}

class ArchiveTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(tmp.isValid());
    root = tmp.path();
    QDir(root).mkpath("prog/data");
    QDir(root).mkpath("bk");
    db = root + "/prog/data/zt000.mdb";
    makeDatabase(db, "current");
  }
  void TearDown() override { Archive::setFreeSpaceProbe({}); }

  QStringList dataFiles() const { return QDir(root + "/prog/data").entryList(QDir::Files | QDir::Hidden); }

  QTemporaryDir tmp;
  QString root, db;
};

TEST_F(ArchiveTest, BackupIsAPlainZipThatRestoresByteIdentical) {
  const QString bak = root + "/bk/" + Archive::backupFileName(QDateTime(QDate(2010, 7, 21), QTime(9, 30, 5)));
  EXPECT_TRUE(bak.endsWith("/jjgz20100721_093005.bak"));
  const QByteArray original = readFile(db);

  QList<int> steps;
  const Archive::Result r = Archive::writeBackup(db, bak, [&](int p) { steps << p; });
  ASSERT_TRUE(r.ok) << r.error.toStdString();
  EXPECT_EQ(r.files, 1);
  EXPECT_EQ(QDir(root + "/bk").entryList(QDir::Files | QDir::Hidden), QStringList{"jjgz20100721_093005.bak"});
  ASSERT_FALSE(steps.isEmpty());
  EXPECT_EQ(steps.last(), 100);
  EXPECT_TRUE(std::is_sorted(steps.begin(), steps.end()));

  // Other zip tools see one deflated entry without a folder, holding the file.
  EXPECT_EQ(QString(run("unzip", {"-Z1", bak})).split('\n', Qt::SkipEmptyParts), QStringList{"zt000.mdb"});
  EXPECT_TRUE(run("unzip", {"-Z", "-v", bak}).contains("compression method:                             deflated"));
  EXPECT_EQ(run("unzip", {"-p", bak, "zt000.mdb"}), original);

  makeDatabase(db, "changed later");
  QList<int> rsteps;
  const Archive::Result rr = Archive::restore(bak, db, [&](int p) { rsteps << p; });
  ASSERT_TRUE(rr.ok) << rr.error.toStdString();
  EXPECT_EQ(readFile(db), original);
  EXPECT_EQ(rsteps.last(), 100);
  // The replaced data is kept beside it, dated.
  ASSERT_TRUE(rr.keptAs.startsWith(db + ".bak-"));
  EXPECT_EQ(marker(rr.keptAs), "changed later");
  EXPECT_EQ(dataFiles().size(), 2) << dataFiles().join(' ').toStdString();
}

TEST_F(ArchiveTest, BackupFailureLeavesNoArchive) {
  const QString bak = root + "/bk/jjgz1.bak";
  Archive::Result r = Archive::writeBackup(root + "/prog/data/missing.mdb", bak);
  EXPECT_FALSE(r.ok);
  EXPECT_FALSE(r.error.isEmpty());
  r = Archive::writeBackup(db, root + "/no such dir/jjgz1.bak");
  EXPECT_FALSE(r.ok);
  EXPECT_FALSE(r.error.isEmpty());
  EXPECT_TRUE(QDir(root + "/bk").entryList(QDir::Files | QDir::Hidden).isEmpty());
}

TEST_F(ArchiveTest, ArchivesFromOtherZipToolsRestore) {
  // The zip command, with the database inside a folder of the archive.
  const QString other = root + "/other/backup";
  QDir(root).mkpath("other/backup");
  makeDatabase(other + "/zt000.mdb", "from zip");
  run("zip", {"-q", "-r", root + "/bk/tool.bak", "backup"}, root + "/other");
  ASSERT_TRUE(run("unzip", {"-Z1", root + "/bk/tool.bak"}).contains("backup/zt000.mdb"));

  const Archive::Result r = Archive::restore(root + "/bk/tool.bak", db);
  ASSERT_TRUE(r.ok) << r.error.toStdString();
  EXPECT_EQ(marker(db), "from zip");
  EXPECT_EQ(marker(r.keptAs), "current");
  // Nothing is recreated from the archive's folders.
  EXPECT_FALSE(QFileInfo::exists(root + "/prog/data/backup"));
}

TEST_F(ArchiveTest, RestoreTwiceInOneSecondKeepsBothOldFiles) {
  const QString bak = root + "/bk/a.bak";
  makeDatabase(root + "/zt000.mdb", "archived");
  run("zip", {"-q", "-j", bak, root + "/zt000.mdb"});
  ASSERT_TRUE(Archive::restore(bak, db).ok);
  makeDatabase(db, "second");
  const Archive::Result r = Archive::restore(bak, db);
  ASSERT_TRUE(r.ok) << r.error.toStdString();
  EXPECT_EQ(marker(r.keptAs), "second");
  EXPECT_EQ(dataFiles().size(), 3) << dataFiles().join(' ').toStdString();
}

TEST_F(ArchiveTest, StaleJournalMovesWithTheReplacedFile) {
  // A journal left beside the old file must never be applied to the new one.
  writeFile(db + "-journal", "old journal");
  const QString bak = root + "/bk/a.bak";
  makeDatabase(root + "/zt000.mdb", "archived");
  run("zip", {"-q", "-j", bak, root + "/zt000.mdb"});
  const Archive::Result r = Archive::restore(bak, db);
  ASSERT_TRUE(r.ok) << r.error.toStdString();
  EXPECT_FALSE(QFileInfo::exists(db + "-journal"));
  EXPECT_EQ(readFile(r.keptAs + "-journal"), "old journal");
  EXPECT_EQ(marker(db), "archived");
}

struct BadArchive {
  const char* what;
  std::function<void(const QString& root, const QString& bak)> make;
  const char* reasonPart;
};

void PrintTo(const BadArchive& b, std::ostream* os) { *os << b.what; }

class RefusedArchive : public ArchiveTest, public ::testing::WithParamInterface<BadArchive> {};

TEST_P(RefusedArchive, IsRefusedWithAReasonAndTheDataUntouched) {
  const QString bak = root + "/bk/bad.bak";
  GetParam().make(root, bak);
  const QByteArray before = readFile(db);
  const QStringList filesBefore = dataFiles();

  const Archive::Result r = Archive::restore(bak, db);
  EXPECT_FALSE(r.ok);
  EXPECT_TRUE(r.error.contains(QString::fromUtf8(GetParam().reasonPart))) << r.error.toStdString();
  EXPECT_EQ(readFile(db), before);
  EXPECT_EQ(dataFiles(), filesBefore);
  EXPECT_FALSE(QFileInfo::exists(root + "/prog/zt000.mdb"));
  EXPECT_EQ(marker(db), "current");
}

QByteArray validDatabase(const QString& root, const QString& mark) {
  const QString f = root + "/valid.mdb";
  makeDatabase(f, mark);
  return readFile(f);
}

const BadArchive kBad[] = {
    {"TextFileNamedLikeTheDatabase",
     [](const QString&, const QString& bak) { makeZip(bak, {{"zt000.mdb", "just some text\n"}}); }, "不是数据库文件"},
    {"EntryClimbingOutOfItsFolder",
     [](const QString& root, const QString& bak) { makeZip(bak, {{"../zt000.mdb", validDatabase(root, "evil")}}); },
     "路径不安全"},
    {"TruncatedArchive",
     [](const QString& root, const QString& bak) {
       const QString full = root + "/bk/full.zip";
       makeZip(full, {{"zt000.mdb", validDatabase(root, "cut")}});
       const QByteArray bytes = readFile(full);
       QFile::remove(full);
       writeFile(bak, bytes.left(bytes.size() / 2));
     },
     "zip"},
    {"EmptyFile", [](const QString&, const QString& bak) { writeFile(bak, {}); }, "zip"},
    {"EmptyZip",
     [](const QString&, const QString& bak) { writeFile(bak, QByteArray("PK\x05\x06", 4) + QByteArray(18, '\0')); },
     "没有 zt000.mdb"},
    {"NotAZipAtAll", [](const QString&, const QString& bak) { writeFile(bak, QByteArray(4096, 'x')); }, "zip"},
    {"ZipWithoutTheDatabase",
     [](const QString& root, const QString& bak) { makeZip(bak, {{"other.mdb", validDatabase(root, "x")}}); },
     "没有 zt000.mdb"},
    {"ForeignDatabase",
     [](const QString& root, const QString& bak) {
       const QString f = root + "/foreign.mdb";
       makeDatabase(f, "foreign", {"params", "customers"});
       makeZip(bak, {{"zt000.mdb", readFile(f)}});
     },
     "缺少数据表"},
    {"DamagedDatabasePages",
     [](const QString& root, const QString& bak) {
       QByteArray bytes = validDatabase(root, "damaged");
       for (int i = 4096 * 3; i < 4096 * 6; ++i) bytes[i] = char(i * 7);
       makeZip(bak, {{"zt000.mdb", bytes}});
     },
     "已损坏"},
    {"DamagedCompressedData",
     [](const QString& root, const QString& bak) {
       makeZip(bak, {{"zt000.mdb", validDatabase(root, "crc")}});
       QByteArray bytes = readFile(bak);
       for (int i = 200; i < 400; ++i) bytes[i] = char(bytes[i] ^ 0x5a);
       writeFile(bak, bytes);
     },
     "损坏"},
};

INSTANTIATE_TEST_SUITE_P(Archive, RefusedArchive, ::testing::ValuesIn(kBad),
                         [](const auto& info) { return std::string(info.param.what); });

TEST_F(ArchiveTest, EntryLargerThanTheFreeDiskIsRefused) {
  const QString bak = root + "/bk/a.bak";
  ASSERT_TRUE(Archive::writeBackup(db, bak).ok);
  makeDatabase(db, "current");
  const QByteArray before = readFile(db);
  Archive::setFreeSpaceProbe([](const QString&) { return qint64(4096); });
  const Archive::Result r = Archive::restore(bak, db);
  EXPECT_FALSE(r.ok);
  EXPECT_TRUE(r.error.contains("磁盘空间不足")) << r.error.toStdString();
  EXPECT_EQ(readFile(db), before);
  EXPECT_EQ(dataFiles(), QStringList{"zt000.mdb"});
}

}  // namespace
