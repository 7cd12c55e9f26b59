/*
** The per-run token memory of the scanner.
*/
#include "script/zbasic_token_cache.h"

void TTokenCache::Begin(const char* base) {
  End();
  base_ = base;
}

void TTokenCache::End() {
  base_ = nullptr;
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
  StoreIn(slots_, entries_, position, token);
  return Find(position);
}

void TTokenCache::StoreExpression(const char* position, TCompiledExpression&& expression) {
  StoreIn(expressionSlots_, expressions_, position, expression);
}
