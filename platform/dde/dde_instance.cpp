/*
** Instances of the library and the string and data handle calls.
*/
#include "platform/dde/ddeml.h"

#include "platform/dde/dde_handles.h"
#include "platform/dde/dde_socket.h"
#include "platform/dde/dde_state.h"
#include "platform/dde/dde_wire.h"

#include <cstring>
#include <string>

#include <unistd.h>

using namespace dde;

UINT DdeInitialize(LPDWORD instance, PFNCALLBACK callback, DWORD commands, DWORD reserved) {
  if (!instance || !callback) return DMLERR_INVALIDPARAMETER;
  if (commands & APPCLASS_MONITOR) return DMLERR_DLL_USAGE;  // no monitors here
  State& s = state();
  if (*instance != 0) {
    // A second call with a known instance changes its filters and commands.
    Instance* existing = FindInstance(*instance);
    if (!existing) return DMLERR_INVALIDPARAMETER;
    existing->commands = commands;
    return DMLERR_NO_ERROR;
  }
  DWORD id = s.nextInstance++;
  Instance& added = s.instances[id];
  added.id = id;
  added.callback = callback;
  added.commands = commands;
  *instance = id;
  return DMLERR_NO_ERROR;
}

BOOL DdeUninitialize(DWORD instance) {
  State& s = state();
  Instance* found = FindInstance(instance);
  if (!found) return FALSE;
  std::vector<uintptr_t> owned;
  for (auto& [handle, conversation] : s.conversations)
    if (conversation->instance == instance) owned.push_back(handle);
  for (uintptr_t handle : owned) DdeDisconnect(reinterpret_cast<HCONV>(handle));
  for (auto& listener : found->listeners) {
    RetireNotifier(listener->notifier);
    CloseSocket(listener->fd);
    unlink(listener->path.c_str());
  }
  std::erase_if(s.arrivals, [instance](const auto& entry) {
    if (entry.second->instance != instance) return false;
    RetireNotifier(entry.second->notifier);
    CloseSocket(entry.second->fd);
    return true;
  });
  std::erase_if(s.lists,
                [instance](const auto& entry) { return entry.second.instance == instance; });
  ReleaseInstanceData(instance);
  s.instances.erase(instance);
  return TRUE;
}

UINT DdeGetLastError(DWORD instance) {
  Instance* found = FindInstance(instance);
  if (!found) return DMLERR_INVALIDPARAMETER;
  UINT error = found->lastError;
  found->lastError = DMLERR_NO_ERROR;
  return error;
}

HSZ DdeCreateStringHandle(DWORD instance, LPCSTR text, int codePage) {
  if (!FindInstance(instance)) return nullptr;
  if (!text || (codePage != 0 && codePage != CP_WINANSI) || std::strlen(text) > wire::kMaxName) {
    SetError(instance, DMLERR_INVALIDPARAMETER);
    return nullptr;
  }
  if (*text == '\0') return nullptr;
  return InternString(text);
}

BOOL DdeFreeStringHandle(DWORD instance, HSZ hsz) {
  if (!FindInstance(instance) || !hsz) return FALSE;
  return ReleaseString(hsz) ? TRUE : FALSE;
}

DWORD DdeQueryString(DWORD instance, HSZ hsz, LPSTR buffer, DWORD maxChars, int codePage) {
  std::string text;
  if (!FindInstance(instance) || (codePage != 0 && codePage != CP_WINANSI) ||
      !StringText(hsz, &text))
    return 0;
  if (!buffer) return static_cast<DWORD>(text.size());
  if (maxChars == 0) return 0;
  size_t copied = std::min<size_t>(text.size(), maxChars - 1);
  std::memcpy(buffer, text.data(), copied);
  buffer[copied] = '\0';
  return static_cast<DWORD>(copied);
}

int DdeCmpStringHandles(HSZ hsz1, HSZ hsz2) {
  if (hsz1 == hsz2) return 0;  // one handle per text regardless of case
  if (!hsz1) return -1;
  if (!hsz2) return 1;
  std::string a = StringTextOrEmpty(hsz1), b = StringTextOrEmpty(hsz2);
  int order = strcasecmp(a.c_str(), b.c_str());
  return order < 0 ? -1 : (order > 0 ? 1 : 0);
}

HDDEDATA DdeCreateDataHandle(DWORD instance, LPBYTE source, DWORD bytes, DWORD offset, HSZ item,
                             UINT format, UINT commands) {
  if (!FindInstance(instance)) return nullptr;
  if (static_cast<size_t>(bytes) + offset > wire::kMaxData) {
    SetError(instance, DMLERR_MEMORY_ERROR);
    return nullptr;
  }
  bool appOwned = (commands & HDATA_APPOWNED) != 0;
  std::string itemText = StringTextOrEmpty(item);
  if (source && offset == 0)  // the usual case: the bytes as they stand, copied once
    return NewData(instance, std::string_view(reinterpret_cast<const char*>(source), bytes),
                   itemText, format, appOwned);
  std::string content(offset, '\0');
  if (source) content.append(reinterpret_cast<const char*>(source), bytes);
  else content.append(bytes, '\0');
  return NewData(instance, content, itemText, format, appOwned);
}

DWORD DdeGetData(HDDEDATA data, LPBYTE destination, DWORD maxBytes, DWORD offset) {
  DataBlock* block = FindData(data);
  if (!block || offset > block->bytes.size()) return 0;
  size_t available = block->bytes.size() - offset;
  if (!destination) return static_cast<DWORD>(available);
  size_t copied = std::min<size_t>(available, maxBytes);
  std::memcpy(destination, block->bytes.data() + offset, copied);
  return static_cast<DWORD>(copied);
}

LPBYTE DdeAccessData(HDDEDATA data, LPDWORD size) {
  DataBlock* block = FindData(data);
  if (!block) return nullptr;
  if (size) *size = static_cast<DWORD>(block->bytes.size());
  return reinterpret_cast<LPBYTE>(block->bytes.data());
}

BOOL DdeFreeDataHandle(HDDEDATA data) { return ReleaseData(data) ? TRUE : FALSE; }
