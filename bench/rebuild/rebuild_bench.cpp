/*
** Rebuild benchmark. The repair utility's steps on a 200,000-row ACCOUNT (lock the table
** and its backup, copy it to the backup, restructure it, release both), healthy and with
** one overwritten page of records, each against the engine's plain copy of the same table;
** and the healthy rebuild against raw SQLite doing the same work (a backup copy, a new
** table filled by INSERT ... SELECT, and the three indexes). Each figure is the best of
** several runs on a fresh copy, printed with its same-run baseline and the ratio.
*/
#include "catalogue/table_catalog.h"
#include "platform/engine/engine.h"

#include <sqlite3.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <unistd.h>

namespace {

constexpr int kRows = 200000;
constexpr int kRuns = 3;

std::string gDir;

std::string Path(const std::string& name) { return gDir + "/" + name; }

void Exec(sqlite3* db, const std::string& sql) {
  char* error = nullptr;
  if (sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &error) != SQLITE_OK) {
    std::fprintf(stderr, "SQL failed: %s\n", error ? error : "?");
    std::exit(1);
  }
}

void ExecOn(const std::string& path, const std::string& sql) {
  sqlite3* db = nullptr;
  sqlite3_open(path.c_str(), &db);
  Exec(db, sql);
  sqlite3_close(db);
}

double Seconds(std::chrono::steady_clock::duration d) {
  return std::chrono::duration<double>(d).count();
}

void Fresh(const std::string& pristine) {
  for (const char* name : {"ACCOUNT.DB", "ACTBU.DB", "ACTBU1.DB", "ACTPROB.DB", "PLAINCPY.DB",
                           "raw_copy.db", "raw_new.db"}) {
    std::filesystem::remove(Path(name));
  }
  std::filesystem::copy_file(pristine, Path("ACCOUNT.DB"));
  sync();
}

/* The utility's steps through the engine. */
double EngineRebuild(EngineDatabase database) {
  EngineTableCreateDesc desc = *FindCatalogTable("ACCOUNT");
  std::vector<EngineRestructureOp> fieldOps(desc.fieldCount, ENGINE_OP_KEEP);
  std::vector<EngineRestructureOp> indexOps(desc.indexCount, ENGINE_OP_REBUILD);
  desc.fieldOps = fieldOps.data();
  desc.indexOps = indexOps.data();
  auto start = std::chrono::steady_clock::now();
  if (EngineAcquireTableLock(database, "ACCOUNT", "PARADOX") ||
      EngineAcquireTableLock(database, "ACTBU", "PARADOX") ||
      EngineCopyTable(database, 1, "ACCOUNT", "PARADOX", "ACTBU") ||
      EngineRestructureTable(database, 1, &desc, nullptr, nullptr, "ACTPROB", 0) ||
      EngineReleaseTableLock(database, "ACTBU", "PARADOX") ||
      EngineReleaseTableLock(database, "ACCOUNT", "PARADOX")) {
    std::fprintf(stderr, "engine rebuild failed\n");
    std::exit(1);
  }
  return Seconds(std::chrono::steady_clock::now() - start);
}

/* The engine's plain copy of the table, the step the rebuild begins with. */
double EngineCopy(EngineDatabase database) {
  auto start = std::chrono::steady_clock::now();
  if (EngineCopyTable(database, 1, "ACCOUNT", "PARADOX", "PLAINCPY")) {
    std::fprintf(stderr, "engine copy failed\n");
    std::exit(1);
  }
  return Seconds(std::chrono::steady_clock::now() - start);
}

/* The same work in raw SQLite, durable as the engine's is. */
double RawRebuild() {
  auto start = std::chrono::steady_clock::now();
  sqlite3* source = nullptr;
  sqlite3* copy = nullptr;
  sqlite3_open(Path("ACCOUNT.DB").c_str(), &source);
  sqlite3_open(Path("raw_copy.db").c_str(), &copy);
  Exec(copy, "PRAGMA synchronous=FULL");
  sqlite3_backup* backup = sqlite3_backup_init(copy, "main", source, "main");
  sqlite3_backup_step(backup, -1);
  sqlite3_backup_finish(backup);
  sqlite3_close(copy);
  sqlite3_close(source);

  sqlite3* fresh = nullptr;
  sqlite3_open(Path("raw_new.db").c_str(), &fresh);
  Exec(fresh,
       "PRAGMA synchronous=FULL; ATTACH '" + Path("ACCOUNT.DB") +
           "' AS old; BEGIN;"
           "CREATE TABLE records(f1, f2, f3, f4, f5, f6, f7, f8, f9, f10);"
           "INSERT INTO records SELECT f1, f2, f3, f4, f5, f6, f7, f8, f9, f10 FROM old.records;"
           "CREATE UNIQUE INDEX ix0 ON records(f1, f2, f3);"
           "CREATE INDEX ix1 ON records(f7, f1, f2, f3);"
           "CREATE INDEX ix2 ON records(f4, f1, f2, f3); COMMIT;");
  sqlite3_close(fresh);
  return Seconds(std::chrono::steady_clock::now() - start);
}

/* Overwrites one page of records in the middle of the file. */
void DamageOnePage(const std::string& path) {
  sqlite3* db = nullptr;
  sqlite3_open(path.c_str(), &db);
  sqlite3_stmt* stmt = nullptr;
  sqlite3_prepare_v2(db,
                     "SELECT pageno FROM dbstat WHERE name = 'records' AND pagetype = 'leaf' "
                     "ORDER BY pageno",
                     -1, &stmt, nullptr);
  std::vector<int> leaves;
  while (sqlite3_step(stmt) == SQLITE_ROW) leaves.push_back(sqlite3_column_int(stmt, 0));
  sqlite3_finalize(stmt);
  sqlite3_close(db);
  int page = leaves[leaves.size() / 2];
  std::fstream file(path, std::ios::binary | std::ios::in | std::ios::out);
  file.seekp(std::streamoff(page - 1) * 4096);
  std::string garbage(4096, '\xEE');
  file.write(garbage.data(), std::streamsize(garbage.size()));
}

void Report(const char* what, double figure, const char* baselineName, double baseline) {
  std::printf("%-48s %8.3f s   %-30s %8.3f s   ratio %.2f\n", what, figure, baselineName, baseline,
              figure / baseline);
}

}  // namespace

int main() {
  char pattern[] = "/tmp/zarne-rebuild-bench-XXXXXX";
  gDir = ::mkdtemp(pattern);
  EngineInit(ENGINE_VERSION, nullptr);
  EngineDatabase database = nullptr;
  EngineOpenDatabase(nullptr, nullptr, 0, 0, nullptr, 0, nullptr, nullptr, &database);
  EngineSetDirectory(database, gDir.c_str());
  EngineSetPrivateDir((gDir + "/private").c_str());
  EngineCreateTable(database, 0, FindCatalogTable("ACCOUNT"));
  ExecOn(Path("ACCOUNT.DB"),
         "BEGIN; WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i < " +
             std::to_string(kRows - 1) +
             ") INSERT INTO records SELECT 'F' || (i / 10), 'C', i % 10, i, 0, 0,"
             " 730000 + i % 365, 'A payee of reasonable length', printf('Entry %06d', i),"
             " i * 1.25 FROM n; COMMIT;");
  const std::string pristine = Path("pristine.db");
  std::filesystem::copy_file(Path("ACCOUNT.DB"), pristine);
  const std::string damaged = Path("damaged.db");
  std::filesystem::copy_file(pristine, damaged);
  DamageOnePage(damaged);

  double engine = 1e9, raw = 1e9, broken = 1e9, copy = 1e9, brokenCopy = 1e9;
  for (int run = 0; run < kRuns; ++run) {
    Fresh(pristine);
    raw = std::min(raw, RawRebuild());
    Fresh(pristine);
    copy = std::min(copy, EngineCopy(database));
    Fresh(pristine);
    engine = std::min(engine, EngineRebuild(database));
    Fresh(damaged);
    brokenCopy = std::min(brokenCopy, EngineCopy(database));
    Fresh(damaged);
    broken = std::min(broken, EngineRebuild(database));
  }
  std::printf("rebuild of a %d-row ACCOUNT, best of %d runs\n", kRows, kRuns);
  Report("(a) lock, copy, restructure, release", engine, "engine plain copy of the table", copy);
  Report("(b) the same with one overwritten page", broken, "engine plain copy of that table",
         brokenCopy);
  Report("(c) the healthy rebuild (a)", engine, "raw SQLite copy+fill+indexes", raw);
  EngineExit();
  std::filesystem::remove_all(gDir);
  return 0;
}
