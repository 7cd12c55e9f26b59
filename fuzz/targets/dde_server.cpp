/*
** Fuzz target: the DDE server as a whole, as a client on another program meets it. The main
** program's application starts once in a fresh root with a closing file open in front;
** each input is one client: it connects to the service's socket, sends what the input
** says, closes its sending side and reads until the server hangs up. Most inputs are read
** as a list of transactions (request, poke, execute, advise start and stop) on field names
** the program knows, encoded as a client would, so they reach the callback and the front
** window; the rest go out as raw bytes after the opening. Every frame the server sends must
** decode, the server must end the conversation its client closed, and it must stay alive
** for the next client.
**
** Its options (dde_server.options) leave the search for leaked memory to the end of a run:
** the display library's own caches (a blinking caret's text layout, the socket watch lists)
** end a third of the inputs holding a little more memory than they began with, and each such
** input would otherwise be run twice and followed by a search of the whole heap. What the
** server itself leaks still adds up over the run and is found at its end.
** They also count a feature as rare, for the fuzzer's choice of which input to change next,
** up to 32 sightings rather than 255: each input reaches thousands of features, the fuzzer
** looked every one of them up in its list of rare ones, and with 255 that list held most of
** them, which took up to a sixth of the time. The rarest features still steer the choice;
** what counts as new coverage, and so what is kept in the corpus, is decided as before.
** And they hold an input to 2 KB, hundreds of transactions in one conversation: a poke's
** text and a name are at most 255 bytes, and a frame the server must refuse for its size is
** refused by the length in its first bytes. Longer inputs only repeated transactions, while
** the fuzzer's growing length limit made each run slower than the one before.
*/
#include "filenumber/file_windows.h"
#include "fuzz/fuzz_support.h"
#include "fuzz/small_block_checking.h"  // a conversation releases some hundred KB
#include "platform/dde/dde_socket.h"
#include "platform/dde/dde_wire.h"
#include "platform/dde/ddeml.h"
#include "platform/kernel/modules.h"
#include "platform/user/message_box.h"
#include "platform/user/message_queue.h"
#include "shell/zarne_app.h"
#include "shell/zarne_mdi_client.h"
#include "tableaccess/field_list.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <string>
#include <string_view>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>
#include <vector>

namespace {

namespace wire = dde::wire;

ZarneApp* gApp = nullptr;
std::string gServicePath;
std::vector<std::string> gItems;  // the field names and pseudo-fields the program knows

constexpr int kMaxRounds = 20000;
const uint16_t kTypes[] = {XTYP_REQUEST, XTYP_POKE, XTYP_EXECUTE, XTYP_ADVSTART, XTYP_ADVSTOP};
const char* const kCommands[] = {"GetFirstTIBRecordAll", "GetFirstTIBOtherBoth",
                                 "GetFirstTIBExceptLoan", "GetNextTI"};

/* Reads the input front to back; past its end every byte is 0. */
struct Reader {
  const uint8_t* data;
  size_t size;
  size_t at = 0;
  bool More() const { return at < size; }
  uint8_t Byte() { return at < size ? data[at++] : 0; }
  std::string_view Text(size_t length) {
    length = std::min(length, size - at);
    std::string_view text(reinterpret_cast<const char*>(data + at), length);
    at += length;
    return text;
  }
};

void Pump() {
  MSG msg;
  for (int guard = 0; guard < 1000 && PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE); ++guard) {
    if (msg.message == WM_QUIT) continue;
    if (gApp->ProcessAppMsg(msg)) continue;
    TranslateMessage(&msg);
    DispatchMessage(&msg);
  }
}

std::string_view ItemName(Reader& in) {
  uint8_t choice = in.Byte();
  if (choice >= 0xF0) return in.Text(in.Byte());  // a name of the client's own
  return gItems[choice % gItems.size()];
}

/* One message is filled anew for each transaction, its buffers kept: most item names are
   longer than a string holds without a buffer of its own. */
std::string Transactions(Reader& in) {
  std::string bytes;
  wire::Message m;
  m.kind = wire::Kind::Transaction;
  for (uint32_t number = 1; in.More(); ++number) {
    uint8_t selector = in.Byte();
    m.transaction = number;
    m.hasItem = m.hasData = false;
    m.item.clear();
    m.data.clear();
    uint16_t type = kTypes[selector % 5];
    m.type = (selector & 0x08) ? (type | XTYPF_NODATA) : type;
    m.format = (selector & 0x10) ? in.Byte() : CF_TEXT;
    if (type == XTYP_EXECUTE) {
      m.hasData = true;
      if (selector & 0x20) m.data.assign(in.Text(in.Byte()));
      else m.data.assign(kCommands[in.Byte() % 4]);
      if (selector & 0x40) m.data.push_back('\0');
    } else {
      m.hasItem = true;
      m.item.assign(ItemName(in));
      if (m.item.empty()) m.item.assign("FileNum");
      if (type == XTYP_POKE) {
        m.hasData = true;
        m.data.assign(in.Text(in.Byte()));
        if (selector & 0x40) m.data.push_back('\0');
      }
    }
    wire::EncodeTo(m, &bytes);
  }
  return bytes;
}

/* One round of the conversation: what can be sent is sent, the program runs, and what it
   answered is read. False once the server has hung up. With finish set, the sending side is
   closed as soon as everything is sent, before the program runs: the server then reads the
   last transactions and the end together, and needs no round of its own for the end. */
bool Round(int fd, std::string& out, std::string& in, bool finish = false) {
  if (!out.empty()) {
    ssize_t sent = send(fd, out.data(), out.size(), MSG_NOSIGNAL | MSG_DONTWAIT);
    if (sent > 0) out.erase(0, sent);
    else if (sent < 0 && errno != EAGAIN && errno != EWOULDBLOCK) out.clear();
  }
  if (finish && out.empty()) shutdown(fd, SHUT_WR);
  Pump();
  char buffer[65536];
  for (;;) {
    ssize_t got = recv(fd, buffer, sizeof buffer, MSG_DONTWAIT);
    if (got > 0) {
      in.append(buffer, got);
      continue;
    }
    return got < 0 && (errno == EAGAIN || errno == EWOULDBLOCK);  // else hung up or reset
  }
}

/* A new client's socket, connected to the service and non-blocking from the start. The
   program's own client call would also set the flags in two more calls and ask who is at
   the other end, which is this process: work on the client side, not the server's. */
int Connect() {
  static sockaddr_un address = [] {
    sockaddr_un service{};
    service.sun_family = AF_UNIX;
    FuzzRequire(gServicePath.size() < sizeof service.sun_path, "the service's path fits");
    std::memcpy(service.sun_path, gServicePath.c_str(), gServicePath.size() + 1);
    return service;
  }();
  int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
  if (fd >= 0 && connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0) return fd;
  if (fd >= 0) close(fd);
  return -1;
}

bool WholeFrame(const std::string& bytes) {
  size_t at = 0;
  wire::Message message;
  return wire::ReadMessageAt(bytes, &at, &message) != wire::Parse::Incomplete;
}

/* Sends the opening and, once the connection is accepted, the rest; then closes the sending
   side and reads until the server hangs up. Answers the bytes the server sent. */
std::string Converse(int fd, std::string opening, std::string rest) {
  std::string in;
  int round = 0;
  bool open = true;
  // A client sends nothing more before the server has answered its opening.
  while (open && !WholeFrame(in) && ++round < kMaxRounds) open = Round(fd, opening, in);
  if (open) {
    std::string reply = in;
    wire::Message answer;
    bool accepted = wire::TakeMessage(reply, &answer) == wire::Parse::Complete &&
                    answer.kind == wire::Kind::ConnectReply && answer.accepted;
    std::string out = accepted ? std::move(rest) : std::string();
    while (open && ++round < kMaxRounds) open = Round(fd, out, in, true);
  }
  FuzzRequire(!open, "the server ends a conversation its client closed");
  return in;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  std::string root = FuzzScratchDirectory() + "/root";
  ::mkdir(root.c_str(), 0700);
  setenv("ZARNE_ROOT", root.c_str(), 1);
  unsetenv("XDG_RUNTIME_DIR");  // the service's socket in the scratch root, seen by no one else
  // Every box (the critical-error box among them) answers with its default button.
  SetMessageBoxPresenter(
      [](const MessageBoxRequest& box) { return DefaultMessageBoxAnswer(box.type); });
  // The start-up frees the two layout libraries once read; held here they stay mapped, as
  // the fuzzer goes on counting coverage in every instrumented library it has seen.
  for (const char* layout : {"stmlay32.dll", "auxlay32.dll"})
    FuzzRequire(LoadLibrary(layout) != nullptr, "the layout libraries load");
  gApp = new ZarneApp;
  gApp->InitInstance();
  FuzzRequire(gApp->StartedUp(), "the program starts in the scratch root");
  auto* client = static_cast<ZarneMDIClient*>(gApp->GetMainWindow()->GetClientWindow());
  OpenFileWindow(client, "FUZZ1");
  FuzzRequire(FindFileWindow(client, "FUZZ1") != nullptr, "a closing file is open in front");
  Pump();
  for (const TFieldList* list : {&gRespaFieldList, &gOtherFieldList})
    for (const TFieldNode* node = list->head; node; node = node->next) gItems.push_back(node->name);
  for (const char* pseudo : {"Grantee", "Grantor", "Buyer", "Seller", "TitleText"})
    gItems.push_back(pseudo);
  gServicePath = dde::RuntimeDirectory() + "/" + dde::ServiceSocketName("Zarne", getpid());
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Reader in{data, size};
  uint8_t mode = in.Byte();
  wire::Message opening;
  opening.kind = wire::Kind::Connect;
  opening.hasService = opening.hasTopic = true;
  opening.service = "Zarne";
  opening.topic = "Current";
  if (mode & 0x01) opening.topic = in.Text(in.Byte() % 12);  // another topic, maybe none
  if (mode & 0x02) opening.kind = wire::Kind::WildQuery;
  std::string rest = (mode & 0x04) ? std::string(in.Text(size)) : Transactions(in);

  int fd = Connect();
  FuzzRequire(fd >= 0, "the server takes a new client");
  std::string answered = Converse(fd, wire::Encode(opening), std::move(rest));
  close(fd);
  // The ended conversation's objects are freed at the next turn of the message loop. Without
  // that turn every input would end holding memory, and the fuzzer would search the whole
  // heap for a leak after each one.
  Pump();
  // Read in place: taking each frame off the front would move the rest of them every time.
  wire::Message reply;
  for (size_t at = 0; at < answered.size();) {
    wire::Parse parse = wire::ReadMessageAt(answered, &at, &reply);
    FuzzRequire(parse == wire::Parse::Complete, "every frame the server sends decodes whole");
  }
  return 0;
}
