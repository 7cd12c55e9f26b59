/*
** Recalculation benchmark: RecalcAll on a file whose every amount is filled, and the rules
** of one typical edit (a line 801 charge of the borrower), each run 10,000 times, against
** the same number of passes of the TPXRecord::GetDouble reads they make, timed in the same
** run. Prints the times and the ratios.
**
**   recalc_bench [passes]
*/
#include "catalogue/tabgen32.h"
#include "platform/kernel/modules.h"
#include "platform/kernel/paths.h"
#include "statement/recalc_dispatch.h"
#include "tableaccess/engine_session.h"
#include "tableaccess/field_list.h"
#include "tableaccess/px_globals.h"
#include "tableaccess/px_record.h"
#include "tableaccess/px_table.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <random>
#include <string>
#include <utility>
#include <vector>

namespace {

using Field = std::pair<int, int>;

class BenchView : public RecalcView {
 public:
  TPXRecord* records[kFileTableCount] = {};
  ScriptDecimal subtotals[kSubtotalCount];
  TPXRecord* Record(int t) override { return records[t]; }
  ScriptDecimal& Subtotal(int which) override { return subtotals[which]; }
  void RepaintFieldById(int) override {}
  HWND BoxOwner() override { return nullptr; }
  TScriptFieldBinding* ScriptOwner() override { return nullptr; }
};

void Append(std::vector<Field>& reads, int table, std::initializer_list<int> fields) {
  for (int f : fields) reads.push_back({table, f});
}

/* The amounts the full recalculation reads, rule by rule (the paid-by letters aside). */
std::vector<Field> RecalcAllReads() {
  std::vector<Field> r;
  Append(r, kExpense1Table,
         {16, 19, 23, 27, 30, 34, 37, 41, 45, 49, 53, 59, 63, 67, 71, 75, 79, 83, 87, 91});
  Append(r, kExpense1Table,
         {17, 20, 24, 28, 31, 35, 38, 42, 46, 50, 54, 60, 64, 68, 72, 76, 80, 84, 88, 92});
  Append(r, kExpense2Table, {5, 9, 13, 17, 20, 49, 6, 10, 14, 18, 21, 50});
  Append(r, kExpense2Table, {24, 27, 30, 33, 36, 39, 43, 47, 52});
  Append(r, kExtraTable, {6, 7, 8, 9, 10, 11, 12, 13, 14});
  Append(r, kExpense3Table, {3, 6, 9, 12, 15, 18, 22, 26, 33, 36, 39, 42, 45});
  Append(r, kExpense3Table, {4, 7, 10, 13, 16, 19, 23, 27, 34, 37, 40, 43, 46});
  Append(r, kExpense4Table, {2, 4, 6, 10, 12, 16, 18});
  Append(r, kExpense4Table, {8, 14, 20, 23, 26, 52, 55, 9, 15, 21, 24, 27, 53, 56});
  Append(r, kExpense4Table,
         {29, 32, 35, 38, 41, 44, 47, 58, 61, 64, 30, 33, 36, 39, 42, 45, 48, 59, 62, 65});
  Append(r, kExpense1Table, {9, 13, 10, 14});
  Append(r, kSummary1Table, {3, 4, 8, 12, 19, 24, 29, 31, 33, 35, 37});
  Append(r, kExpense4Table, {49});
  Append(r, kSummary1Table, {3, 4, 6, 10, 14, 19, 24, 29, 31, 33, 35, 37});
  Append(r, kSummary2Table,
         {2, 4, 5, 7, 10, 13, 17, 21, 25, 32, 37, 42, 44, 46, 48, 50, 52, 54, 56});
  Append(r, kSummary2Table, {3, 5, 8, 11, 15, 23, 25, 32, 37, 42, 44, 46, 48, 50, 52, 54, 56});
  Append(r, kExpense4Table, {50});
  Append(r, kSummary1Table, {38});
  Append(r, kSummary2Table, {57});
  Append(r, kSummary1Table, {39});
  Append(r, kSummary2Table, {58});
  return r;
}

/* What one borrower's line-800 charge reads: its column, line 1400, line 120, the balance. */
std::vector<Field> OneEditReads() {
  std::vector<Field> r;
  Append(r, kExpense1Table,
         {16, 19, 23, 27, 30, 34, 37, 41, 45, 49, 53, 59, 63, 67, 71, 75, 79, 83, 87, 91});
  Append(r, kExpense1Table, {9, 13});
  Append(r, kSummary1Table, {3, 4, 8, 12, 19, 24, 29, 31, 33, 35, 37});
  Append(r, kExpense4Table, {49});
  Append(r, kSummary1Table, {38});
  Append(r, kSummary2Table, {57});
  return r;
}

template <typename Work>
double Time(int passes, Work work) {
  auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < passes; ++i) work();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace

int main(int argc, char** argv) {
  int passes = argc > 1 ? std::atoi(argv[1]) : 10000;
  std::string root = (std::filesystem::temp_directory_path() / "zarne-recalc-bench").string();
  std::filesystem::remove_all(root);
  std::filesystem::create_directories(root);
  setenv("ZARNE_ROOT", root.c_str(), 1);

  HMODULE layout = LoadLibrary("stmlay32.dll");
  if (!layout) return std::fprintf(stderr, "stmlay32 not found\n"), 1;
  AppendRespaRecords(
      &gRespaFieldList,
      reinterpret_cast<GetFieldCountProc>(GetProcAddress(layout, "GetRespaFieldCount")),
      reinterpret_cast<GetRespaFieldProc>(GetProcAddress(layout, "GetRespaField")));

  std::snprintf(gDatabaseDir, sizeof gDatabaseDir, "%s", "C:\\ZARNE");
  CreateDirectory(gDatabaseDir, nullptr);
  PXInit();
  PXOpenDatabase();
  PXSetDirectory(gDatabaseDir);
  BenchView view;
  std::vector<std::unique_ptr<TPXTable>> tables;
  std::vector<std::unique_ptr<TPXRecord>> records;
  for (int t = 0; t < kFileTableCount; ++t) {
    _CreateZarneTable(gDatabase, kSharedTableNames[t], gDatabaseDir);
    tables.push_back(std::make_unique<TPXTable>(kSharedTableNames[t], 0));
    records.push_back(std::make_unique<TPXRecord>(tables.back().get(), true));
    view.records[t] = records.back().get();
  }
  // Every amount of the statement filled.
  std::mt19937 random(1);
  std::uniform_int_distribution<long> cents(0, 50000000);
  for (TFieldNode* n = FirstField(&gRespaFieldList); n; n = n->next)
    if (n->displayKind == kFieldKindMoney && n->tableIndex < kTitleBTable)
      view.records[n->tableIndex]->SetDouble(n->fieldNumber, cents(random) / 100.0);
  RecalcAll(view);

  const TFieldNode* charge = FindFieldByNumber(&gRespaFieldList, 384);
  std::vector<Field> allReads = RecalcAllReads(), editReads = OneEditReads();
  double sink = 0;
  auto readAll = [&](const std::vector<Field>& reads) {
    for (const Field& f : reads) {
      double value = 0;
      view.records[f.first]->GetDouble(f.second, value);
      sink += value;
    }
  };
  double readsAll = Time(passes, [&] { readAll(allReads); });
  double recalcAll = Time(passes, [&] { RecalcAll(view); });
  double readsEdit = Time(passes, [&] { readAll(editReads); });
  double oneEdit = Time(passes, [&] { RecalcForField(view, charge); });

  std::printf("passes %d (sink %.0f)\n", passes, sink > 0 ? 1.0 : 0.0);
  std::printf("RecalcAll          %8.3f ms   %6.2f us each\n", recalcAll * 1e3,
              recalcAll / passes * 1e6);
  std::printf("  its %zu reads     %8.3f ms   ratio %.2f\n", allReads.size(), readsAll * 1e3,
              recalcAll / readsAll);
  std::printf("RecalcForField 384 %8.3f ms   %6.2f us each\n", oneEdit * 1e3,
              oneEdit / passes * 1e6);
  std::printf("  its %zu reads      %8.3f ms   ratio %.2f\n", editReads.size(), readsEdit * 1e3,
              oneEdit / readsEdit);
  records.clear();
  tables.clear();
  PXExit();
  std::filesystem::remove_all(root);
  return 0;
}
