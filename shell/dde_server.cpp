/*
** The DDE server's life and its callback: start and stop, the one recorded conversation,
** wild connects, the advise list and the advises the statement asks for. Field texts and
** pokes are in dde_server_fields.cpp, the title-item commands in dde_server_titles.cpp.
*/
#include "shell/dde_server.h"

#include "platform/user/message_box.h"
#include "script/field_text.h"
#include "shell/zarne_frame.h"
#include "statement/active_window.h"
#include "statement/field_advise.h"

#include <algorithm>
#include <cstring>

TZarneDecoratedMDIFrame* gDdeFrame = nullptr;

namespace {

const char kServiceName[] = "Zarne";
const char kTopicName[] = "Current";
const char kErrorCaption[] = "ZARNE DDE ERROR";

HDDEDATA Flag(UINT value) { return reinterpret_cast<HDDEDATA>(static_cast<ULONG_PTR>(value)); }

void StartFailed(TZarneDecoratedMDIFrame* frame, const char* text) {
  frame->MessageBox(frame->HWindow, text, kErrorCaption, MB_OK | MB_ICONSTOP);
}

/* The links and the title text go with the conversation. */
void ForgetConversation(TZarneDecoratedMDIFrame* frame) {
  frame->ddeConversation = nullptr;
  frame->adviseItems.clear();
  frame->adviseCount = 0;
  ClearTitleText();
}

bool IsOurs(HSZ name, HSZ ours) { return name && DdeCmpStringHandles(name, ours) == 0; }

/* Only a client asking for "Current" of "Zarne" is accepted; only then does the working
   client give way to it, so a client that asked for something else ends nobody's link. */
HDDEDATA Connect(TZarneDecoratedMDIFrame* frame, HSZ topic, HSZ service) {
  if (!IsOurs(topic, frame->ddeTopic) || !IsOurs(service, frame->ddeService)) return Flag(FALSE);
  if (frame->ddeConversation) DdeDisconnect(frame->ddeConversation);
  ForgetConversation(frame);
  return Flag(TRUE);
}

/* The pair list (service, topic) and a terminating pair of nulls. */
HDDEDATA WildConnect(TZarneDecoratedMDIFrame* frame, HSZ topic, HSZ service, UINT format) {
  bool anyTopic = topic == nullptr, anyService = service == nullptr;
  bool matches = (anyTopic && anyService) || (anyTopic && IsOurs(service, frame->ddeService)) ||
                 (anyService && IsOurs(topic, frame->ddeTopic));
  if (!matches) return nullptr;
  HSZPAIR pairs[2] = {{frame->ddeService, frame->ddeTopic}, {nullptr, nullptr}};
  return DdeCreateDataHandle(frame->ddeInstance, reinterpret_cast<LPBYTE>(pairs), sizeof pairs, 0,
                             nullptr, format, 0);
}

HDDEDATA AdviseStart(TZarneDecoratedMDIFrame* frame, HSZ item) {
  std::string name;
  if (!ReadItemName(frame->ddeInstance, item, &name)) return Flag(FALSE);
  frame->adviseItems.push_back(std::move(name));
  ++frame->adviseCount;
  return Flag(TRUE);
}

/* Only a removed entry lowers the count: list and count stay in step, so the advises
   that look at the first adviseCount entries never miss a live link. */
HDDEDATA AdviseStop(TZarneDecoratedMDIFrame* frame, HSZ item) {
  std::string name;
  if (!ReadItemName(frame->ddeInstance, item, &name)) return Flag(FALSE);
  auto& items = frame->adviseItems;
  auto found = std::find(items.begin(), items.end(), name);
  if (found != items.end()) {
    items.erase(found);
    if (frame->adviseCount > 0) --frame->adviseCount;
  }
  return Flag(TRUE);
}

void Disconnected(TZarneDecoratedMDIFrame* frame, HCONV conversation) {
  if (conversation && conversation == frame->ddeConversation) ForgetConversation(frame);
}

void CriticalError(TZarneDecoratedMDIFrame* frame) {
  frame->MessageBox(frame->HWindow, "A critical DDE error has occured.", frame->Title,
                    MB_OK | MB_ICONINFORMATION);
}

}  // namespace

bool ReadItemName(DWORD instance, HSZ item, std::string* name) {
  if (!item) return false;
  // Read straight into the name: every request, poke and advise reads one.
  DWORD length = DdeQueryString(instance, item, nullptr, 0, CP_WINANSI);
  name->resize(length);
  DdeQueryString(instance, item, name->data(), length + 1, CP_WINANSI);
  name->resize(std::strlen(name->c_str()));  // a name is text up to its first null
  return true;
}

RespaWindow* DdeFrontWindow(TZarneDecoratedMDIFrame* frame) {
  return frame ? GetActiveRespaWindow(frame->GetClientWindow()) : nullptr;
}

void StartDdeServer(TZarneDecoratedMDIFrame* frame) {
  frame->ddeInstance = 0;
  frame->ddeTopic = frame->ddeService = nullptr;
  frame->ddeConversation = nullptr;
  frame->adviseCount = 0;
  gDdeFrame = frame;
  frame->ddeCallback = &TZarneDecoratedMDIFrame::CallBack;
  if (DdeInitialize(&frame->ddeInstance, frame->ddeCallback,
                    APPCLASS_STANDARD | CBF_SKIP_REGISTRATIONS, 0) != DMLERR_NO_ERROR) {
    frame->ddeInstance = 0;
    return StartFailed(frame, "Initialization failed.");
  }
  frame->ddeService = DdeCreateStringHandle(frame->ddeInstance, kServiceName, CP_WINANSI);
  frame->ddeTopic = DdeCreateStringHandle(frame->ddeInstance, kTopicName, CP_WINANSI);
  if (!frame->ddeService || !frame->ddeTopic) return StartFailed(frame, "String creation failed.");
  if (!DdeNameService(frame->ddeInstance, frame->ddeService, nullptr, DNS_REGISTER))
    return StartFailed(frame, "Registration failed.");
  SetFieldAdviseSink(&TZarneDecoratedMDIFrame::PostFieldAdvise);
}

void StopDdeServer(TZarneDecoratedMDIFrame* frame) {
  if (gDdeFrame == frame) SetFieldAdviseSink(nullptr);
  if (frame->ddeConversation) DdeDisconnect(frame->ddeConversation);
  ForgetConversation(frame);
  if (frame->ddeInstance) {
    DdeNameService(frame->ddeInstance, frame->ddeService, nullptr, DNS_UNREGISTER);
    if (frame->ddeService) DdeFreeStringHandle(frame->ddeInstance, frame->ddeService);
    if (frame->ddeTopic) DdeFreeStringHandle(frame->ddeInstance, frame->ddeTopic);
    DdeUninitialize(frame->ddeInstance);
    frame->ddeInstance = 0;
  }
  frame->ddeService = frame->ddeTopic = nullptr;
  frame->ddeCallback = nullptr;
  if (gDdeFrame == frame) gDdeFrame = nullptr;
}

HDDEDATA CALLBACK TZarneDecoratedMDIFrame::CallBack(UINT type, UINT format, HCONV conversation,
                                                    HSZ hsz1, HSZ hsz2, HDDEDATA data, ULONG_PTR,
                                                    ULONG_PTR) {
  TZarneDecoratedMDIFrame* frame = gDdeFrame;
  if (!frame || !frame->ddeInstance) return nullptr;
  switch (type) {
    case XTYP_CONNECT: return Connect(frame, hsz1, hsz2);
    case XTYP_CONNECT_CONFIRM: frame->ddeConversation = conversation; return nullptr;
    case XTYP_WILDCONNECT: return WildConnect(frame, hsz1, hsz2, format);
    case XTYP_REQUEST: return DdeFieldText(frame, hsz1, hsz2, format);
    case XTYP_ADVREQ: return DdeFieldText(frame, hsz1, hsz2, CF_TEXT);
    case XTYP_ADVSTART: return AdviseStart(frame, hsz2);
    case XTYP_ADVSTOP: return AdviseStop(frame, hsz2);
    case XTYP_EXECUTE: return DdeExecute(frame, data);
    case XTYP_POKE: return DdePoke(frame, hsz1, hsz2, format, data);
    case XTYP_DISCONNECT: Disconnected(frame, conversation); return nullptr;
    case XTYP_ERROR: CriticalError(frame); return nullptr;
    default: return nullptr;
  }
}

void TZarneDecoratedMDIFrame::PostFieldAdvise(TFrameWindow* window, const char* name) {
  auto* frame = dynamic_cast<TZarneDecoratedMDIFrame*>(window);
  if (!frame || !frame->ddeInstance || frame->adviseCount <= 0) return;
  if (!name) {
    DdePostAdvise(frame->ddeInstance, nullptr, nullptr);
    return;
  }
  size_t watched = std::min(frame->adviseItems.size(), static_cast<size_t>(frame->adviseCount));
  for (size_t i = 0; i < watched; ++i) {
    if (frame->adviseItems[i] != name) continue;
    HSZ item = DdeCreateStringHandle(frame->ddeInstance, name, CP_WINANSI);
    if (!item) return;
    DdePostAdvise(frame->ddeInstance, frame->ddeTopic, item);
    DdeFreeStringHandle(frame->ddeInstance, item);
    return;
  }
}
