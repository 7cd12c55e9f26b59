/*
** The accounting benchmarks' tables, timer and memory figure.
*/
#include "bench/accounting/bench_tables.h"

#include "accounting/bank_lists.h"
#include "tableaccess/px_globals.h"
#include "tableaccess/px_record.h"
#include "tableaccess/tests/support/shared_tables.h"
#include "tableaccess/value_forms.h"
#include "bench/bench_write.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <sys/resource.h>
#include <unistd.h>

BenchRoot::BenchRoot(const std::string& name)
    : path_("/dev/shm/zarne-" + name + "-" + std::to_string(getpid())) {
  std::filesystem::remove_all(path_);
  setenv("ZARNE_ROOT", path_.c_str(), 1);
}

BenchRoot::~BenchRoot() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

void OpenBenchTables() {
  MakeDirectoryPath(kBenchDataDir);
  MakeDirectoryPath("C:\\ZARNE\\PRIVATE");
  const std::string failed = OpenFreshSharedTables(kBenchDataDir, "C:\\ZARNE\\PRIVATE");
  if (!failed.empty()) {
    std::fprintf(stderr, "%s\n", failed.c_str());
    std::exit(1);
  }
  OpenSharedRecords();
  for (SHORT key = 0; key < 20; ++key) {
    gBankRecord->Clear();
    gBankRecord->SetShort(1, key);
    gBankRecord->SetString(2, ("Trust account " + std::to_string(key)).c_str());
    MustWrite(gBankRecord->Insert());
  }
  LoadBankLists();
}

void CloseBenchTables() { CloseSharedTables(); }

double Seconds(const std::function<void()>& work) {
  auto start = std::chrono::steady_clock::now();
  work();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

long PeakMemoryKb() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}
