/*
** TZBIItem: one field script as the statement keeps it, keyed by the field's table index
** and field number. Items compare by that key only, never by their text.
*/
#ifndef ZARNE_SCRIPT_ZBI_ITEM_H
#define ZARNE_SCRIPT_ZBI_ITEM_H

#include "platform/kernel/wintypes.h"

class TZBIItem {
 public:
  TZBIItem() = default;
  TZBIItem(LONG tableIndex, LONG fieldNumber, const char* text);
  TZBIItem(const TZBIItem& other);
  TZBIItem& operator=(const TZBIItem& other);
  ~TZBIItem();

  /* Back to the empty item: index -1, field 0, no text. */
  void Clear();

  bool operator==(const TZBIItem& other) const;
  /* By table index (signed), then by field number (unsigned). */
  bool operator<(const TZBIItem& other) const;

  LONG TableIndex() const { return tableIndex_; }
  LONG FieldNumber() const { return fieldNumber_; }
  const char* Text() const { return text_; }

 private:
  void CopyText(const char* text);

  LONG tableIndex_ = -1;
  LONG fieldNumber_ = 0;
  char* text_ = nullptr;  // owned copy of the script
};

#endif
