/*
** Response-table lookup, the lookups' cache, and dispatch.
*/
#include "platform/framework/response_table.h"

static bool Matches(const TResponseTableEntry& e, const TEventKey& key) {
  if (e.kind != key.kind) return false;
  switch (key.kind) {
    case TEntryKind::Message: return e.message == key.message;
    case TEntryKind::Command:
    case TEntryKind::ChildNotifyAll:
    case TEntryKind::CommandEnable: return e.id == key.id;
    case TEntryKind::ChildNotify: return e.id == key.id && e.code == key.code;
    case TEntryKind::NotifyAtChild: return e.code == key.code;
  }
  return false;
}

const TResponseTableEntry* SearchResponseTable(const std::vector<TResponseTableEntry>& table,
                                               const TEventKey& key) {
  for (const TResponseTableEntry& entry : table)
    if (Matches(entry, key)) return &entry;
  return nullptr;
}

namespace {
constexpr size_t kMostRememberedKeys = 512;
}

size_t TResponseCache::KeyHash::operator()(const TEventKey& key) const {
  size_t h = static_cast<size_t>(key.kind);
  for (UINT part : {key.message, key.id, key.code}) h = h * 1000003u ^ part;
  return h;
}

bool TResponseCache::KeyEqual::operator()(const TEventKey& a, const TEventKey& b) const {
  return a.kind == b.kind && a.message == b.message && a.id == b.id && a.code == b.code;
}

bool TResponseCache::Find(const TEventKey& key, const TResponseTableEntry** entry) const {
  auto found = answers_.find(key);
  if (found == answers_.end()) return false;
  *entry = found->second;
  return true;
}

void TResponseCache::Remember(const TEventKey& key, const TResponseTableEntry* entry) {
  if (answers_.size() < kMostRememberedKeys) answers_.emplace(key, entry);
}

const TResponseTableEntry* TEventHandler::FindEntry(const TEventKey&) { return nullptr; }

bool TEventHandler::Dispatch(const TEventKey& key, TEventArgs& args, LRESULT* result) {
  const TResponseTableEntry* entry = FindEntry(key);
  if (!entry) return false;
  LRESULT answer = entry->dispatch(this, args);
  if (result) *result = answer;
  return true;
}
