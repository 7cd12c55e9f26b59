/*
** The DDE server of zarne32 as a real program with no file open: every transaction is
** answered as a program without a statement window answers it, a second client replaces
** the first only when it is accepted, and garbage, oversize frames and clients that never
** read leave it serving the next request at once.
*/
#include "program_runner.h"

#include "platform/dde/dde_socket.h"
#include "platform/dde/dde_wire.h"
#include "platform/dde/ddeml.h"
#include "platform/testing/gui_test.h"

#include <QProcess>

#include <cstdlib>
#include <filesystem>
#include <random>

#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

const char* const kExecuteCommands[] = {"GetFirstTIBRecordBoth",
                                        "GetFirstTIBRecordOwner",
                                        "GetFirstTIBRecordLoan",
                                        "GetFirstTIBRecordAll",
                                        "GetFirstTIBOtherBoth",
                                        "GetFirstTIBOtherOwner",
                                        "GetFirstTIBOtherLoan",
                                        "GetFirstTIBOtherAll",
                                        "GetFirstTIBExceptBoth",
                                        "GetFirstTIBExceptOwner",
                                        "GetFirstTIBExceptLoan",
                                        "GetFirstTIBExceptAll",
                                        "GetNextTI"};

struct Finished {
  int status = -1;
  std::string out;
  std::string err;
};

Finished RunProgram(const QString& program, const QStringList& arguments) {
  QProcess process;
  process.start(program, arguments);
  Finished run;
  if (!process.waitForStarted(10000) || !process.waitForFinished(30000)) {
    process.kill();
    process.waitForFinished();
    return run;
  }
  run.status = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
  run.out = process.readAllStandardOutput().toStdString();
  run.err = process.readAllStandardError().toStdString();
  return run;
}

Finished Zdde(const QStringList& arguments) { return RunProgram(ZDDE_PROGRAM, arguments); }

/* A zdde advise left running, its standard error kept. */
class Watcher {
 public:
  explicit Watcher(const char* item) {
    process_.start(ZDDE_PROGRAM, {"advise", "Zarne", "Current", item});
    process_.waitForStarted(10000);
  }
  ~Watcher() {
    if (process_.state() != QProcess::NotRunning) {
      process_.kill();
      process_.waitForFinished();
    }
  }
  bool WaitForError(const std::string& text) {
    for (int tick = 0; tick < 300; ++tick) {
      err_ += process_.readAllStandardError().toStdString();
      if (err_.find(text) != std::string::npos) return true;
      process_.waitForReadyRead(100);
    }
    return false;
  }
  bool Running() { return !process_.waitForFinished(200); }
  int Interrupt() {
    ::kill(static_cast<pid_t>(process_.processId()), SIGINT);
    if (!process_.waitForFinished(20000)) return -1;
    return process_.exitCode();
  }
  int WaitForEnd() { return process_.waitForFinished(20000) ? process_.exitCode() : -1; }
  const std::string& Err() { return err_; }

 private:
  QProcess process_;
  std::string err_;
};

class DdeProcessTest : public GuiTest {
 protected:
  void SetUp() override {
    GuiTest::SetUp();
    places_ = FreshPlaces();
    places_.root = Root();
    setenv("XDG_RUNTIME_DIR", places_.runtime.c_str(), 1);
    program_ = std::make_unique<ZarneProgram>(places_);
    ASSERT_TRUE(program_->WaitForFrame()) << program_->Stderr();
  }
  void TearDown() override {
    if (program_) EXPECT_EQ(program_->Terminate(), 0) << program_->Stderr();
    program_.reset();
    GuiTest::TearDown();
    std::error_code ignored;
    fs::remove_all(places_.runtime, ignored);
    fs::remove_all(places_.home, ignored);
  }

  /* A request the server answers: with no file open, no data (0x4009), never a timeout. */
  void ExpectServing() {
    Finished run = Zdde({"request", "Zarne", "Current", "B1NAME"});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("request refused (error 0x4009)"), std::string::npos) << run.err;
    EXPECT_EQ(program_->WaitForExit(0), -1) << "the program ended";
  }

  int RawSocket() {
    std::string path;
    for (const dde::ServiceSocket& socket : dde::ListServiceSockets())
      if (socket.service == "Zarne" && socket.pid == program_->Pid()) path = socket.path;
    int fd = socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::snprintf(address.sun_path, sizeof address.sun_path, "%s", path.c_str());
    if (path.empty() || connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
      close(fd);
      return -1;
    }
    return fd;
  }
  static bool Send(int fd, const std::string& bytes) {
    return send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL) == static_cast<ssize_t>(bytes.size());
  }
  /* Waits for the server to close the socket (reading whatever it sends first). */
  static bool ClosedByServer(int fd) {
    for (int tick = 0; tick < 200; ++tick) {
      pollfd entry{fd, POLLIN, 0};
      if (poll(&entry, 1, 100) <= 0) continue;
      char buffer[4096];
      ssize_t n = recv(fd, buffer, sizeof buffer, 0);
      if (n <= 0) return true;
    }
    return false;
  }
  /* Opens a conversation on a raw socket. */
  static bool RawConnect(int fd) {
    dde::wire::Message request;
    request.kind = dde::wire::Kind::Connect;
    request.hasService = request.hasTopic = true;
    request.service = "Zarne";
    request.topic = "Current";
    if (!Send(fd, dde::wire::Encode(request))) return false;
    std::string input;
    dde::wire::Message reply;
    for (int tick = 0; tick < 200; ++tick) {
      pollfd entry{fd, POLLIN, 0};
      if (poll(&entry, 1, 100) <= 0) continue;
      char buffer[4096];
      ssize_t n = recv(fd, buffer, sizeof buffer, 0);
      if (n <= 0) return false;
      input.append(buffer, static_cast<size_t>(n));
      if (dde::wire::TakeMessage(input, &reply) == dde::wire::Parse::Complete)
        return reply.kind == dde::wire::Kind::ConnectReply && reply.accepted;
    }
    return false;
  }
  static std::string U32(uint32_t v) {
    std::string bytes(4, '\0');
    for (int i = 0; i < 4; ++i) bytes[i] = static_cast<char>(v >> (8 * i));
    return bytes;
  }

  ProgramPlaces places_;
  std::unique_ptr<ZarneProgram> program_;
};

TEST_F(DdeProcessTest, WithNoFileOpenEachTransactionIsAnsweredWithoutAWindow) {
  Finished request = Zdde({"request", "Zarne", "Current", "B1NAME"});
  EXPECT_EQ(request.status, 1);
  EXPECT_NE(request.err.find("request refused"), std::string::npos) << request.err;
  EXPECT_EQ(Zdde({"request", "Zarne", "Current", "TitleText"}).status, 1);
  EXPECT_EQ(Zdde({"poke", "Zarne", "Current", "B1NAME", "Jane"}).status, 1);
  for (const char* command : kExecuteCommands)
    EXPECT_EQ(Zdde({"execute", "Zarne", "Current", command}).status, 0) << command;
  for (const char* variant : {"getnextti", "GETNEXTTI", "GetFirstTIBRecordall",
                              "getfirsttibexceptboth", "GetNextTI ", "GetFirstTIB"})
    EXPECT_EQ(Zdde({"execute", "Zarne", "Current", variant}).status, 1) << variant;
  // Service and topic names compare without regard to case; another topic or service is
  // no conversation at all.
  EXPECT_EQ(Zdde({"execute", "zarne", "CURRENT", "GetNextTI"}).status, 0);
  Finished topic = Zdde({"request", "Zarne", "Other", "B1NAME"});
  EXPECT_EQ(topic.status, 1);
  EXPECT_NE(topic.err.find("no server answers for Zarne|Other"), std::string::npos) << topic.err;
  EXPECT_EQ(Zdde({"request", "Elsewhere", "Current", "B1NAME"}).status, 1);

  Finished wild = RunProgram(DDE_SESSION, {"wild"});
  EXPECT_EQ(wild.status, 0);
  EXPECT_EQ(wild.out, "pair Zarne|Current\n");

  Watcher watcher("B1NAME");
  ASSERT_TRUE(watcher.WaitForError("watching")) << watcher.Err();
  EXPECT_TRUE(watcher.Running());
  EXPECT_EQ(watcher.Interrupt(), 0);
  ExpectServing();
}

TEST_F(DdeProcessTest, ASecondAcceptedClientEndsTheFirstAndAnotherTopicDoesNot) {
  Watcher first("B1NAME");
  ASSERT_TRUE(first.WaitForError("watching")) << first.Err();
  EXPECT_EQ(Zdde({"request", "Zarne", "Other", "B1NAME"}).status, 1);
  EXPECT_EQ(Zdde({"request", "Nobody", "Current", "B1NAME"}).status, 1);
  EXPECT_TRUE(first.Running());

  Watcher second("A101");
  ASSERT_TRUE(second.WaitForError("watching")) << second.Err();
  EXPECT_EQ(first.WaitForEnd(), 1);
  EXPECT_TRUE(first.WaitForError("the server ended the conversation")) << first.Err();
  EXPECT_TRUE(second.Running());
  EXPECT_EQ(second.Interrupt(), 0);
  ExpectServing();
}

TEST_F(DdeProcessTest, GarbageAndOversizeTrafficLeaveTheProgramServing) {
  std::mt19937 random(20261209);
  {  // random bytes before any conversation
    int fd = RawSocket();
    ASSERT_GE(fd, 0);
    std::string garbage(4096, '\0');
    for (char& c : garbage) c = static_cast<char>(random());
    Send(fd, garbage);
    EXPECT_TRUE(ClosedByServer(fd));
    close(fd);
  }
  ExpectServing();
  {  // random bytes inside a conversation
    int fd = RawSocket();
    ASSERT_TRUE(RawConnect(fd));
    std::string garbage(4096, '\0');
    for (char& c : garbage) c = static_cast<char>(random());
    Send(fd, garbage);
    EXPECT_TRUE(ClosedByServer(fd));
    close(fd);
  }
  ExpectServing();
  {  // a request whose item name is 300 bytes, above the names' limit
    int fd = RawSocket();
    ASSERT_TRUE(RawConnect(fd));
    std::string body;
    body += '\5';                        // a transaction
    body += U32(1);                      // its number
    body += std::string("\xB0\x20", 2);  // XTYP_REQUEST
    body += std::string("\x01\x00", 2);  // CF_TEXT
    body += '\1';                        // with an item
    body += std::string("\x2C\x01", 2);  // of 300 bytes
    body += std::string(300, 'N');
    body += '\0';  // without data
    body += U32(0);
    Send(fd, U32(static_cast<uint32_t>(body.size())) + body);
    EXPECT_TRUE(ClosedByServer(fd));
    close(fd);
  }
  ExpectServing();
  {  // a frame above the data limit
    int fd = RawSocket();
    ASSERT_TRUE(RawConnect(fd));
    Send(fd, U32(static_cast<uint32_t>(dde::wire::kMaxBody + 1)) + std::string(65536, 'x'));
    EXPECT_TRUE(ClosedByServer(fd));
    close(fd);
  }
  ExpectServing();
  // A 5,000-byte execute is no command; it is read to its first 1023 characters only.
  EXPECT_EQ(Zdde({"execute", "Zarne", "Current", QString(5000, 'G')}).status, 1);
  EXPECT_EQ(Zdde({"execute", "Zarne", "Current", QString("GetNextTI") + QString(4991, ' ')}).status,
            1);
  ExpectServing();
  {  // a socket that never says anything, and a client that sends and never reads
    int silent = RawSocket();
    ASSERT_GE(silent, 0);
    int deaf = RawSocket();
    ASSERT_TRUE(RawConnect(deaf));
    dde::wire::Message request;
    request.kind = dde::wire::Kind::Transaction;
    request.type = XTYP_EXECUTE;
    request.format = CF_TEXT;
    request.hasData = true;
    request.data = std::string("GetNextTI") + '\0';
    std::string burst;
    for (uint32_t i = 1; i <= 2000; ++i) {
      request.transaction = i;
      burst += dde::wire::Encode(request);
    }
    int flags = MSG_NOSIGNAL | MSG_DONTWAIT;
    for (int round = 0; round < 20; ++round) send(deaf, burst.data(), burst.size(), flags);
    ExpectServing();
    close(silent);
    close(deaf);
  }
  ExpectServing();
}

}  // namespace
