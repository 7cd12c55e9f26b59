/*
** What the interpreter needs from the window whose data fields scripts read and write.
** The interpreter itself finds a field by name in the data-field lists and decides by its
** display kind what is read and written (money at cents, whole numbers for dates); the
** statement window implements this binding, which only moves raw values in and out of its
** record buffers (by the field's table index and field number) and reacts to a store.
** Field texts and template merges read the same window through it: a field's value as it is
** shown, and the joined party names.
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

  /* The field's value as text into out (size bytes, terminated): mode '*' the long form of a
     date, '!' an amount or date in words, '>' empty for a zero value, else the usual text
     of its display kind. A field of no value leaves out untouched. A binding without
     field texts (one that only serves scripts) answers empty text here and below. */
  virtual void FormatFieldText(const TFieldNode* field, char* out, unsigned size, char mode) {
    EmptyText(out, size);
  }
  /* The party texts, each cut to size - 1 characters: grantee and grantor are the names with
     their suffixes and the record's vesting text; buyer and seller names come without. */
  virtual void GetGranteeText(char* out, unsigned size) { EmptyText(out, size); }
  virtual void GetGrantorText(char* out, unsigned size) { EmptyText(out, size); }
  virtual void GetBuyerNames(char* out, unsigned size) { EmptyText(out, size); }
  virtual void GetSellerNames(char* out, unsigned size) { EmptyText(out, size); }

 private:
  static void EmptyText(char* out, unsigned size) {
    if (out && size) out[0] = '\0';
  }
};

#endif
