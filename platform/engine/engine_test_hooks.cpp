/*
** The test seam's planned failures, and the check each operation makes on entry.
*/
#include "platform/engine/engine_test_hooks.h"
#include "platform/engine/engine_internal.h"
#include "platform/engine/engine_pagecheck.h"

#include <map>
#include <string>

namespace zarne::engine {
namespace {

struct PlannedFailure {
  int callsLeft = 0;
  EngineResult code = ENGINE_OK;
  std::vector<std::string> contexts;
};

std::map<std::string, PlannedFailure>& Planned() {
  static std::map<std::string, PlannedFailure> planned;
  return planned;
}

}  // namespace

EngineResult PlannedFailureOf(const char* operation) {
  if (Planned().empty()) return ENGINE_OK;
  auto found = Planned().find(operation);
  if (found == Planned().end()) return ENGINE_OK;
  if (--found->second.callsLeft > 0) return ENGINE_OK;
  PlannedFailure failure = std::move(found->second);
  Planned().erase(found);
  return FailInSlots(failure.code, failure.contexts);
}

}  // namespace zarne::engine

void EngineTestFailCall(const char* operation, int n, EngineResult code,
                        std::initializer_list<const char*> contexts) {
  using namespace zarne::engine;
  if (!operation) return;
  if (n <= 0) {
    Planned().erase(operation);
    return;
  }
  PlannedFailure failure;
  failure.callsLeft = n;
  failure.code = code;
  for (const char* text : contexts) failure.contexts.push_back(text ? text : "");
  Planned()[operation] = std::move(failure);
}

void EngineTestClearFailures() { zarne::engine::Planned().clear(); }

void EngineTestFillDisk(const char* nameHas, long long bytes) {
  zarne::engine::SimulateFullDisk(nameHas ? nameHas : "", bytes);
}
