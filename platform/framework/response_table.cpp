/*
** Response-table lookup and dispatch.
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

const TResponseTableEntry* TEventHandler::FindEntry(const TEventKey&) { return nullptr; }

bool TEventHandler::Dispatch(const TEventKey& key, TEventArgs& args, LRESULT* result) {
  const TResponseTableEntry* entry = FindEntry(key);
  if (!entry) return false;
  LRESULT answer = entry->dispatch(this, args);
  if (result) *result = answer;
  return true;
}
