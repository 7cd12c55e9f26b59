/*
** Where conversations meet: the runtime directory's place and permissions, what is refused
** there, service socket names, and sockets left by programs that died.
*/
#include "platform/dde/dde_socket.h"
#include "platform/dde/ddeml.h"

#include "dde_test_support.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

HDDEDATA CALLBACK Ignore(UINT, UINT, HCONV, HSZ, HSZ, HDDEDATA, ULONG_PTR, ULONG_PTR) {
  return nullptr;
}

mode_t ModeOf(const std::string& path) {
  struct stat info {};
  lstat(path.c_str(), &info);
  return info.st_mode;
}

class DdeTransport : public ::testing::Test {
 protected:
  void SetUp() override {
    PrepareDdeTestProcess();
    saved_ = std::getenv("XDG_RUNTIME_DIR");
    savedRoot_ = std::getenv("ZARNE_ROOT") ? std::getenv("ZARNE_ROOT") : "";
    char pattern[] = "/tmp/zdde-transport-XXXXXX";
    scratch_ = mkdtemp(pattern);
    setenv("XDG_RUNTIME_DIR", scratch_.c_str(), 1);
  }
  void TearDown() override {
    setenv("XDG_RUNTIME_DIR", saved_.c_str(), 1);
    if (savedRoot_.empty()) unsetenv("ZARNE_ROOT");
    else setenv("ZARNE_ROOT", savedRoot_.c_str(), 1);
  }
  std::string saved_;
  std::string savedRoot_;
  std::string scratch_;
};

TEST_F(DdeTransport, RuntimeDirectoryIsPrivateAndKeptSo) {
  std::string dir = dde::RuntimeDirectory();
  ASSERT_EQ(dir.rfind(scratch_ + "/zarne/", 0), 0u) << dir;
  EXPECT_EQ(ModeOf(dir) & 0777, 0700u);
  EXPECT_EQ(ModeOf(scratch_ + "/zarne") & 0777, 0700u);
  chmod(dir.c_str(), 0755);
  EXPECT_EQ(dde::RuntimeDirectory(), dir);
  EXPECT_EQ(ModeOf(dir) & 0777, 0700u);

  // Another data root is another installation, with a directory of its own.
  setenv("ZARNE_ROOT", (scratch_ + "/other-root").c_str(), 1);
  EXPECT_NE(dde::RuntimeDirectory(), dir);

  // Without a runtime directory the data root holds it.
  unsetenv("XDG_RUNTIME_DIR");
  EXPECT_EQ(dde::RuntimeDirectory(), scratch_ + "/other-root/runtime");
  EXPECT_EQ(ModeOf(scratch_ + "/other-root/runtime") & 0777, 0700u);
}

TEST_F(DdeTransport, ALinkPlantedInsteadOfTheDirectoryIsRefused) {
  std::string dir = dde::RuntimeDirectory();
  ASSERT_FALSE(dir.empty());
  rmdir(dir.c_str());
  ASSERT_EQ(symlink(scratch_.c_str(), dir.c_str()), 0);
  EXPECT_EQ(dde::RuntimeDirectory(), "");

  DWORD instance = 0;
  ASSERT_EQ(DdeInitialize(&instance, Ignore, APPCLASS_STANDARD, 0), 0u);
  HSZ service = DdeCreateStringHandle(instance, "Zarne", CP_WINANSI);
  EXPECT_EQ(DdeNameService(instance, service, nullptr, DNS_REGISTER), nullptr);
  EXPECT_EQ(DdeGetLastError(instance), static_cast<UINT>(DMLERR_SYS_ERROR));
  DdeFreeStringHandle(instance, service);
  DdeUninitialize(instance);
}

TEST_F(DdeTransport, ServiceSocketsCarryAnyNameAndOnlyTheUserMayUseThem) {
  DWORD instance = 0;
  ASSERT_EQ(DdeInitialize(&instance, Ignore, APPCLASS_STANDARD, 0), 0u);
  const char name[] = "Zarne B\xFCro/1.x";
  HSZ service = DdeCreateStringHandle(instance, name, CP_WINANSI);
  ASSERT_TRUE(DdeNameService(instance, service, nullptr, DNS_REGISTER));
  std::vector<dde::ServiceSocket> sockets = dde::ListServiceSockets();
  ASSERT_EQ(sockets.size(), 1u);
  EXPECT_EQ(sockets[0].service, name);
  EXPECT_EQ(sockets[0].pid, getpid());
  EXPECT_EQ(sockets[0].path,
            dde::RuntimeDirectory() + "/dde-Zarne%20B%FCro%2F1%2Ex." + std::to_string(getpid()));
  EXPECT_TRUE(S_ISSOCK(ModeOf(sockets[0].path)));
  EXPECT_EQ(ModeOf(sockets[0].path) & 0777, 0600u);

  EXPECT_TRUE(DdeNameService(instance, service, nullptr, DNS_UNREGISTER));
  EXPECT_TRUE(dde::ListServiceSockets().empty());
  DdeFreeStringHandle(instance, service);
  DdeUninitialize(instance);
}

TEST_F(DdeTransport, SocketsOfDeadProgramsAreRemovedByWhoeverLooks) {
  pid_t child = fork();
  if (child == 0) _exit(0);
  waitpid(child, nullptr, 0);
  std::string dir = dde::RuntimeDirectory();
  std::string stale = dir + "/" + dde::ServiceSocketName("Zarne", child);
  int fd = dde::ListenAt(stale);  // as the dead program left it: bound, nobody listening
  ASSERT_GE(fd, 0);
  dde::CloseSocket(fd);
  std::string unrelated = dir + "/dde-broken-name";
  close(open(unrelated.c_str(), O_CREAT | O_WRONLY, 0600));
  EXPECT_TRUE(dde::ListServiceSockets().empty());
  EXPECT_NE(access(stale.c_str(), F_OK), 0);
  EXPECT_EQ(access(unrelated.c_str(), F_OK), 0);  // not ours to judge

  // A socket of a live pid whose listener is gone goes when someone tries it.
  std::string orphan = dir + "/" + dde::ServiceSocketName("Orphan", getppid());
  fd = dde::ListenAt(orphan);
  dde::CloseSocket(fd);
  EXPECT_EQ(dde::ConnectTo(orphan), -1);
  EXPECT_NE(access(orphan.c_str(), F_OK), 0);
}

}  // namespace
