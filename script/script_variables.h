/*
** The containers the interpreter keeps its state in: script variables (own, built-in or
** bound to a data field), labels found by the pre-scan, and the stack of active loops.
*/
#ifndef ZARNE_SCRIPT_SCRIPT_VARIABLES_H
#define ZARNE_SCRIPT_SCRIPT_VARIABLES_H

#include "platform/kernel/wintypes.h"
#include "script/script_decimal.h"

struct TFieldNode;  // a data field of the statement's field lists

constexpr int kScriptNameSize = 33;    // 32 characters and the terminator
constexpr int kScriptTextSize = 4096;  // 4095 characters and the terminator
constexpr int kScriptLabelSize = 12;   // 11 characters and the terminator
constexpr int kScriptMaxLoops = 12;

enum TVariableType : LONG { kVariableNone = 0, kVariableNumber = 1, kVariableString = 2 };

struct TVariableNode {
  char name[kScriptNameSize] = {};
  const TFieldNode* field = nullptr;  // the data field it stands for; null for the script's own
  LONG type = kVariableNone;
  ScriptDecimal value;
  char* text = nullptr;  // owned, kScriptTextSize bytes, strings only
  TVariableNode* previous = nullptr;
  TVariableNode* next = nullptr;
};

/* A doubly linked list of variables owning its nodes and their text buffers. */
class TVariableList {
 public:
  TVariableList() = default;
  TVariableList(const TVariableList&) = delete;
  TVariableList& operator=(const TVariableList&) = delete;
  ~TVariableList() { Clear(); }

  /* Adds a copy of the node at the tail (a string gets its own buffer); answers the copy,
     or null when memory ran out. */
  TVariableNode* Add(const TVariableNode& node);
  void Clear();
  /* The first variable of that name (case-sensitive), or null. */
  TVariableNode* Find(const char* name) const;
  TVariableNode* First() const { return head_; }
  bool IsEmpty() const { return head_ == nullptr; }

 private:
  TVariableNode* head_ = nullptr;
  TVariableNode* tail_ = nullptr;
};

struct TLabelNode {
  char name[kScriptLabelSize] = {};
  const char* position = nullptr;  // where the label's statements begin
  LONG line = 1;                   // the line number at that position
  TLabelNode* previous = nullptr;
  TLabelNode* next = nullptr;
};

class TLabelList {
 public:
  TLabelList() = default;
  TLabelList(const TLabelList&) = delete;
  TLabelList& operator=(const TLabelList&) = delete;
  ~TLabelList() { Clear(); }

  TLabelNode* Add(const TLabelNode& node);
  void Clear();
  TLabelNode* Find(const char* name) const;

 private:
  TLabelNode* head_ = nullptr;
  TLabelNode* tail_ = nullptr;
};

/* One active while loop: where its condition starts and on which line. */
struct TLoopEntry {
  const char* position = nullptr;
  LONG line = 1;
};

class TLoopStack {
 public:
  /* False when twelve loops are already held (the entry is not stored). */
  bool Push(const TLoopEntry& entry);
  /* False when empty. */
  bool Pop(TLoopEntry* entry);
  /* The innermost loop, or null when none is active. */
  const TLoopEntry* Top() const { return count_ > 0 ? &entries_[count_ - 1] : nullptr; }
  void Drop() {
    if (count_ > 0) --count_;
  }
  void Clear() { count_ = 0; }
  LONG Count() const { return count_; }

 private:
  LONG count_ = 0;
  TLoopEntry entries_[kScriptMaxLoops];
};

#endif
