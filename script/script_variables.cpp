/*
** The variable, label and loop containers of the interpreter.
*/
#include "script/script_variables.h"

#include <cstring>
#include <new>

TVariableNode* TVariableList::Add(const TVariableNode& node) {
  TVariableNode* copy = new (std::nothrow) TVariableNode(node);
  if (!copy) return nullptr;
  copy->text = nullptr;
  if (node.type == kVariableString) {
    copy->text = new (std::nothrow) char[kScriptTextSize];
    if (!copy->text) {
      delete copy;
      return nullptr;
    }
    copy->text[0] = '\0';
    if (node.text) {
      std::strncpy(copy->text, node.text, kScriptTextSize - 1);
      copy->text[kScriptTextSize - 1] = '\0';
    }
  }
  copy->previous = tail_;
  copy->next = nullptr;
  (tail_ ? tail_->next : head_) = copy;
  tail_ = copy;
  return copy;
}

void TVariableList::Clear() {
  while (head_) {
    TVariableNode* next = head_->next;
    delete[] head_->text;
    delete head_;
    head_ = next;
  }
  tail_ = nullptr;
}

TVariableNode* TVariableList::Find(const char* name) const {
  for (TVariableNode* node = head_; node; node = node->next)
    if (std::strcmp(node->name, name) == 0) return node;
  return nullptr;
}

TLabelNode* TLabelList::Add(const TLabelNode& node) {
  TLabelNode* copy = new (std::nothrow) TLabelNode(node);
  if (!copy) return nullptr;
  copy->previous = tail_;
  copy->next = nullptr;
  (tail_ ? tail_->next : head_) = copy;
  tail_ = copy;
  return copy;
}

void TLabelList::Clear() {
  while (head_) {
    TLabelNode* next = head_->next;
    delete head_;
    head_ = next;
  }
  tail_ = nullptr;
}

TLabelNode* TLabelList::Find(const char* name) const {
  for (TLabelNode* node = head_; node; node = node->next)
    if (std::strcmp(node->name, name) == 0) return node;
  return nullptr;
}

bool TLoopStack::Push(const TLoopEntry& entry) {
  if (count_ >= kScriptMaxLoops) return false;
  entries_[count_++] = entry;
  return true;
}

bool TLoopStack::Pop(TLoopEntry* entry) {
  if (count_ <= 0) return false;
  *entry = entries_[--count_];
  return true;
}
