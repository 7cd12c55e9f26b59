/*
** The repair utility's test fixture and the programs run beside it.
*/
#include "rebuild/tests/rebuild_test_support.h"

#include "catalogue/table_catalog.h"
#include "platform/framework/frame.h"
#include "platform/kernel/profile.h"
#include "platform/user/virtual_keys.h"
#include "platform/user/winuser.h"

#include <filesystem>
#include <ostream>

#include <csignal>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

namespace rebuildtest {

const char* const kDataDir = "C:\\ZARNE\\DATA";
const char* const kCheckCtlDir = "C:\\ZARNE\\CHECK";

const std::vector<std::string> kSortedTableNames = {
    "ACCOUNT",  "BANK",     "BUYER",    "CHECKCTL", "EXPENSE1", "EXPENSE2",
    "EXPENSE3", "EXPENSE4", "EXTRA",    "LENDER",   "PROPERTY", "SAGENT",
    "SELLER",   "SUMMARY1", "SUMMARY2", "TITLEA",   "TITLEB"};

std::ostream& operator<<(std::ostream& out, const Box& box) {
  return out << "{\"" << box.text << "\", \"" << box.caption << "\", 0x" << std::hex << box.type
             << std::dec << "}";
}

std::vector<Box> EngineErrorBoxes(WORD code, const std::string& message,
                                  const std::string& context) {
  return {{"Error No.: " + std::to_string(code), "Database Error", MB_OK | MB_ICONSTOP},
          {message, "Database Error", MB_OK | MB_ICONSTOP},
          {context, "Error Context", MB_OK | MB_ICONSTOP}};
}

namespace {

/* Starts the client with a pipe on its output (and, when asked, one on its input). */
pid_t StartClient(const std::string& directory, const std::string& command,
                  const std::string& table, int* output, int* input) {
  int out[2], in[2];
  if (::pipe(out) != 0 || ::pipe(in) != 0) return -1;
  pid_t pid = ::fork();
  if (pid == 0) {
    ::dup2(out[1], STDOUT_FILENO);
    ::dup2(in[0], STDIN_FILENO);
    ::close(out[0]);
    ::close(out[1]);
    ::close(in[0]);
    ::close(in[1]);
    ::execl(ENGINE_CLIENT, ENGINE_CLIENT, directory.c_str(), command.c_str(), table.c_str(),
            static_cast<char*>(nullptr));
    ::_exit(127);
  }
  ::close(out[1]);
  ::close(in[0]);
  *output = out[0];
  if (input) *input = in[1];
  else ::close(in[1]);
  return pid;
}

std::string ReadLine(int fd) {
  std::string line;
  char c;
  while (::read(fd, &c, 1) == 1 && c != '\n') line.push_back(c);
  return line;
}

}  // namespace

std::string RunClient(const std::string& directory, const std::string& command,
                      const std::string& table) {
  int output = -1;
  pid_t pid = StartClient(directory, command, table, &output, nullptr);
  std::string line = ReadLine(output);
  ::close(output);
  ::waitpid(pid, nullptr, 0);
  return line;
}

HoldingClient::HoldingClient(const std::string& directory, const std::string& command,
                             const std::string& table) {
  int output = -1;
  pid_ = StartClient(directory, command, table, &output, &input_);
  firstLine_ = ReadLine(output);
  ::close(output);
}

HoldingClient::~HoldingClient() { Stop(); }

void HoldingClient::Stop() {
  if (pid_ <= 0) return;
  ::close(input_);
  ::waitpid(pid_, nullptr, 0);
  pid_ = -1;
}

std::vector<SeenWindow> PublishedWindows() {
  std::vector<SeenWindow> seen;
  EnumWindows(
      [](HWND hwnd, LPARAM list) -> BOOL {
        char title[128] = "";
        GetWindowText(hwnd, title, sizeof title);
        reinterpret_cast<std::vector<SeenWindow>*>(list)->push_back(
            {hwnd, title, IsWindowVisible(hwnd) != FALSE, IsZoomed(hwnd) != FALSE,
             IsIconic(hwnd) != FALSE});
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&seen));
  return seen;
}

OtherProgram::OtherProgram(const char* path) {
  pid_ = ::fork();
  if (pid_ == 0) {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    ::execl(path, path, static_cast<char*>(nullptr));
    ::_exit(127);
  }
}

OtherProgram::~OtherProgram() {
  if (pid_ > 0) {
    ::kill(pid_, SIGKILL);
    ::waitpid(pid_, nullptr, 0);
  }
}

bool OtherProgram::WaitForWindows(const std::function<bool(const std::vector<SeenWindow>&)>& ready,
                                  int seconds) {
  for (int tick = 0; tick < seconds * 50; ++tick) {
    if (ready(PublishedWindows())) return true;
    if (::waitpid(pid_, nullptr, WNOHANG) == pid_) {
      pid_ = -1;
      return false;
    }
    ::usleep(20 * 1000);
  }
  return false;
}

int OtherProgram::Terminate(int seconds) {
  if (pid_ <= 0) return -1;
  ::kill(pid_, SIGTERM);
  for (int tick = 0; tick < seconds * 50; ++tick) {
    int status = 0;
    if (::waitpid(pid_, &status, WNOHANG) == pid_) {
      pid_ = -1;
      return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    }
    ::usleep(20 * 1000);
  }
  return -1;
}

void RebuildTest::SetUp() {
  GuiTest::SetUp();
  std::filesystem::create_directories(HostDir(kDataDir));
  std::filesystem::create_directories(HostDir(kCheckCtlDir));
  SetIni("DirDatabase", kDataDir);
  SetIni("DirCheckCtl", kCheckCtlDir);
  driver_ = std::make_unique<DialogDriver>();
}

void RebuildTest::TearDown() {
  if (app_) {
    if (app_->EngineStarted()) CloseUtility();
    app_.reset();
  }
  driver_.reset();
  GuiTest::TearDown();
}

std::string RebuildTest::HostDir(const char* windowsDir) const {
  std::string path = Root() + "/drive_c";
  for (const char* p = windowsDir + 2; *p; ++p) path.push_back(*p == '\\' ? '/' : *p);
  return path;
}

void RebuildTest::SetIni(const char* key, const std::string& value) {
  WritePrivateProfileString("System", key, value.empty() ? nullptr : value.c_str(), "zarne.ini");
}

void RebuildTest::WithEngine(const char* directory,
                             const std::function<void(EngineDatabase)>& body) {
  ASSERT_TRUE(!app_ || !app_->EngineStarted());
  ASSERT_EQ(EngineInit(ENGINE_VERSION, nullptr), ENGINE_OK);
  EngineDatabase database = nullptr;
  ASSERT_EQ(EngineOpenDatabase(nullptr, nullptr, 0, 0, nullptr, 0, nullptr, nullptr, &database),
            ENGINE_OK);
  ASSERT_EQ(EngineSetDirectory(database, directory), ENGINE_OK);
  body(database);
  EngineExit();
}

void RebuildTest::CreateTables(const char* directory, const std::vector<std::string>& names) {
  WithEngine(directory, [&](EngineDatabase database) {
    for (const std::string& name : names) {
      ASSERT_EQ(EngineCreateTable(database, 0, FindCatalogTable(name.c_str())), ENGINE_OK) << name;
    }
  });
}

void RebuildTest::StartUtility(int showCommand) {
  app_ = std::make_unique<ZarneFixApp>();
  app_->nCmdShow = showCommand;
  app_->InitInstance();
  if (app_->GetMainWindow() && app_->GetMainWindow()->HWindow) {
    SetFocus(app_->GetMainWindow()->HWindow);
  }
  ProcessPendingMessages();
}

namespace {

/* File|Rebuild... as a user does it: Alt+F opens the menu, Enter takes its first item. */
void ChooseRebuildFromTheFileMenu() {
  PressKey('F', Qt::AltModifier);
  PressKey(VK_RETURN);
  ProcessPendingMessages();
}

}  // namespace

void RebuildTest::RebuildByKeys(const std::string& table) {
  int index = -1;
  for (size_t i = 0; i < kSortedTableNames.size(); ++i) {
    if (kSortedTableNames[i] == table) index = int(i);
  }
  ASSERT_GE(index, 0) << table;
  driver_->OnDialog(1001, [index](HWND dialog) {
    PressDialogKey(dialog, VK_HOME);
    for (int i = 0; i < index; ++i) PressDialogKey(dialog, VK_DOWN);
    PressDialogKey(dialog, VK_RETURN);
  });
  ChooseRebuildFromTheFileMenu();
  EXPECT_EQ(driver_->Pending(), 0u) << "the Rebuild dialog did not open";
}

void RebuildTest::CancelRebuildDialog() {
  driver_->OnDialog(1001, [](HWND dialog) { PressDialogKey(dialog, VK_ESCAPE); });
  ChooseRebuildFromTheFileMenu();
  EXPECT_EQ(driver_->Pending(), 0u);
}

void RebuildTest::RebuildWithNothingSelected() {
  driver_->OnDialog(1001, [](HWND dialog) {
    SendDlgItemMessage(dialog, 398, LB_SETCURSEL, WPARAM(-1), 0);
    PressDialogKey(dialog, VK_RETURN);
  });
  ChooseRebuildFromTheFileMenu();
  EXPECT_EQ(driver_->Pending(), 0u);
}

bool RebuildTest::CloseUtility() {
  bool closed = app_->CanClose();
  if (closed && app_->GetMainWindow() && app_->GetMainWindow()->HWindow) {
    app_->GetMainWindow()->Destroy();
  }
  ProcessPendingMessages();
  return closed;
}

bool RebuildTest::QuitPosted(int* code) {
  MSG msg{};
  while (PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      if (code) *code = int(msg.wParam);
      return true;
    }
    DispatchMessage(&msg);
  }
  return false;
}

std::vector<Box> RebuildTest::BoxesShown() const {
  std::vector<Box> boxes;
  for (const MessageBoxRequest& box : const_cast<RebuildTest*>(this)->Boxes().Shown()) {
    boxes.push_back({box.text, box.caption, box.type});
  }
  return boxes;
}

}  // namespace rebuildtest
