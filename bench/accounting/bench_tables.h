/*
** What the accounting benchmarks share: a root of their own in memory, the tables made fresh
** in C:\ZARNE\DATA there (the tests' one set-up), the program-wide records, twenty named
** trust accounts in BANK with the bank lists loaded; a timer and the peak memory.
*/
#ifndef ZARNE_BENCH_ACCOUNTING_BENCH_TABLES_H
#define ZARNE_BENCH_ACCOUNTING_BENCH_TABLES_H

#include <functional>
#include <string>

constexpr const char kBenchDataDir[] = "C:\\ZARNE\\DATA";

/* ZARNE_ROOT set to a fresh directory in /dev/shm named after the bench (and this process)
   while the object lives; removed with it. */
class BenchRoot {
 public:
  explicit BenchRoot(const std::string& name);
  ~BenchRoot();
  BenchRoot(const BenchRoot&) = delete;
  BenchRoot& operator=(const BenchRoot&) = delete;

 private:
  std::string path_;
};

/* Makes and opens the tables and names the accounts; the bank lists select gDefaultAccount,
   so a bench that lists one account sets it first. Ends the program when a table cannot be
   made. */
void OpenBenchTables();
/* Closes the records and tables and ends the engine session. */
void CloseBenchTables();

/* Wall-clock seconds the work took. */
double Seconds(const std::function<void()>& work);
/* The process's peak resident memory so far, in kilobytes. */
long PeakMemoryKb();

#endif
