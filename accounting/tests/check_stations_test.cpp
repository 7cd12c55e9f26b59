/*
** Check runs of other programs on the same ledger: the check station (a program of its own,
** tests/station/check_station.cpp) killed in the middle of a run, by time and at every change
** to disk of a run while another station waits to print, two stations with roots of
** their own sharing one host directory printing together, a station holding CHECKCTL's lock,
** and a check another station printed after the dialog listed it.
*/
#include "accounting/check_printout.h"
#include "check_fixture.h"
#include "platform/gdi/gdi_print.h"
#include "platform/kernel/paths.h"
#include "platform/testing/other_programs.h"
#include "second_station.h"
#include "tableaccess/check_form_settings.h"
#include "tableaccess/px_globals.h"
#include "tableaccess/px_table.h"
#include "tableaccess/value_forms.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace fs = std::filesystem;

namespace {

/* A check station started with its own environment; its standard input is a pipe (the
   barrier) and its output goes to a file. */
class Station {
 public:
  Station(const std::vector<std::string>& arguments, const std::string& root,
          const std::string& output)
      : output_(output) {
    int pipeFds[2];
    if (pipe(pipeFds) != 0) return;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeFds[0], 0);
    posix_spawn_file_actions_addclose(&actions, pipeFds[1]);
    posix_spawn_file_actions_addopen(&actions, 1, output.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0644);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    std::vector<std::string> env;
    for (char** e = environ; *e != nullptr; ++e)
      if (std::strncmp(*e, "ZARNE_ROOT=", 11) != 0 && std::strncmp(*e, "QT_QPA_PLATFORM=", 16) != 0)
        env.push_back(*e);
    env.push_back("ZARNE_ROOT=" + root);
    env.push_back("QT_QPA_PLATFORM=offscreen");
    std::vector<char*> envp, argv;
    for (std::string& e : env) envp.push_back(e.data());
    envp.push_back(nullptr);
    std::string program = ACCOUNTING_CHECK_STATION;
    argv.push_back(program.data());
    std::vector<std::string> args = arguments;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    if (posix_spawn(&pid_, program.c_str(), &actions, nullptr, argv.data(), envp.data()) != 0)
      pid_ = -1;
    posix_spawn_file_actions_destroy(&actions);
    close(pipeFds[0]);
    input_ = pipeFds[1];
  }
  ~Station() {
    Release();
    Wait();
  }
  /* Waits until the station's output holds `line` (false after the timeout). */
  bool WaitFor(const std::string& line, int milliseconds = 60000) {
    for (int waited = 0; waited < milliseconds; waited += 10) {
      if (Output().find(line) != std::string::npos) return true;
      usleep(10000);
    }
    return false;
  }
  void Release() {
    if (input_ >= 0) {
      // A station that has ended must not end the test with SIGPIPE.
      void (*previous)(int) = std::signal(SIGPIPE, SIG_IGN);
      [[maybe_unused]] ssize_t written = write(input_, "go\n", 3);
      std::signal(SIGPIPE, previous);
      close(input_);
      input_ = -1;
    }
  }
  void Kill() {
    if (pid_ > 0) kill(pid_, SIGKILL);
  }
  int Wait() {
    int status = 0;
    if (pid_ > 0) {
      waitpid(pid_, &status, 0);
      pid_ = -1;
    }
    return status;
  }
  std::string Output() const {
    std::ifstream in(output_);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  int Refused() const {
    std::smatch match;
    const std::string out = Output();
    return std::regex_search(out, match, std::regex(R"(refused (\d+))")) ? std::stoi(match[1]) : -1;
  }

 private:
  pid_t pid_ = -1;
  int input_ = -1;
  std::string output_;
};

std::vector<fs::path> PdfsIn(const fs::path& dir) {
  std::vector<fs::path> files;
  if (fs::exists(dir))
    for (const auto& entry : fs::recursive_directory_iterator(dir))
      if (entry.path().extension() == ".pdf") files.push_back(entry.path());
  return files;
}

/* The check numbers a PDF carries ("Check Number: n"); none when it cannot be read. */
std::vector<long> NumbersIn(const fs::path& pdf) {
  std::vector<long> numbers;
  const std::string text = ProgramOutput("pdftotext '" + pdf.string() + "' - 2>/dev/null");
  const std::regex number(R"(Check Number: (\d+))");
  for (auto it = std::sregex_iterator(text.begin(), text.end(), number);
       it != std::sregex_iterator(); ++it)
    numbers.push_back(std::stol((*it)[1]));
  return numbers;
}

/* A directory of this test's root as the host drive Z: names it, the same for every root. */
std::string HostDrivePath(const char* windowsPath) {
  std::string path = "Z:" + HostPathFromWindowsPath(windowsPath);
  std::replace(path.begin(), path.end(), '/', '\\');
  return path;
}

class CheckStationsTest : public CheckTest {
 protected:
  void SetUp() override {
    CheckTest::SetUp();
    MakeCheckCtl(1001);
  }
  static void PutReadyChecks(const std::string& file, int count) {
    for (int i = 1; i <= count; ++i)
      PutEntry({file, 'C', static_cast<double>(i), 0, 2, kStatusReady, kBlankDate,
                file + " Payee " + std::to_string(i), 10.0 * i, "Check"});
  }
  /* Every check entry of the ledger. */
  static std::vector<TLedgerEntry> AllChecks() {
    std::vector<TLedgerEntry> checks;
    TPXRecord record(gTables[kAccountTable], true);
    for (bool more = record.First(); more; more = record.Next()) {
      TLedgerEntry entry;
      if (record.Read(0) && ReadLedgerEntry(record, entry) && std::strcmp(entry.Type, "C") == 0)
        checks.push_back(entry);
    }
    return checks;
  }
  /* A fresh root for a station whose zarne.ini names this test's directories by host path. */
  std::string StationRoot(const std::string& name) {
    const std::string root = PathInRoot(name);
    fs::create_directories(root + "/windows");
    std::ofstream ini(root + "/windows/zarne.ini");
    ini << "[System]\r\n"
        << "DirDatabase=" << HostDrivePath(gDatabaseDir) << "\r\n"
        << "DirCheckCtl=" << HostDrivePath(gCheckCtlDir) << "\r\n";
    return root;
  }
  /* Two stations on `fileA` and `fileB` started together; both must have run. */
  void RunTwoStations(const std::string& fileA, const std::string& fileB, int& refused) {
    const std::string rootA = StationRoot("station-a"), rootB = StationRoot("station-b");
    Station a({"run", fileA, "barrier"}, rootA, PathInRoot("a.out"));
    Station b({"run", fileB, "barrier"}, rootB, PathInRoot("b.out"));
    ASSERT_TRUE(a.WaitFor("ready")) << a.Output();
    ASSERT_TRUE(b.WaitFor("ready")) << b.Output();
    {
      // A third program holds CHECKCTL while both start, so both are refused at first and
      // try again; once it lets go they race for it.
      Station holder({"hold-checkctl"}, Root(), PathInRoot("holder.out"));
      ASSERT_TRUE(holder.WaitFor("held")) << holder.Output();
      a.Release();
      b.Release();
      usleep(300000);
    }
    ASSERT_TRUE(a.WaitFor("refused", 240000)) << a.Output();
    ASSERT_TRUE(b.WaitFor("refused", 240000)) << b.Output();
    refused = a.Refused() + b.Refused();
    pdfsA_ = PdfsIn(rootA).size();
    pdfsB_ = PdfsIn(rootB).size();
  }
  size_t pdfsA_ = 0, pdfsB_ = 0;
};

TEST_F(CheckStationsTest, AKilledRunNeverLeavesAPrintedNumberReadyOrCheckCtlBehind) {
  PutReadyChecks("K-1", 20);
  Station station({"run", "K-1"}, Root(), PathInRoot("station.out"));
  const fs::path privateDir = GdiPdfOutputDirectory();
  bool appeared = false;
  for (int waited = 0; waited < 120000 && !appeared; waited += 2) {
    appeared = !PdfsIn(privateDir).empty();
    if (!appeared) usleep(2000);
  }
  ASSERT_TRUE(appeared) << station.Output();
  station.Kill();
  station.Wait();

  std::set<long> printedNumbers;
  for (const fs::path& pdf : PdfsIn(privateDir))
    for (long number : NumbersIn(pdf)) printedNumbers.insert(number);
  const double next = StoredNextNumber().value_or(0);
  long highest = 0;
  int ready = 0;
  for (const TLedgerEntry& check : AllChecks()) {
    highest = std::max<long>(highest, check.Number);
    if (check.Status == kStatusReady) {
      ++ready;
      EXPECT_EQ(0, check.Number);
    }
  }
  EXPECT_GT(next, highest);
  for (long number : printedNumbers) {
    bool printed = false;
    for (const TLedgerEntry& check : AllChecks())
      if (check.Number == number) printed = check.Status == kStatusPrinted;
    EXPECT_TRUE(printed) << "check " << number << " reached a PDF";
  }
  EXPECT_LT(ready, 20);
  // Every PDF begun, complete or cut off by the kill, is a check already recorded Printed.
  EXPECT_GE(20 - ready, static_cast<int>(PdfsIn(privateDir).size()));

  // A run here afterwards prints the rest from CHECKCTL's number: the killed run's check is
  // not printed again and no number is used twice.
  const size_t pdfsBefore = PdfsIn(privateDir).size();
  Printers().ChoosePrinter();
  Driver().OnDialog(20905, [](HWND dialog) { PressButton(dialog, IDOK); });
  RunDisburse("K-1", [](HWND dialog, TDisburse&) { PressButton(dialog, 502); });
  std::set<long> distinct;
  for (const TLedgerEntry& check : AllChecks()) {
    EXPECT_EQ(kStatusPrinted, check.Status) << check.PayeeDepositor;
    distinct.insert(check.Number);
  }
  EXPECT_EQ(20u, distinct.size());
  EXPECT_EQ(pdfsBefore + static_cast<size_t>(ready), PdfsIn(privateDir).size());
}

/* Two stations print at once on slow disks; one is killed at a chosen change to disk of its
   run, stepping through every change of recording its checks, run after run; then this
   program prints what the killed one left Ready. No number is ever on two checks, none asks
   whether a used number may be used again, and CHECKCTL stays past every number used. Runs:
   ZARNE_CHECK_KILL_RUNS (8 here; 200 by hand), sync delay ZARNE_CHECK_KILL_SYNC_MS (2; 40 by
   hand, as on a network share). */
TEST_F(CheckStationsTest, AStationKilledAtEveryWriteOfItsRunNeverLeavesANumberForTwoChecks) {
  const char* runsText = std::getenv("ZARNE_CHECK_KILL_RUNS");
  const char* syncText = std::getenv("ZARNE_CHECK_KILL_SYNC_MS");
  const int runs = runsText ? std::atoi(runsText) : 8;
  const std::string syncMs = syncText ? syncText : "2";
  const std::string rootA = StationRoot("station-a"), rootB = StationRoot("station-b");

  // The changes a whole run of three checks makes, counted once without a kill.
  PutReadyChecks("COUNT", 3);
  long writes = 0;
  {
    Station counting({"run", "COUNT"}, rootA, PathInRoot("count.out"));
    counting.Wait();
    std::smatch match;
    const std::string out = counting.Output();
    ASSERT_TRUE(std::regex_search(out, match, std::regex(R"(writes (\d+))"))) << out;
    writes = std::stol(match[1]);
  }
  ASSERT_GT(writes, 6);
  int killed = 0;
  for (int run = 0; run < runs; ++run) {
    const std::string fileA = "KA-" + std::to_string(run), fileB = "KB-" + std::to_string(run);
    PutReadyChecks(fileA, 3);
    PutReadyChecks(fileB, 3);
    const long killAt = 1 + (run * 7919L) % writes;  // every change, in an order that jumps
    {
      Station a({"run", fileA, "barrier", "kill-at", std::to_string(killAt), "slow-sync", syncMs},
                rootA, PathInRoot("ka.out"));
      Station b({"run", fileB, "barrier", "slow-sync", syncMs}, rootB, PathInRoot("kb.out"));
      ASSERT_TRUE(a.WaitFor("ready")) << a.Output();
      ASSERT_TRUE(b.WaitFor("ready")) << b.Output();
      a.Release();
      b.Release();
      const int status = a.Wait();
      killed += WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL;
      ASSERT_TRUE(b.WaitFor("writes", 240000)) << b.Output();
    }
    // What the killed station left Ready prints here, from the number it proposes.
    Boxes().Clear();
    Printers().ChoosePrinter();
    Driver().OnDialog(20905, [](HWND dialog) { PressButton(dialog, IDOK); });
    RunDisburse(fileA.c_str(), [](HWND dialog, TDisburse&) { PressButton(dialog, 502); });
    // No error: at most the one box that says where the run's checks were printed.
    EXPECT_LE(Shown().size(), 1u) << "run " << run;
    for (const MessageBoxRequest& box : Shown())
      EXPECT_EQ(box.caption, "Printed to a File") << "run " << run << ": " << box.text;

    std::map<long, int> uses;
    long highest = 0;
    for (const TLedgerEntry& check : AllChecks()) {
      if (check.Status == kStatusReady && check.FileNum == fileA)
        ADD_FAILURE() << "run " << run << " left a check Ready";
      if (check.Number == 0) continue;
      ++uses[check.Number];
      highest = std::max<long>(highest, check.Number);
    }
    for (const auto& [number, count] : uses)
      ASSERT_EQ(1, count) << "number " << number << ", kill at " << killAt;
    ASSERT_GT(StoredNextNumber().value_or(0), highest) << "kill at " << killAt;
  }
  std::printf("%d of %d runs killed at a change to disk (%ld changes a run)\n", killed, runs,
              writes);
  EXPECT_EQ(runs, killed);
}

TEST_F(CheckStationsTest, TwoWorkstationsPrintingTogetherNeverShareANumber) {
  PutReadyChecks("A-1", 20);
  PutReadyChecks("B-1", 20);
  int refused = 0;
  RunTwoStations("A-1", "B-1", refused);
  EXPECT_GE(refused, 2);
  std::map<std::string, std::vector<long>> numbers;
  std::set<long> distinct;
  long highest = 0;
  for (const TLedgerEntry& check : AllChecks()) {
    EXPECT_EQ(kStatusPrinted, check.Status) << check.PayeeDepositor;
    numbers[check.FileNum].push_back(check.Number);
    distinct.insert(check.Number);
    highest = std::max<long>(highest, check.Number);
  }
  EXPECT_EQ(40u, distinct.size());
  for (auto& [file, list] : numbers) {
    ASSERT_EQ(20u, list.size()) << file;
    std::sort(list.begin(), list.end());
    EXPECT_EQ(list.front() + 19, list.back()) << file << ": one run's numbers are consecutive";
  }
  EXPECT_EQ(highest + 1.0, StoredNextNumber().value_or(0));
  EXPECT_EQ(40u, pdfsA_ + pdfsB_);
}

TEST_F(CheckStationsTest, TwoWorkstationsOnOneFilePrintEveryCheckOnce) {
  PutReadyChecks("S-1", 20);
  int refused = 0;
  RunTwoStations("S-1", "S-1", refused);
  EXPECT_GE(refused, 2);
  std::set<long> distinct;
  int printed = 0;
  for (const TLedgerEntry& check : AllChecks()) {
    EXPECT_EQ(kStatusPrinted, check.Status) << check.PayeeDepositor;
    printed += check.Status == kStatusPrinted;
    distinct.insert(check.Number);
  }
  EXPECT_EQ(20, printed);
  EXPECT_EQ(20u, distinct.size());
  EXPECT_EQ(20u, pdfsA_ + pdfsB_);
}

TEST_F(CheckStationsTest, ACheckCtlLockedByAnotherProgramRefusesTheRun) {
  PutEntry({"F-1", 'C', 1, 0, 2, kStatusReady, kBlankDate, "Payee", 100.0, "Check"});
  const std::vector<std::vector<BYTE>> records = AllRawRecords();
  {
    Station holder({"hold-checkctl"}, Root(), PathInRoot("holder.out"));
    ASSERT_TRUE(holder.WaitFor("held")) << holder.Output();
    const std::vector<char> checkCtl = CheckCtlBytes();
    Printers().ChoosePrinter();
    RunDisburse("F-1", [](HWND dialog, TDisburse&) { PressButton(dialog, 502); });
    ASSERT_GE(Shown().size(), 2u);
    EXPECT_EQ("Database Error", Shown().front().caption);  // the table layer's box first
    EXPECT_EQ("Checks are being printed at another workstation.", Shown().back().text);
    EXPECT_EQ(static_cast<UINT>(MB_ICONINFORMATION), Shown().back().type & MB_ICONMASK);
    EXPECT_EQ(checkCtl, CheckCtlBytes());
  }
  EXPECT_EQ(records, AllRawRecords());
  EXPECT_TRUE(PrintedChecks().empty());
  EXPECT_TRUE(Printers().PrintRequests().empty());
}

TEST_F(CheckStationsTest, ACheckAnotherStationPrintedAfterTheListFilledIsSkipped) {
  for (int i = 1; i <= 3; ++i)
    PutEntry({"F-1", 'C', static_cast<double>(i), 0, 2, kStatusReady, kBlankDate,
              "Payee " + std::to_string(i), 100.0 * i, "Check"});
  Printers().ChoosePrinter();
  Driver().OnDialog(20905, [](HWND dialog) { PressButton(dialog, IDOK); });
  std::string rowStatus;
  RunDisburse("F-1", [&](HWND dialog, TDisburse&) {
    // The other station prints check 2 (number 3001) while this list shows it Ready.
    EXPECT_EQ("done",
              RunSecondStation({"account", "F-1", "C", SeqArgument(2), "set", "6", "i:2", "4",
                                "d:3001", "7", "l:" + std::to_string(DateOf(3, 1, 2026))}));
    PressButton(dialog, 502);
    rowStatus = CheckRow(dialog, 1).StatusText;
  });
  EXPECT_EQ(2u, PrintedChecks().size());
  EXPECT_EQ(1001, StoredEntry("F-1", 'C', 1)->Number);
  EXPECT_EQ(3001, StoredEntry("F-1", 'C', 2)->Number);
  EXPECT_EQ(1002, StoredEntry("F-1", 'C', 3)->Number);
  EXPECT_EQ("Printed", rowStatus);
  EXPECT_EQ(1003.0, StoredNextNumber().value_or(0));
}

}  // namespace
