/*
** Transactions over the engine's: begin, commit and abort with the table layer's reporting,
** the nesting a save inside a merge needs, and the records whose writes an abort takes back.
*/
#include "tableaccess/px_transaction.h"

#include "tableaccess/engine_session.h"
#include "tableaccess/px_record.h"

#include <algorithm>
#include <vector>

namespace {
// Owner: tableaccess.
int gDepth = 0;
bool gDoomed = false;  // a write failed or an inner transaction was taken back: all abort
bool gHeld = false;    // an engine transaction is open
/* Every record written while it is open, whoever wrote it: a save run from within another
   (a box shown by a failed write lets other windows work) is taken back with it. */
std::vector<TPXRecord*> gWritten;
}  // namespace

TPXTransaction::TPXTransaction() {
  if (gDepth++ > 0) return;
  gDoomed = false;
  outermost_ = true;
  gWritten.clear();
  if (!PXCheck(EngineBeginTran(gDatabase, &handle_))) handle_ = nullptr;
  gHeld = handle_ != nullptr;
}

TPXTransaction::~TPXTransaction() {
  if (!ended_) Abort();
  --gDepth;
}

bool TPXTransaction::Commit() {
  if (ended_) return false;
  ended_ = true;
  if (!outermost_) return true;
  if (handle_ == nullptr) return true;  // nothing was held back
  return End(gDoomed ? ENGINE_XEND_ABORT : ENGINE_XEND_COMMIT);
}

void TPXTransaction::Abort() {
  if (ended_) return;
  ended_ = true;
  if (!outermost_) {
    gDoomed = true;
    return;
  }
  if (handle_ != nullptr) End(ENGINE_XEND_ABORT);
}

/* Ends the engine's transaction; when nothing was stored (an abort, a failed commit, which
   the engine rolls back) every record written in it counts as unsaved again. */
bool TPXTransaction::End(DWORD end) {
  gHeld = false;
  bool stored = PXCheck(EngineEndTran(gDatabase, handle_, end)) && end == ENGINE_XEND_COMMIT;
  if (!stored)
    for (TPXRecord* record : gWritten) record->MarkModified();
  gWritten.clear();
  return stored;
}

void TPXTransaction::NoteWritten(TPXRecord* record) {
  if (gHeld && std::find(gWritten.begin(), gWritten.end(), record) == gWritten.end())
    gWritten.push_back(record);
}

bool TPXTransaction::NoteFailedWrite() {
  if (gHeld) gDoomed = true;
  return false;
}

void TPXTransaction::Forget(TPXRecord* record) {
  if (!gWritten.empty())
    gWritten.erase(std::remove(gWritten.begin(), gWritten.end(), record), gWritten.end());
}
