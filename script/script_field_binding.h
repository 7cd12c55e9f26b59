/*
** What the interpreter needs from the window whose data fields scripts read and write.
** The interpreter itself finds a field by name in the data-field lists and decides by its
** display kind what is read and written (money at cents, whole numbers for dates); the
** statement window implements this binding, which only moves raw values in and out of its
** record buffers (by the field's table index and field number) and reacts to a store.
*/
#ifndef ZARNE_SCRIPT_SCRIPT_FIELD_BINDING_H
#define ZARNE_SCRIPT_SCRIPT_FIELD_BINDING_H

#include "platform/kernel/wintypes.h"

struct TFieldNode;

class TScriptFieldBinding {
 public:
  virtual ~TScriptFieldBinding() = default;

  /* The window that owns the interpreter's error boxes. */
  virtual HWND ScriptOwnerWindow() = 0;

  /* Reads from the owner's record for the field; false when the read failed (the binding
     has reported it). */
  virtual bool ReadFieldText(const TFieldNode* field, char* buffer, int size) = 0;
  virtual bool ReadFieldDouble(const TFieldNode* field, double* value) = 0;
  /* Whole-number fields and date numbers. */
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
