/*
** Top-level windows seen across programs: a second program finds the first one's window by
** title and asks it to activate and restore; titles follow changes; a program that died
** leaves nothing behind; bad requests are ignored.
*/
#include "platform/dde/dde_socket.h"
#include "platform/dde/foreign_windows.h"

#include "dde_test_support.h"

#include <gtest/gtest.h>

#include <dirent.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <string>
#include <utility>
#include <vector>

namespace {

std::vector<std::pair<HWND, int>> requests;

HWND Local(uintptr_t value) { return reinterpret_cast<HWND>(value); }

class ForeignWindows : public ::testing::Test {
 protected:
  void SetUp() override {
    PrepareDdeTestProcess();
    requests.clear();
    SetForeignWindowRequestHandler(
        [](HWND local, int command) { requests.emplace_back(local, command); });
  }
  void TearDown() override {
    for (uintptr_t value : {0x10010u, 0x10014u, 0x10018u}) UnpublishTopLevelWindow(Local(value));
  }
  std::string List() {
    std::string output;
    EXPECT_EQ(RunWhileServing(WINDOW_HELPER, {"list"}, &output), 0);
    return output;
  }
};

TEST_F(ForeignWindows, SecondProgramFindsTheRunningCopyAndAsksItToRestore) {
  PublishTopLevelWindow(Local(0x10010), "Splash", "Zarne Setup");  // begins "Zarne", no more
  PublishTopLevelWindow(Local(0x10014), "TZarneDecoratedMDIFrame", "Zarne - [1001]");
  std::string output;
  EXPECT_EQ(RunWhileServing(WINDOW_HELPER, {"find"}, &output), 0);
  EXPECT_EQ(output, "found Zarne - [1001]\n");
  ASSERT_TRUE(SpinUntil([] { return requests.size() >= 2; }));
  std::vector<std::pair<HWND, int>> expected = {{Local(0x10014), kForeignActivate},
                                                {Local(0x10014), 9}};
  EXPECT_EQ(requests, expected);

  UnpublishTopLevelWindow(Local(0x10014));
  EXPECT_EQ(RunWhileServing(WINDOW_HELPER, {"find"}, &output), 1);
  EXPECT_EQ(output, "none\n");
}

TEST_F(ForeignWindows, ListsFollowTitleChangesAndCarryAnyText) {
  PublishTopLevelWindow(Local(0x10010), "Frame", "Zarne");
  EXPECT_EQ(List(), "Frame|Zarne\n");
  PublishTopLevelWindow(Local(0x10010), "Frame", "Zarne - [2002]");
  PublishTopLevelWindow(Local(0x10018), "Odd\tClass", "back\\slash\nline");
  EXPECT_EQ(List(), "Frame|Zarne - [2002]\nOdd\tClass|back\\slash\nline\n");
  UnpublishTopLevelWindow(Local(0x10010));
  UnpublishTopLevelWindow(Local(0x10018));
  EXPECT_EQ(List(), "");
}

TEST_F(ForeignWindows, HeldChangesAreWrittenWhenTheLastHoldEndsOrAProgramIsToldAnything) {
  PublishTopLevelWindow(Local(0x10010), "Frame", "Zarne");
  HoldWindowListWrites();
  HoldWindowListWrites();
  PublishTopLevelWindow(Local(0x10010), "Frame", "Zarne - [3003]");
  PublishTopLevelWindow(Local(0x10014), "#32770", "Open File");
  UnpublishTopLevelWindow(Local(0x10014));
  EXPECT_EQ(List(), "Frame|Zarne\n");  // the helper was told nothing by this program
  ReleaseWindowListWrites();
  EXPECT_EQ(List(), "Frame|Zarne\n");  // one hold is still in force
  ReleaseWindowListWrites();
  EXPECT_EQ(List(), "Frame|Zarne - [3003]\n");

  // A held change goes out before this program sends another program anything.
  HoldWindowListWrites();
  PublishTopLevelWindow(Local(0x10010), "Frame", "Zarne - [4004]");
  int ends[2];
  ASSERT_EQ(socketpair(AF_UNIX, SOCK_STREAM, 0, ends), 0);
  EXPECT_TRUE(dde::WriteAll(ends[0], "x", 100));
  close(ends[0]);
  close(ends[1]);
  EXPECT_EQ(List(), "Frame|Zarne - [4004]\n");
  ReleaseWindowListWrites();
}

TEST_F(ForeignWindows, ProgramThatDiedLeavesNothingBehind) {
  Child other(WINDOW_HELPER, {"publish", "Zarne"});
  ASSERT_TRUE(other.WaitForLine("ready"));
  std::vector<ForeignWindow> seen = ListForeignWindows();
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].title, "Zarne");
  EXPECT_TRUE(IsForeignWindow(seen[0].hwnd));
  EXPECT_FALSE(IsForeignWindow(Local(0x10010)));
  ForeignWindow found;
  EXPECT_TRUE(FindForeignWindow(seen[0].hwnd, &found));

  std::string pid = std::to_string(other.pid());
  other.Kill();
  EXPECT_TRUE(ListForeignWindows().empty());
  EXPECT_FALSE(FindForeignWindow(seen[0].hwnd, &found));
  EXPECT_FALSE(AskForeignWindow(seen[0].hwnd, kForeignActivate));
  DIR* dir = opendir(dde::RuntimeDirectory().c_str());
  ASSERT_NE(dir, nullptr);
  while (dirent* entry = readdir(dir))
    EXPECT_EQ(std::string(entry->d_name).find("windows." + pid), std::string::npos)
        << entry->d_name;
  closedir(dir);
}

TEST_F(ForeignWindows, MalformedRequestsAreIgnored) {
  PublishTopLevelWindow(Local(0x10010), "Frame", "Zarne");
  std::string path = dde::RuntimeDirectory() + "/windows." + std::to_string(getpid()) + ".sock";
  for (std::string line : std::vector<std::string>{"S 1 99\n", "S 1 -4\n", "A 77\n", "X 1\n", "A\n",
                                                   "A 1", std::string(200, 'A')}) {
    int fd = socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::snprintf(address.sun_path, sizeof address.sun_path, "%s", path.c_str());
    ASSERT_EQ(connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    send(fd, line.data(), line.size(), MSG_NOSIGNAL);
    close(fd);
  }
  SpinUntil([] { return false; }, 300);
  EXPECT_TRUE(requests.empty());
  EXPECT_EQ(RunWhileServing(WINDOW_HELPER, {"find"}), 0);  // and real requests still work
  EXPECT_TRUE(SpinUntil([] { return requests.size() == 2; }));
}

}  // namespace
