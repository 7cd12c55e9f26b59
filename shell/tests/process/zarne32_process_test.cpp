/*
** zarne32 as a real program: the first start on an empty root (one question, then the
** directories, the seventeen tables, the settings and the side files), a second start that
** asks and changes nothing, SIGTERM ending with 0, and one copy per data root.
*/
#include "program_runner.h"

#include "../lock_probe_runner.h"

#include "platform/testing/gui_test.h"
#include "tableaccess/engine_session.h"
#include "tableaccess/px_record.h"
#include "tableaccess/px_table.h"

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

const char kAskZarneDir[] = "Directory C:\\ZARNE does not exist.  Do you want to create it?";
const char* const kSharedTables[] = {
    "BUYER",    "SELLER",   "LENDER",   "SAGENT", "PROPERTY", "SUMMARY1", "SUMMARY2", "EXPENSE1",
    "EXPENSE2", "EXPENSE3", "EXPENSE4", "TITLEA", "EXTRA",    "TITLEB",   "ACCOUNT",  "BANK"};

class Zarne32ProcessTest : public GuiTest {
 protected:
  void SetUp() override {
    GuiTest::SetUp();
    places_ = FreshPlaces();
    places_.root = Root();  // the test sees the program's published windows through it
    setenv("XDG_RUNTIME_DIR", places_.runtime.c_str(), 1);
  }
  void TearDown() override {
    GuiTest::TearDown();
    std::error_code ignored;
    fs::remove_all(places_.runtime, ignored);
    fs::remove_all(places_.home, ignored);
  }

  std::string ZarneDir() const { return Root() + "/drive_c/ZARNE"; }
  std::string Ini() const {
    std::ifstream in(Root() + "/windows/zarne.ini");
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
  }

  /* Field `field` of every record of a table in the directory, read as whole numbers. */
  std::vector<long> Numbers(const std::string& directory, const char* table, int field) {
    std::vector<long> values;
    PXInit();
    PXOpenDatabase();
    PXSetDirectory(directory.c_str());
    {
      TPXTable opened(table, 0);
      TPXRecord record(&opened, false);
      if (opened.IsOpen() && record.First()) {
        do {
          LONG value = -1;
          record.Read(0);
          record.GetLong(field, value);
          values.push_back(value);
        } while (record.Next());
      }
    }
    PXExit();
    return values;
  }

  ProgramPlaces places_;
};

/* Shutdown of a real program with two files open and a value still in an edit line, by each
** road a day ends: both files saved, both locks free for other programs, the tables closed
** once, and not one box (offscreen a box would be written to standard error). */
class ShutdownProcessTest : public Zarne32ProcessTest {
 protected:
  void SetUp() override {
    Zarne32ProcessTest::SetUp();
    std::filesystem::create_directories(Root() + "/windows");
    std::ofstream(Root() + "/windows/zarne.ini") << "[HUD1Options]\r\nMaxWindows=2\r\n";
  }

  std::string BuyerText(const char* number, int field) {
    std::string text = "<none>";
    PXInit();
    PXOpenDatabase();
    PXSetDirectory(ZarneDir().c_str());
    {
      TPXTable buyer("BUYER", 0);
      TPXRecord record(&buyer, false);
      record.SetString(1, number);
      char value[64] = "";
      if (buyer.IsOpen() && record.Seek(0, 0) && record.Read(0) &&
          record.GetString(field, value, sizeof value))
        text = value;
    }
    PXExit();
    return text;
  }

  /* The first start's question about C:\ZARNE is the only box before the end. */
  void ExpectSavedAndFreed(ZarneProgram& program, int status) {
    EXPECT_EQ(status, 0) << program.Stderr();
    EXPECT_EQ(CountOf(program.Stderr(), "\n["), 0) << program.Stderr();
    EXPECT_EQ(CountOf(program.Stderr(), "["), 1) << program.Stderr();
    EXPECT_NE(program.Stdout().find("tables closed, asked again agreed"), std::string::npos)
        << program.Stdout();
    EXPECT_EQ(BuyerText("X1", 12), "Second Buyer");
    EXPECT_EQ(BuyerText("X2", 2), "Typed Before Exit");
    EXPECT_EQ(ProbeLock(ZarneDir(), "X1"), "locked");
    EXPECT_EQ(ProbeLock(ZarneDir(), "X2"), "locked");
  }

  /* The driver ends itself from its loop (File|Exit by keys, the frame's close button). */
  void EndsByItself(const char* how) {
    ZarneProgram program(places_, SHUTDOWN_DRIVER, {how});
    ASSERT_TRUE(program.WaitForOutput("ready")) << program.Stdout() << program.Stderr();
    ExpectSavedAndFreed(program, program.WaitForExit());
  }

  /* SIGTERM is what a shutdown sends, SIGHUP what the end of a terminal session sends; a
     logout sends SIGTERM and SIGHUP at once. */
  void EndsBySignals(std::initializer_list<int> signalNumbers) {
    ZarneProgram program(places_, SHUTDOWN_DRIVER, {});
    ASSERT_TRUE(program.WaitForOutput("ready")) << program.Stdout() << program.Stderr();
    EXPECT_EQ(ProbeLock(ZarneDir(), "X1"), "refused");
    EXPECT_EQ(ProbeLock(ZarneDir(), "X2"), "refused");
    for (int signalNumber : signalNumbers) kill(program.Pid(), signalNumber);
    ExpectSavedAndFreed(program, program.WaitForExit());
  }
};

TEST_F(ShutdownProcessTest, FileExitByKeysSavesBothFilesAndFreesBothLocks) { EndsByItself("keys"); }
TEST_F(ShutdownProcessTest, TheFramesCloseSavesBothFilesAndFreesBothLocks) {
  EndsByItself("close");
}
TEST_F(ShutdownProcessTest, SigtermSavesBothFilesAndFreesBothLocks) { EndsBySignals({SIGTERM}); }
TEST_F(ShutdownProcessTest, SighupSavesBothFilesAndFreesBothLocks) { EndsBySignals({SIGHUP}); }
TEST_F(ShutdownProcessTest, ALogoutsSigtermAndSighupSaveBothFilesAndFreeBothLocks) {
  EndsBySignals({SIGTERM, SIGHUP});
}

TEST_F(Zarne32ProcessTest, FirstStartAsksOnceThenMakesTablesSettingsAndSideFiles) {
  ZarneProgram program(places_);
  ASSERT_TRUE(program.WaitForFrame()) << program.Stderr();
  EXPECT_EQ(program.Terminate(), 0) << program.Stderr();
  EXPECT_EQ(CountOf(program.Stderr(), kAskZarneDir), 1) << program.Stderr();

  std::string ini = Ini();
  for (const char* line :
       {"DirDatabase=C:\\ZARNE", "DirCheckCtl=C:\\ZARNE", "DirPrinters=C:\\ZARNE",
        "DirPrivate=C:\\Zarne\\Private", "AutoClose=1", "Maximize=1", "MaxWindows=1", "Privacy=0",
        "PrintOptions=1", "SigPage3=0", "GDILines=1", "DateSig=1"})
    EXPECT_NE(ini.find(line), std::string::npos) << line << "\n" << ini;
  EXPECT_TRUE(fs::is_directory(Root() + "/drive_c/Zarne/Private") ||
              fs::is_directory(Root() + "/drive_c/ZARNE/Private"));

  for (const char* table : kSharedTables)
    EXPECT_TRUE(fs::exists(ZarneDir() + "/" + table + ".DB")) << table;
  EXPECT_TRUE(fs::exists(ZarneDir() + "/CHECKCTL.DB"));
  std::vector<long> keys = Numbers(ZarneDir(), "BANK", 1);
  std::vector<long> expected;
  for (long k = 0; k < 20; ++k) expected.push_back(k);
  EXPECT_EQ(keys, expected);
  EXPECT_EQ(Numbers(ZarneDir(), "CHECKCTL", 1), std::vector<long>{1});
  EXPECT_EQ(Numbers(ZarneDir(), "CHECKCTL", 2), std::vector<long>{0});
  for (const char* table : kSharedTables) {
    if (std::string(table) == "BANK") continue;
    EXPECT_TRUE(Numbers(ZarneDir(), table, 1).empty()) << table;
  }

  // 64 unset values of -1000 (0xFC18, little-endian).
  std::ifstream form(ZarneDir() + "/CHKFORM.DAT", std::ios::binary);
  std::string bytes((std::istreambuf_iterator<char>(form)), std::istreambuf_iterator<char>());
  ASSERT_EQ(bytes.size(), 128u);
  for (size_t i = 0; i < bytes.size(); i += 2) {
    EXPECT_EQ(static_cast<unsigned char>(bytes[i]), 0x18);
    EXPECT_EQ(static_cast<unsigned char>(bytes[i + 1]), 0xFC);
  }
  for (const char* printer : {"stmtbg32.dat", "prnrpt32.dat", "prnchk32.dat"})
    EXPECT_TRUE(fs::exists(ZarneDir() + "/" + printer)) << printer;
  EXPECT_TRUE(Snapshot(places_.home).empty());
}

TEST_F(Zarne32ProcessTest, ASecondStartAsksNothingAndChangesNoTable) {
  {
    ZarneProgram first(places_);
    ASSERT_TRUE(first.WaitForFrame()) << first.Stderr();
    ASSERT_EQ(first.Terminate(), 0);
  }
  auto before = Snapshot(ZarneDir());
  std::string iniBefore = Ini();
  ZarneProgram second(places_);
  ASSERT_TRUE(second.WaitForFrame()) << second.Stderr();
  EXPECT_EQ(second.Terminate(), 0);
  EXPECT_EQ(CountOf(second.Stderr(), "does not exist"), 0) << second.Stderr();
  EXPECT_EQ(Snapshot(ZarneDir()), before);
  EXPECT_EQ(Ini(), iniBefore);
}

TEST_F(Zarne32ProcessTest, ASecondCopyOnTheSameRootEndsAndTheFirstGoesOn) {
  ZarneProgram first(places_);
  ASSERT_TRUE(first.WaitForFrame()) << first.Stderr();
  auto before = Snapshot(Root() + "/drive_c");
  std::string iniBefore = Ini();
  ZarneProgram second(places_);
  EXPECT_EQ(second.WaitForExit(20), 0) << second.Stderr();
  EXPECT_EQ(Snapshot(Root() + "/drive_c"), before);
  EXPECT_EQ(Ini(), iniBefore);
  EXPECT_EQ(first.WaitForExit(0), -1);  // still running
  int frames = 0;
  for (const SeenWindow& window : SeenWindows()) frames += window.title == "Zarne";
  EXPECT_EQ(frames, 1);
  EXPECT_EQ(first.Terminate(), 0);
}

/* With no home at all there is no private place for the data: the program says so and ends,
   and writes nothing (the working directory it was started in stays empty). */
TEST_F(Zarne32ProcessTest, WithNoHomeItSaysSoAndEnds) {
  const std::string workDir = places_.home + "/cwd";
  fs::create_directories(workDir);
  int err[2];
  ASSERT_EQ(pipe(err), 0);
  pid_t pid = fork();
  if (pid == 0) {
    dup2(err[1], 2);
    close(err[0]);
    if (chdir(workDir.c_str()) != 0) _exit(126);
    std::string runtime = "XDG_RUNTIME_DIR=" + places_.runtime;
    char* environment[] = {const_cast<char*>("QT_QPA_PLATFORM=offscreen"), runtime.data(),
                           const_cast<char*>("PATH=/usr/bin:/bin"), nullptr};
    execle(ZARNE32_PROGRAM, ZARNE32_PROGRAM, static_cast<char*>(nullptr), environment);
    _exit(127);
  }
  close(err[1]);
  std::string said;
  char buffer[512];
  for (ssize_t got; (got = read(err[0], buffer, sizeof buffer)) > 0;)
    said.append(buffer, static_cast<size_t>(got));
  close(err[0]);
  int status = 0;
  ASSERT_EQ(waitpid(pid, &status, 0), pid);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 1);
  EXPECT_NE(said.find("no home directory to keep the data in"), std::string::npos) << said;
  EXPECT_TRUE(fs::is_empty(workDir));
}

TEST_F(Zarne32ProcessTest, ACopyOnAnotherRootStartsFully) {
  ZarneProgram first(places_);
  ASSERT_TRUE(first.WaitForFrame()) << first.Stderr();
  ProgramPlaces other = FreshPlaces();
  other.runtime = places_.runtime;  // same desktop, another installation
  ZarneProgram second(other);
  // The other copy's frame is published under its own root, which this test cannot see, so
  // it is judged by its tables and by its still running.
  bool started = false;
  for (int tick = 0; tick < 6000 && !started; ++tick) {
    started = fs::exists(other.root + "/drive_c/ZARNE/BANK.DB") &&
              fs::exists(other.root + "/drive_c/ZARNE/CHECKCTL.DB");
    if (second.WaitForExit(0) >= 0) break;
    struct timespec pause {
      0, 10'000'000
    };
    nanosleep(&pause, nullptr);
  }
  EXPECT_TRUE(started) << second.Stderr();
  EXPECT_EQ(second.WaitForExit(1), -1) << second.Stderr();
  EXPECT_EQ(second.Terminate(), 0);
  EXPECT_EQ(first.Terminate(), 0);
  std::error_code ignored;
  fs::remove_all(other.root, ignored);
  fs::remove_all(other.home, ignored);
}

}  // namespace

namespace {

/* Two programs on the same places at once, and one started after another: each has its own
** output, so neither reads the other's. */
TEST(ProgramRunnerTest, ProgramsOnTheSamePlacesKeepTheirOwnOutput) {
  ProgramPlaces places = FreshPlaces();
  ZarneProgram first(places, "/bin/sh", {"-c", "echo first-copy; sleep 30"});
  ASSERT_TRUE(first.WaitForOutput("first-copy", 10));
  {
    ZarneProgram second(places, "/bin/sh", {"-c", "echo 2nd; sleep 30"});
    ASSERT_TRUE(second.WaitForOutput("2nd", 10));
    EXPECT_EQ(first.Stdout(), "first-copy\n");
    EXPECT_EQ(second.Stdout(), "2nd\n");
  }
  ZarneProgram restarted(places, "/bin/sh", {"-c", "sleep 30"});
  EXPECT_FALSE(restarted.WaitForOutput("2nd", 1));
  EXPECT_FALSE(restarted.WaitForOutput("first-copy", 0));
  std::error_code ignored;
  for (const std::string& place : {places.root, places.runtime, places.home})
    fs::remove_all(place, ignored);
}

}  // namespace
