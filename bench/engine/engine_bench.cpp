/*
** Engine benchmark: thirteen per-file tables shaped like BUYER..EXTRA and an ACCOUNT table
** are filled through the engine, then five tasks are timed through the engine and through
** raw SQLite statements on the same files, and the ratios printed. Tasks are timed by the
** processor time they take (the process's, system calls included), so that other programs
** running meanwhile do not count; the posts of both sides alternate in rounds, so that a
** slower stretch of the machine falls on both.
**
**   engine_bench [--small] [--files N] [--entries M] [--dir DIRECTORY]
**
** The default directory is /dev/shm (memory), so that filling a large set stays quick;
** point --dir at a disk to see the cost of synchronous writes.
*/
#include "platform/engine/engine.h"

#include <sqlite3.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <filesystem>
#include <functional>
#include <random>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

const char* const kFileTables[13] = {"BUYER",    "SELLER",   "LENDER",   "SAGENT",   "PROPERTY",
                                     "SUMMARY1", "SUMMARY2", "EXPENSE1", "EXPENSE2", "EXPENSE3",
                                     "EXPENSE4", "TITLEA",   "EXTRA"};

struct Options {
  int files = 20000;
  int entries = 200000;
  std::string dir = "/dev/shm";
};

double Seconds(std::chrono::steady_clock::time_point since) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

/* The processor time this process has used, in seconds. */
double CpuNow() {
  timespec now{};
  ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
  return double(now.tv_sec) + double(now.tv_nsec) * 1e-9;
}

void Check(EngineResult result, const char* what) {
  if (result == ENGINE_OK) return;
  EngineErrorInfo info{};
  EngineGetErrorInfo(1, &info);
  std::fprintf(stderr, "%s failed: 0x%04X %s (%s; %s)\n", what, result, info.message,
               info.context[0], info.context[1]);
  std::exit(1);
}

struct Descriptor {
  EngineTableCreateDesc desc{};
  std::vector<EngineFieldDesc> fields;
  std::vector<EngineIndexDesc> indexes;
  void Field(const char* name, WORD type, WORD subtype, SHORT units) {
    EngineFieldDesc f{};
    f.fieldNumber = WORD(fields.size() + 1);
    std::snprintf(f.name, sizeof f.name, "%s", name);
    f.type = type;
    f.subtype = subtype;
    f.units1 = units;
    fields.push_back(f);
  }
  void Index(const char* name, bool primary, std::vector<WORD> keys) {
    EngineIndexDesc x{};
    std::snprintf(x.name, sizeof x.name, "%s", name);
    x.primary = primary;
    x.unique = primary;
    x.caseInsensitive = !primary;
    x.keyFieldCount = WORD(keys.size());
    for (size_t i = 0; i < keys.size(); ++i) x.keyFields[i] = keys[i];
    indexes.push_back(x);
  }
  const EngineTableCreateDesc* Make(const char* name) {
    std::snprintf(desc.name, sizeof desc.name, "%s", name);
    desc.fieldCount = WORD(fields.size());
    desc.fields = fields.data();
    desc.indexCount = WORD(indexes.size());
    desc.indexes = indexes.data();
    return &desc;
  }
};

/* ~40 fields: the file number, names and addresses, amounts and dates. */
Descriptor FileTableShape() {
  Descriptor d;
  d.Field("FileNum", 1, 0, 15);
  char name[32];
  for (int i = 0; i < 20; ++i) {
    std::snprintf(name, sizeof name, "TEXT%02d", i);
    d.Field(name, 1, 0, i % 2 ? 60 : 30);
  }
  for (int i = 0; i < 15; ++i) {
    std::snprintf(name, sizeof name, "AMT%02d", i);
    d.Field(name, 7, 21, 1);
  }
  for (int i = 0; i < 3; ++i) {
    std::snprintf(name, sizeof name, "DATE%d", i);
    d.Field(name, 2, 0, 1);
  }
  d.Field("COUNT", 5, 0, 1);
  d.Index("", true, {1});
  return d;
}

Descriptor AccountShape() {
  Descriptor d;
  d.Field("FileNum", 1, 0, 15);
  d.Field("Type", 1, 0, 1);
  d.Field("Seq", 7, 0, 1);
  d.Field("Number", 7, 0, 1);
  d.Field("Bank", 5, 0, 1);
  d.Field("Status", 5, 0, 1);
  d.Field("Date", 2, 0, 1);
  d.Field("PayeeDepositor", 1, 0, 60);
  d.Field("Description", 1, 0, 60);
  d.Field("Amount", 7, 21, 1);
  d.Index("", true, {1, 2, 3});
  d.Index("AcctDate", false, {7});
  d.Index("AcctNumber", false, {4});
  return d;
}

std::string FileNumber(int n) {
  char text[16];
  std::snprintf(text, sizeof text, "%04d-%06d", 2000 + n % 3, n);
  return text;
}

EngineCursor OpenTable(EngineDatabase db, const char* name, WORD index = 0) {
  EngineCursor cursor = nullptr;
  Check(EngineOpenTable(db, name, "PARADOX", nullptr, nullptr, index, 0, 0, 2, 0, nullptr, &cursor),
        name);
  return cursor;
}

WORD RecordSize(EngineCursor cursor) {
  EngineCursorProps props{};
  EngineGetCursorProps(cursor, &props);
  return props.recordSize;
}

void Fill(EngineDatabase db, const Options& o) {
  std::mt19937 random(7);
  for (const char* table : kFileTables) {
    Descriptor shape = FileTableShape();
    Check(EngineCreateTable(db, 1, shape.Make(table)), "create");
    EngineCursor c = OpenTable(db, table);
    std::vector<char> r(RecordSize(c));
    for (int n = 0; n < o.files; ++n) {
      EngineInitRecord(c, r.data());
      std::string number = FileNumber(n);
      EnginePutField(c, 1, r.data(), number.c_str());
      for (WORD f = 2; f <= 21; ++f) EnginePutField(c, f, r.data(), "Some text of a party");
      for (WORD f = 22; f <= 36; ++f) {
        double amount = double(random() % 100000) / 100;
        EnginePutField(c, f, r.data(), &amount);
      }
      DWORD day = 730000 + random() % 1000;
      EnginePutField(c, 37, r.data(), &day);
      Check(EngineInsertRecord(c, 0, r.data()), "insert");
    }
    EngineCloseCursor(&c);
  }
  Descriptor account = AccountShape();
  Check(EngineCreateTable(db, 1, account.Make("ACCOUNT")), "create ACCOUNT");
  EngineCursor c = OpenTable(db, "ACCOUNT");
  std::vector<char> r(RecordSize(c));
  const char* types[] = {"C", "D", "A"};
  for (int n = 0; n < o.entries; ++n) {
    EngineInitRecord(c, r.data());
    std::string number = FileNumber(random() % o.files);
    EnginePutField(c, 1, r.data(), number.c_str());
    EnginePutField(c, 2, r.data(), types[random() % 3]);
    double seq = n, check = 1000 + random() % 50000, amount = double(random() % 1000000) / 100;
    SHORT bank = SHORT(random() % 4), status = SHORT(random() % 8);
    DWORD day = 730120 + random() % 1000;
    EnginePutField(c, 3, r.data(), &seq);
    EnginePutField(c, 4, r.data(), &check);
    EnginePutField(c, 5, r.data(), &bank);
    EnginePutField(c, 6, r.data(), &status);
    EnginePutField(c, 7, r.data(), &day);
    EnginePutField(c, 8, r.data(), "Payee or depositor name");
    EnginePutField(c, 10, r.data(), &amount);
    Check(EngineInsertRecord(c, 0, r.data()), "insert ACCOUNT");
  }
  EngineCloseCursor(&c);
}

/* Raw SQLite: the same files, prepared statements, every column read out. */
struct Raw {
  sqlite3* db = nullptr;
  sqlite3_stmt* seek = nullptr;
  explicit Raw(const std::string& path) {
    sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr);
    sqlite3_exec(db, "PRAGMA journal_mode=DELETE; PRAGMA synchronous=FULL;", nullptr, nullptr,
                 nullptr);
    sqlite3_busy_timeout(db, 15000);
    sqlite3_prepare_v3(db, "SELECT rowid, * FROM records WHERE f1 = ?", -1,
                       SQLITE_PREPARE_PERSISTENT, &seek, nullptr);
  }
  ~Raw() {
    sqlite3_finalize(seek);
    sqlite3_close(db);
  }
};

long ReadColumns(sqlite3_stmt* stmt, std::vector<char>& buffer) {
  long sum = 0;
  int columns = sqlite3_column_count(stmt);
  size_t offset = 0;
  for (int i = 0; i < columns; ++i) {
    switch (sqlite3_column_type(stmt, i)) {
      case SQLITE_TEXT: {
        int n = sqlite3_column_bytes(stmt, i);
        const unsigned char* text = sqlite3_column_text(stmt, i);
        if (offset + n + 1 < buffer.size()) std::memcpy(&buffer[offset], text, n);
        offset += n + 1;
        break;
      }
      case SQLITE_FLOAT: {
        double v = sqlite3_column_double(stmt, i);
        std::memcpy(&buffer[offset % (buffer.size() - 8)], &v, 8);
        break;
      }
      default: sum += long(sqlite3_column_int64(stmt, i));
    }
  }
  return sum;
}

struct Result {
  const char* name;
  double engine;
  double raw;
  int operations;
};

void Print(const Result& r) {
  double e = r.engine / r.operations * 1e6, w = r.raw / r.operations * 1e6;
  std::printf("%-34s %10.2f us %10.2f us  ratio %5.2f  (%.0f engine ops/s)\n", r.name, e, w,
              r.engine / r.raw, r.operations / r.engine);
}

}  // namespace

int main(int argc, char** argv) {
  Options o;
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    if (arg == "--small") {
      o.files = 2000;
      o.entries = 20000;
    } else if (arg == "--files" && i + 1 < argc) {
      o.files = std::atoi(argv[++i]);
    } else if (arg == "--entries" && i + 1 < argc) {
      o.entries = std::atoi(argv[++i]);
    } else if (arg == "--dir" && i + 1 < argc) {
      o.dir = argv[++i];
    } else {
      std::fprintf(stderr, "usage: engine_bench [--small] [--files N] [--entries M] [--dir D]\n");
      return 2;
    }
  }
  if (o.files < 1 || o.entries < 1) return 2;
  std::string dir = o.dir + "/zarne-engine-bench-" + std::to_string(::getpid());
  std::filesystem::create_directories(dir + "/private");

  EngineDatabase db = nullptr;
  Check(EngineInit(ENGINE_VERSION, nullptr), "init");
  Check(EngineSetPrivateDir((dir + "/private").c_str()), "private dir");
  Check(EngineOpenDatabase(nullptr, nullptr, 0, 0, nullptr, 0, nullptr, nullptr, &db), "open");
  Check(EngineSetDirectory(db, dir.c_str()), "directory");
  auto start = std::chrono::steady_clock::now();
  Fill(db, o);
  std::printf("filled %d files x 13 tables and %d ACCOUNT entries in %.1f s (%s)\n", o.files,
              o.entries, Seconds(start), dir.c_str());

  std::vector<EngineCursor> cursors;
  std::vector<std::vector<char>> records;
  std::vector<std::unique_ptr<Raw>> raws;
  for (const char* table : kFileTables) {
    cursors.push_back(OpenTable(db, table));
    records.emplace_back(RecordSize(cursors.back()));
    raws.push_back(std::make_unique<Raw>(dir + "/" + table + ".DB"));
  }
  std::vector<char> scratch(4096);
  std::mt19937 random(11);
  std::vector<std::string> keys;
  const int lookups = 100000;
  for (int i = 0; i < lookups; ++i) keys.push_back(FileNumber(random() % o.files));
  long sink = 0;

  double cpuStart = 0;
  // (a) Seek and read one BUYER record by key; both sides warm up on the same keys first.
  EngineCursor buyer = cursors[0];
  std::vector<char>& br = records[0];
  for (int pass = 0; pass < 2; ++pass) {
    for (int i = 0; i < o.files && i < lookups; ++i) {
      std::string key = FileNumber(i);
      EngineInitRecord(buyer, br.data());
      EnginePutField(buyer, 1, br.data(), key.c_str());
      EngineSetToKey(buyer, ENGINE_KEY_EQ, 0, 0, 0, br.data());
      sqlite3_bind_text(raws[0]->seek, 1, key.c_str(), int(key.size()), SQLITE_STATIC);
      if (sqlite3_step(raws[0]->seek) == SQLITE_ROW) sink += ReadColumns(raws[0]->seek, scratch);
      sqlite3_reset(raws[0]->seek);
    }
  }
  cpuStart = CpuNow();
  for (const std::string& key : keys) {
    EngineInitRecord(buyer, br.data());
    EnginePutField(buyer, 1, br.data(), key.c_str());
    Check(EngineSetToKey(buyer, ENGINE_KEY_EQ, 0, 0, 0, br.data()), "seek");
    Check(EngineGetNextRecord(buyer, 0, br.data(), nullptr), "read");
  }
  double engineA = CpuNow() - cpuStart;
  cpuStart = CpuNow();
  for (const std::string& key : keys) {
    sqlite3_stmt* s = raws[0]->seek;
    sqlite3_bind_text(s, 1, key.c_str(), int(key.size()), SQLITE_STATIC);
    if (sqlite3_step(s) == SQLITE_ROW) sink += ReadColumns(s, scratch);
    sqlite3_reset(s);
  }
  double rawA = CpuNow() - cpuStart;

  // (b) Open a closing file: thirteen seeks and reads plus the BUYER lock.
  const int opens = 10000;
  int lockFd = ::open((dir + "/raw.LCK").c_str(), O_RDWR | O_CREAT, 0666);
  cpuStart = CpuNow();
  for (int i = 0; i < opens; ++i) {
    for (size_t t = 0; t < cursors.size(); ++t) {
      EngineInitRecord(cursors[t], records[t].data());
      EnginePutField(cursors[t], 1, records[t].data(), keys[i].c_str());
      Check(EngineSetToKey(cursors[t], ENGINE_KEY_EQ, 0, 0, 0, records[t].data()), "seek");
      Check(EngineGetNextRecord(cursors[t], 0, records[t].data(), nullptr), "read");
    }
    Check(EngineGetRecord(buyer, ENGINE_WRITE_LOCK, nullptr, nullptr), "lock");
    Check(EngineReleaseRecordLock(buyer, 0), "unlock");
  }
  double engineB = CpuNow() - cpuStart;
  cpuStart = CpuNow();
  for (int i = 0; i < opens; ++i) {
    for (auto& raw : raws) {
      sqlite3_bind_text(raw->seek, 1, keys[i].c_str(), int(keys[i].size()), SQLITE_STATIC);
      if (sqlite3_step(raw->seek) == SQLITE_ROW) sink += ReadColumns(raw->seek, scratch);
      sqlite3_reset(raw->seek);
    }
    struct flock lock {};
    lock.l_type = F_WRLCK;
    lock.l_start = 1 + i;
    lock.l_len = 1;
    ::fcntl(lockFd, F_OFD_SETLK, &lock);
    lock.l_type = F_UNLCK;
    ::fcntl(lockFd, F_OFD_SETLK, &lock);
  }
  double rawB = CpuNow() - cpuStart;
  ::close(lockFd);

  // (c) Post an overwrite: find the record by its whole key, then modify it. The two sides
  // take turns, a round of posts each, on the same keys.
  const int posts = 2000, roundPosts = 250;
  sqlite3_stmt* update = nullptr;
  std::string sql = "UPDATE records SET ";
  for (int f = 2; f <= 40; ++f)
    sql += (f > 2 ? ", f" : "f") + std::to_string(f) + " = ?" + std::to_string(f);
  sql += " WHERE f1 = ?1";
  sqlite3_prepare_v2(raws[0]->db, sql.c_str(), -1, &update, nullptr);
  double engineC = 0, rawC = 0;
  for (int first = 0; first < posts; first += roundPosts) {
    const int end = std::min(posts, first + roundPosts);
    cpuStart = CpuNow();
    for (int i = first; i < end; ++i) {
      EngineInitRecord(buyer, br.data());
      EnginePutField(buyer, 1, br.data(), keys[i].c_str());
      Check(EngineSetToKey(buyer, ENGINE_KEY_EQ, 0, 0, 0, br.data()), "seek");
      Check(EngineGetNextRecord(buyer, 0, br.data(), nullptr), "step");
      double amount = i;
      EnginePutField(buyer, 22, br.data(), &amount);
      Check(EngineModifyRecord(buyer, br.data(), 0), "modify");
    }
    engineC += CpuNow() - cpuStart;
    cpuStart = CpuNow();
    for (int i = first; i < end; ++i) {
      sqlite3_bind_text(update, 1, keys[i].c_str(), -1, SQLITE_STATIC);
      for (int f = 2; f <= 21; ++f)
        sqlite3_bind_text(update, f, "Some text of a party", -1, SQLITE_STATIC);
      for (int f = 22; f <= 36; ++f) sqlite3_bind_double(update, f, i);
      for (int f = 37; f <= 40; ++f) sqlite3_bind_int64(update, f, 730000);
      sqlite3_step(update);
      sqlite3_reset(update);
    }
    rawC += CpuNow() - cpuStart;
  }
  sqlite3_finalize(update);

  // (d) Walk ACCOUNT in "AcctDate" order.
  EngineCursor account = OpenTable(db, "ACCOUNT", 1);
  std::vector<char> ar(RecordSize(account));
  int walked = 0;
  cpuStart = CpuNow();
  while (EngineGetNextRecord(account, 0, ar.data(), nullptr) == ENGINE_OK) ++walked;
  double engineD = CpuNow() - cpuStart;
  Raw rawAccount(dir + "/ACCOUNT.DB");
  sqlite3_stmt* walk = nullptr;
  sqlite3_prepare_v2(rawAccount.db, "SELECT rowid, * FROM records ORDER BY f7, f1, f2, f3", -1,
                     &walk, nullptr);
  int rawWalked = 0;
  cpuStart = CpuNow();
  while (sqlite3_step(walk) == SQLITE_ROW) {
    sink += ReadColumns(walk, scratch);
    ++rawWalked;
  }
  double rawD = CpuNow() - cpuStart;
  sqlite3_finalize(walk);

  // (e) The reconciliation section query, its answer read to the end.
  const char* query =
      "SORT: ACCOUNT.DB->\"Number\", ACCOUNT.DB->\"Date\"\r\n"
      "ACCOUNT.DB | Type | Number | Bank | Status | Date             | PayeeDepositor | Amount     |\r\n"
      "           | C    | Check  |1    | 2      | Check <=12/31/2001 | Check          | CheckPlus  |\r\n";
  const int queries = 5;
  int answered = 0;
  cpuStart = CpuNow();
  for (int i = 0; i < queries; ++i) {
    EngineCursor answer = nullptr;
    Check(EngineExecQuery(db, 1, query, &answer), "query");
    std::vector<char> qr(RecordSize(answer));
    answered = 0;
    while (EngineGetNextRecord(answer, 0, qr.data(), nullptr) == ENGINE_OK) ++answered;
    EngineCloseCursor(&answer);
  }
  double engineE = CpuNow() - cpuStart;
  DWORD bound = 0;
  EngineEncodeDate(12, 31, 2001, &bound);
  sqlite3_stmt* recon = nullptr;
  sqlite3_prepare_v2(rawAccount.db,
                     "SELECT f4, f7, f8, f10 FROM records WHERE f2 = 'C' AND f5 = 1 AND "
                     "f6 = 2 AND f7 <= ? ORDER BY f4, f7, f8, f10, rowid",
                     -1, &recon, nullptr);
  int rawAnswered = 0;
  cpuStart = CpuNow();
  for (int i = 0; i < queries; ++i) {
    sqlite3_bind_int64(recon, 1, bound);
    rawAnswered = 0;
    while (sqlite3_step(recon) == SQLITE_ROW) {
      sink += ReadColumns(recon, scratch);
      ++rawAnswered;
    }
    sqlite3_reset(recon);
  }
  double rawE = CpuNow() - cpuStart;
  sqlite3_finalize(recon);

  std::printf("%-34s %13s %13s\n", "task (per operation)", "engine", "raw SQLite");
  Print({"(a) seek+read BUYER by key", engineA, rawA, lookups});
  Print({"(b) open closing file (13+lock)", engineB, rawB, opens});
  Print({"(c) post an overwrite", engineC, rawC, posts});
  Print({"(d) walk ACCOUNT by AcctDate /row", engineD, rawD, walked});
  Print({"(e) reconciliation query", engineE, rawE, queries});
  std::printf("rows walked %d/%d, answer rows %d/%d (checksum %ld)\n", walked, rawWalked, answered,
              rawAnswered, sink);
  EngineExit();
  std::filesystem::remove_all(dir);
  return walked == rawWalked && answered == rawAnswered ? 0 : 1;
}
