/*
** The field-script item: key, ordering and the owned copy of the script text.
*/
#include "script/zbi_item.h"

#include <cstring>

TZBIItem::TZBIItem(LONG tableIndex, LONG fieldNumber, const char* text)
    : tableIndex_(tableIndex), fieldNumber_(fieldNumber) {
  CopyText(text);
}

TZBIItem::TZBIItem(const TZBIItem& other)
    : tableIndex_(other.tableIndex_), fieldNumber_(other.fieldNumber_) {
  CopyText(other.text_);
}

TZBIItem& TZBIItem::operator=(const TZBIItem& other) {
  if (this == &other) return *this;
  Clear();
  tableIndex_ = other.tableIndex_;
  fieldNumber_ = other.fieldNumber_;
  CopyText(other.text_);
  return *this;
}

TZBIItem::~TZBIItem() { delete[] text_; }

void TZBIItem::Clear() {
  tableIndex_ = -1;
  fieldNumber_ = 0;
  delete[] text_;
  text_ = nullptr;
}

bool TZBIItem::operator==(const TZBIItem& other) const {
  return tableIndex_ == other.tableIndex_ && fieldNumber_ == other.fieldNumber_;
}

bool TZBIItem::operator<(const TZBIItem& other) const {
  if (tableIndex_ != other.tableIndex_) return tableIndex_ < other.tableIndex_;
  return static_cast<ULONG>(fieldNumber_) < static_cast<ULONG>(other.fieldNumber_);
}

void TZBIItem::CopyText(const char* text) {
  text_ = nullptr;
  if (!text) return;
  size_t length = std::strlen(text);
  text_ = new char[length + 1];
  std::memcpy(text_, text, length + 1);
}
