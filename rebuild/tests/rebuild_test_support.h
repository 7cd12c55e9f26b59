/*
** The fixture of the repair utility's tests: a fresh root with a zarne.ini naming a database
** and a check-control directory, tables made there from the catalogue, the utility's
** application run in the test process and driven through its menu and dialog by keys, and
** other programs run beside it (the engine client, the utility itself).
*/
#ifndef ZARNE_REBUILD_TESTS_REBUILD_TEST_SUPPORT_H
#define ZARNE_REBUILD_TESTS_REBUILD_TEST_SUPPORT_H

#include "platform/engine/engine.h"
#include "platform/testing/dialog_driver.h"
#include "platform/testing/gui_test.h"
#include "rebuild/zarne_fix_app.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace rebuildtest {

/* The Windows form of the two directories, and the host form. */
extern const char* const kDataDir;      // "C:\ZARNE\DATA"
extern const char* const kCheckCtlDir;  // "C:\ZARNE\CHECK"

/* The table names in the order the sorted list shows them, worked out by hand. */
extern const std::vector<std::string> kSortedTableNames;

/* One box as the tests compare it. */
struct Box {
  std::string text;
  std::string caption;
  UINT type;
  bool operator==(const Box& other) const = default;
};
std::ostream& operator<<(std::ostream& out, const Box& box);

/* The three error boxes of an engine failure with code and context text (as joined). */
std::vector<Box> EngineErrorBoxes(WORD code, const std::string& message,
                                  const std::string& context);

/* Runs the engine client; answers its first output line. */
std::string RunClient(const std::string& directory, const std::string& command,
                      const std::string& table);

/* An engine client that holds a table open (or a record lock) until it is stopped. */
class HoldingClient {
 public:
  HoldingClient(const std::string& directory, const std::string& command, const std::string& table);
  ~HoldingClient();
  const std::string& FirstLine() const { return firstLine_; }
  void Stop();

 private:
  pid_t pid_ = -1;
  int input_ = -1;
  std::string firstLine_;
};

/* A top-level window of any program as the published window list shows it. */
struct SeenWindow {
  HWND hwnd;
  std::string title;
  bool visible;
  bool zoomed;
  bool iconic;
};
std::vector<SeenWindow> PublishedWindows();

/* Another program run beside the test (zrnfix32, zarne32): offscreen, on the test's root. */
class OtherProgram {
 public:
  explicit OtherProgram(const char* path);
  ~OtherProgram();
  /* Waits until ready holds for the published windows; false after the timeout or when the
       program ended. */
  bool WaitForWindows(const std::function<bool(const std::vector<SeenWindow>&)>& ready,
                      int seconds = 60);
  /* SIGTERM, then the exit status (128 + n after signal n, -1 after the timeout). */
  int Terminate(int seconds = 60);

 private:
  pid_t pid_ = -1;
};

class RebuildTest : public GuiTest {
 protected:
  void SetUp() override;
  void TearDown() override;

  /* Host path of a directory given in Windows form, and of a file in the data directory. */
  std::string HostDir(const char* windowsDir) const;
  std::string DataFile(const std::string& name) const { return HostDir(kDataDir) + "/" + name; }

  /* zarne.ini [System] key=value (an empty value removes the key). */
  void SetIni(const char* key, const std::string& value);

  /* Runs body with an engine session of the test's own on directory (only while the
       utility's engine is not running). */
  void WithEngine(const char* directory, const std::function<void(EngineDatabase)>& body);
  /* Creates the named catalogue tables in directory. */
  void CreateTables(const char* directory, const std::vector<std::string>& names);

  /* Starts the utility in this process: its frame shown, engine and database opened. */
  void StartUtility(int showCommand = SW_SHOWNORMAL);
  /* File|Rebuild... by keys; the dialog picks the table by keys (or presses Cancel, or
       clears the selection), then the boxes of the command are answered. */
  void RebuildByKeys(const std::string& table);
  void CancelRebuildDialog();
  void RebuildWithNothingSelected();
  /* Closes the utility through its application's CanClose, as Exit does. */
  bool CloseUtility();
  /* True when a quit message with that code is waiting. */
  bool QuitPosted(int* code = nullptr);

  std::vector<Box> BoxesShown() const;

  std::unique_ptr<ZarneFixApp> app_;
  std::unique_ptr<DialogDriver> driver_;
};

}  // namespace rebuildtest

#endif
