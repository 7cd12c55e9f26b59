/*
** What the interpreter needs from the window whose data fields scripts read and write.
** The statement window implements it; the interpreter does the rest (which display type
** reads and writes what, rounding money to cents, errors), so a binding only moves raw
** values in and out of its record buffers and reacts to a store.
*/
#ifndef ZARNE_SCRIPT_SCRIPT_FIELD_BINDING_H
#define ZARNE_SCRIPT_SCRIPT_FIELD_BINDING_H

#include "platform/kernel/wintypes.h"

struct TFieldNode;

/* Display types of data fields, as the field lists give them. */
enum TScriptDisplayType : int {
  kDisplayText = 1,
  kDisplayMultiLineText = 2,
  kDisplayMoney = 3,
  kDisplayInteger = 4,
  kDisplayRate = 5,
  kDisplayDecimalRate = 6,
  kDisplayDate = 7,
  kDisplayReadOnlyText = 8,
};

class TScriptFieldBinding {
 public:
  virtual ~TScriptFieldBinding() = default;

  /* The window that owns the interpreter's error boxes. */
  virtual HWND ScriptOwnerWindow() = 0;
  /* The data field of that name in the statement field list, then in the other list;
     null when neither has it. */
  virtual const TFieldNode* FindScriptField(const char* name) = 0;
  /* The data field of that name in the statement field list only; null when absent. */
  virtual const TFieldNode* FindStatementField(const char* name) = 0;
  virtual int FieldDisplayType(const TFieldNode* field) = 0;

  /* Reads from the owner's record for the field; false when the read failed (the binding
     has reported it). */
  virtual bool ReadFieldText(const TFieldNode* field, char* buffer, int size) = 0;
  virtual bool ReadFieldDouble(const TFieldNode* field, double* value) = 0;
  /* Integer fields and date numbers. */
  virtual bool ReadFieldLong(const TFieldNode* field, LONG* value) = 0;

  /* Stores into the owner's record buffer; false when the store failed. */
  virtual bool WriteFieldText(const TFieldNode* field, const char* text) = 0;
  virtual bool WriteFieldDouble(const TFieldNode* field, double value) = 0;
  virtual bool WriteFieldLong(const TFieldNode* field, LONG value) = 0;

  /* After each store: repaint the field and its dependents and recalculate for it (which
     may run further scripts before it returns). */
  virtual void FieldStored(const TFieldNode* field) = 0;
};

#endif
