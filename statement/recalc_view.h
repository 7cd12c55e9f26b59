/*
** What the recalculation needs of a statement window: its record buffers by table index,
** its twelve section subtotals, a repaint by field id, the window that owns its boxes and
** the binding a field script runs over. The statement window answers these; tests answer
** them over bare records.
*/
#ifndef ZARNE_STATEMENT_RECALC_VIEW_H
#define ZARNE_STATEMENT_RECALC_VIEW_H

#include "catalogue/shared_tables.h"
#include "platform/kernel/wintypes.h"
#include "script/script_decimal.h"

class TPXRecord;
class TScriptFieldBinding;

/* The twelve section subtotals, in the order the column sums run. */
enum SectionSubtotal {
  kSub800B,
  kSub800S,
  kSub900B,
  kSub900S,
  kSub1000B,
  kSub1000S,
  kSub1100B,
  kSub1100S,
  kSub1200B,
  kSub1200S,
  kSub1300B,
  kSub1300S,
  kSubtotalCount
};

class RecalcView {
 public:
  virtual ~RecalcView() = default;
  /* The record of a table index, or null once the window has let its records go. */
  virtual TPXRecord* Record(int tableIndex) = 0;
  virtual ScriptDecimal& Subtotal(int which) = 0;
  /* Repaints the statement field with this id; an id the field list lacks repaints nothing. */
  virtual void RepaintFieldById(int fieldId) = 0;
  /* The owner of the rules' message boxes. */
  virtual HWND BoxOwner() = 0;
  /* The binding a field script of this window reads and writes through. */
  virtual TScriptFieldBinding* ScriptOwner() = 0;
};

#endif
