/*
** The statement window as the binding of script variables and field texts (raw moves
** between a field and its record buffer, and what follows a script's store) and as the view
** the recalculation rules work on.
**
** A script's text holds 4095 characters. A longer stored text (a memo) reaches the script
** cut, and a write-back of the cut copy is refused, so a script never shortens it.
*/
#include "statement/respa_window.h"

#include "platform/user/winuser.h"
#include "statement/field_engine.h"
#include "statement/recalculation_seam.h"
#include "tableaccess/field_list.h"
#include "tableaccess/px_record.h"
#include "tableaccess/system_boxes.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

namespace {

constexpr std::size_t kScriptTextLength = 4095;
constexpr UINT kMessageCaption = 1023;

TPXRecord* RecordOf(RespaWindow* view, const TFieldNode* field) {
  if (!field || field->tableIndex >= kRespaRecordCount) return nullptr;
  return view->records[field->tableIndex];
}

/* The whole stored text, read through a buffer of the field's own size. */
bool ReadWholeText(TPXRecord* record, int field, std::vector<char>* text) {
  DWORD size = record->FieldSize(field);
  text->assign(static_cast<std::size_t>(size) + 1, '\0');
  return record->GetString(field, text->data(), static_cast<DWORD>(text->size()));
}

}  // namespace

HWND RespaWindow::ScriptOwnerWindow() { return HWindow; }

bool RespaWindow::ReadFieldText(const TFieldNode* field, char* buffer, int size) {
  TPXRecord* record = RecordOf(this, field);
  if (!record || size < 1) return false;
  std::vector<char> text;
  if (!ReadWholeText(record, field->fieldNumber, &text)) return false;
  std::size_t length = std::min(std::strlen(text.data()), static_cast<std::size_t>(size - 1));
  std::memcpy(buffer, text.data(), length);
  buffer[length] = '\0';
  return true;
}

bool RespaWindow::ReadFieldDouble(const TFieldNode* field, double* value) {
  TPXRecord* record = RecordOf(this, field);
  return record && record->GetDouble(field->fieldNumber, *value);
}

bool RespaWindow::ReadFieldLong(const TFieldNode* field, LONG* value) {
  TPXRecord* record = RecordOf(this, field);
  return record && record->GetLong(field->fieldNumber, *value);
}

bool RespaWindow::WriteFieldText(const TFieldNode* field, const char* text) {
  TPXRecord* record = RecordOf(this, field);
  if (!record) return false;
  std::vector<char> stored;
  if (ReadWholeText(record, field->fieldNumber, &stored) &&
      std::strlen(stored.data()) > kScriptTextLength) {
    char message[160];
    std::snprintf(message, sizeof message,
                  "The text of %s is longer than a script can hold; it was left unchanged.",
                  field->name);
    MessageBox(HWindow, message, ResourceString(kMessageCaption).text, MB_ICONEXCLAMATION | MB_OK);
    return false;
  }
  return record->SetString(field->fieldNumber, text);
}

bool RespaWindow::WriteFieldDouble(const TFieldNode* field, double value) {
  TPXRecord* record = RecordOf(this, field);
  return record && record->SetDouble(field->fieldNumber, value);
}

bool RespaWindow::WriteFieldLong(const TFieldNode* field, LONG value) {
  TPXRecord* record = RecordOf(this, field);
  return record && record->SetLong(field->fieldNumber, value);
}

void RespaWindow::FieldStored(const TFieldNode* field) {
  InvalidateField(this, field);
  InvalidateDependentFields(this, field);
  CallRecalcForField(this, const_cast<TFieldNode*>(field));
}

TPXRecord* RespaWindow::Record(int tableIndex) {
  return tableIndex >= 0 && tableIndex < kRespaRecordCount ? records[tableIndex] : nullptr;
}

void RespaWindow::RepaintFieldById(int fieldId) { InvalidateFieldById(this, fieldId); }

void RespaWindow::FormatFieldText(const TFieldNode* field, char* out, unsigned size, char mode) {
  ::FormatFieldText(this, field, out, size, mode);
}

void RespaWindow::GetGranteeText(char* out, unsigned size) { ::GetGranteeText(this, out, size); }
void RespaWindow::GetGrantorText(char* out, unsigned size) { ::GetGrantorText(this, out, size); }
void RespaWindow::GetBuyerNames(char* out, unsigned size) { ::GetBuyerNames(this, out, size); }
void RespaWindow::GetSellerNames(char* out, unsigned size) { ::GetSellerNames(this, out, size); }
