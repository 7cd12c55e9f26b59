/*
** The per-run token memory of the scanner.
*/
#include "script/zbasic_token_cache.h"

#include <cstring>

void TTokenCache::Begin(const char* base) {
  base_ = base;
  length_ = std::strlen(base);
  slots_.assign(length_ + 1, -1);
  entries_.clear();
  expressionSlots_.assign(length_ + 1, -1);
  expressions_.clear();
  assignmentSlots_.assign(length_ + 1, -1);
  assignments_.clear();
  conditionSlots_.assign(length_ + 1, -1);
  conditions_.clear();
}

void TTokenCache::End() {
  base_ = nullptr;
  length_ = 0;
  slots_.clear();
  entries_.clear();
  expressionSlots_.clear();
  expressions_.clear();
  assignmentSlots_.clear();
  assignments_.clear();
  conditionSlots_.clear();
  conditions_.clear();
}

TCachedToken* TTokenCache::Store(const char* position, const TCachedToken& token) {
  if (!base_ || position < base_) return nullptr;
  size_t offset = static_cast<size_t>(position - base_);
  if (offset > length_) return nullptr;
  entries_.push_back(token);
  slots_[offset] = static_cast<int32_t>(entries_.size() - 1);
  return &entries_.back();
}

void TTokenCache::StoreExpression(const char* position, TCompiledExpression&& expression) {
  if (!base_ || position < base_) return;
  size_t offset = static_cast<size_t>(position - base_);
  if (offset > length_) return;
  expressions_.push_back(std::move(expression));
  expressionSlots_[offset] = static_cast<int32_t>(expressions_.size() - 1);
}
