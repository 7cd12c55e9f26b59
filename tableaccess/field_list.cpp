/*
** The data-field lists: nodes, appending, the three searches (by id and by name through the
** list's indexes) and the copy of the layout libraries' records into nodes.
*/
#include "tableaccess/field_list.h"

#include <cstddef>
#include <cstring>

TFieldList gRespaFieldList;
TFieldList gOtherFieldList;

TFieldList::TFieldList() : head(nullptr), tail(nullptr) {}

TFieldList::~TFieldList() { ClearFieldList(this); }

void InitFieldNode(TFieldNode* node) {
  std::memset(node, 0, sizeof(*node));
  node->tableIndex = 0xFFFF;
}

TFieldNode* AppendField(TFieldList* list, const TFieldNode* source) {
  TFieldNode* node = new TFieldNode;
  InitFieldNode(node);
  std::memcpy(node->name, source->name, kFieldNameSize);
  node->name[kFieldNameSize - 1] = '\0';
  node->tableIndex = source->tableIndex;
  node->fieldNumber = source->fieldNumber;
  node->fieldId = source->fieldId;
  node->displayKind = source->displayKind;
  node->extraWord = source->extraWord;
  node->top = source->top;
  node->right = source->right;
  node->bottom = source->bottom;
  node->left = source->left;
  node->prev = list->tail;
  if (list->tail) list->tail->next = node;
  else list->head = node;
  list->tail = node;
  // The first node with an id is the one found: a later one with the same id is not indexed.
  if (list->byId.size() <= node->fieldId) list->byId.resize(node->fieldId + 1u, nullptr);
  if (!list->byId[node->fieldId]) list->byId[node->fieldId] = node;
  list->byName[std::string_view(node->name)].push_back(node);
  return node;
}

TFieldNode* FindFieldAtPoint(TFieldList* list, int x, int y) {
  for (TFieldNode* node = list->head; node; node = node->next) {
    if (node->left < x && x < node->right && node->top < y && y < node->bottom) return node;
  }
  return nullptr;
}

TFieldNode* FindFieldByNumber(TFieldList* list, int id) {
  if (id < 0 || static_cast<std::size_t>(id) >= list->byId.size()) return nullptr;
  return list->byId[static_cast<std::size_t>(id)];
}

TFieldNode* FindFieldByName(TFieldList* list, const char* name) {
  std::span<TFieldNode* const> named = FindFieldsByName(list, name);
  return named.empty() ? nullptr : named.front();
}

std::span<TFieldNode* const> FindFieldsByName(TFieldList* list, const char* name) {
  if (!name) return {};
  auto found = list->byName.find(std::string_view(name));
  if (found == list->byName.end()) return {};
  return found->second;
}

TFieldNode* FirstField(TFieldList* list) { return list->head; }

TFieldNode* LastField(TFieldList* list) { return list->tail; }

void ClearFieldList(TFieldList* list) {
  TFieldNode* node = list->head;
  while (node) {
    TFieldNode* next = node->next;
    delete node;
    node = next;
  }
  list->head = nullptr;
  list->tail = nullptr;
  list->byId.clear();
  list->byName.clear();
}

namespace {

void CopyName(const char* name, TFieldNode* node) {
  if (!name) return;
  std::strncpy(node->name, name, kFieldNameSize - 1);
  node->name[kFieldNameSize - 1] = '\0';
}

}  // namespace

void NodeFromRespaRecord(const RespaLayoutRecord& record, TFieldNode* node) {
  InitFieldNode(node);
  CopyName(record.name, node);
  node->tableIndex = record.tableIndex;
  node->fieldNumber = record.fieldNumber;
  node->fieldId = record.fieldId;
  node->displayKind = record.displayKind;
  node->extraWord = record.extraWord;
  // The record runs left, top, right, bottom; the node keeps top, right, bottom, left.
  node->top = record.top;
  node->right = record.right;
  node->bottom = record.bottom;
  node->left = record.left;
}

void NodeFromOtherRecord(const OtherLayoutRecord& record, TFieldNode* node) {
  InitFieldNode(node);
  CopyName(record.name, node);
  node->tableIndex = record.tableIndex;
  node->fieldNumber = record.fieldNumber;
  node->displayKind = record.displayKind;
  node->extraWord = record.extraWord;
}

int AppendRespaRecords(TFieldList* list, GetFieldCountProc count, GetRespaFieldProc get) {
  if (!count || !get) return 0;
  int appended = 0;
  const std::int32_t total = count();
  for (std::int32_t i = 0; i < total && i <= 0x7FFF; ++i) {
    const RespaLayoutRecord* record = get(static_cast<std::int16_t>(i));
    if (!record) continue;
    TFieldNode node;
    NodeFromRespaRecord(*record, &node);
    AppendField(list, &node);
    ++appended;
  }
  return appended;
}

int AppendOtherRecords(TFieldList* list, GetFieldCountProc count, GetOtherFieldProc get) {
  if (!count || !get) return 0;
  int appended = 0;
  const std::int32_t total = count();
  for (std::int32_t i = 0; i < total && i <= 0x7FFF; ++i) {
    const OtherLayoutRecord* record = get(static_cast<std::int16_t>(i));
    if (!record) continue;
    TFieldNode node;
    NodeFromOtherRecord(*record, &node);
    AppendField(list, &node);
    ++appended;
  }
  return appended;
}
