/*
** The DDE server's field transactions on the front statement window: a field's text for a
** request or an advise, and a poke that writes a field's record buffer. Every path finds
** the front window first and touches nothing without one; a callback can arrive before
** any table is open, or inside any modal loop.
*/
#include "shell/dde_server.h"

#include "script/field_text.h"
#include "shell/dde_server_text.h"
#include "shell/zarne_frame.h"
#include "platform/kernel/string_calls.h"
#include "platform/user/winuser.h"
#include "statement/field_engine.h"
#include "statement/one_controls.h"
#include "statement/recalculation_seam.h"
#include "statement/respa_window.h"
#include "tableaccess/field_list.h"
#include "tableaccess/px_record.h"

#include <cstring>
#include <memory>
#include <new>
#include <vector>

namespace {

constexpr unsigned kFieldTextBufferSize = 16384;

HDDEDATA Acknowledged() { return reinterpret_cast<HDDEDATA>(static_cast<ULONG_PTR>(DDE_FACK)); }

bool IsCurrentTopic(TZarneDecoratedMDIFrame* frame, HSZ topic) {
  return topic && DdeCmpStringHandles(topic, frame->ddeTopic) == 0;
}

/* A name two statement fields share (S506: a display-only twin on page 1 and the coded
   field of line 506) means the one the window edits, so a poke meets that field's checks. */
TFieldNode* FindPokeField(RespaWindow* view, const char* name) {
  std::span<TFieldNode* const> named = FindFieldsByName(&gRespaFieldList, name);
  for (TFieldNode* node : named)
    if (!IsDisplayOnlyField(view, node)) return node;
  return !named.empty() ? named.front() : FindFieldByName(&gOtherFieldList, name);
}

/* The record a poke may write: one of the file's records, which a save writes back. The
   work buffer (TITLEB, index 13) is written by no save, so a poke there would be lost. */
TPXRecord* PokeRecord(RespaWindow* view, const TFieldNode* field) {
  if (field->tableIndex >= kFileRecordCount) return nullptr;
  return view->records[field->tableIndex];
}

bool WriteValue(TPXRecord* record, const TFieldNode* field, const TPokeValue& value) {
  switch (value.kind) {
    case TPokeValue::kString: return record->SetString(field->fieldNumber, value.text.c_str());
    case TPokeValue::kDouble: return record->SetDouble(field->fieldNumber, value.number);
    case TPokeValue::kLong: return record->SetLong(field->fieldNumber, value.whole);
  }
  return false;
}

/* What the open control of the field shows now: the edit line's text, or the choice list's
   selection (none chosen reads as the start text, as a commit reads it). */
void ReadOpenControlText(RespaWindow* view, const TFieldNode* field, char* text, int size) {
  text[0] = '\0';
  if (field->displayKind != kFieldKindChoice) {
    if (view->editLine) view->editLine->GetWindowText(text, size);
    return;
  }
  int index = view->choiceList && view->choiceList->HWindow ? view->choiceList->GetSelIndex() : -1;
  if (index < 0 || view->choiceList->GetStringLen(index) >= size)
    lstrcpyn(text, view->startText, size);
  else view->choiceList->GetString(text, index);
}

/* A poke into the field whose edit stands open would be hidden under its control, which
   still shows the old value. While the user has changed nothing there, the edit begins
   again from the record, so the control shows what was poked; a text the user typed stays,
   and is what the commit stores. */
void ShowInOpenEdit(RespaWindow* view, TFieldNode* field) {
  if (view->fieldBeingEdited != field || view->currentField != field) return;
  char text[kFieldTextSize] = "";
  ReadOpenControlText(view, field, text, sizeof text);
  if (std::strcmp(text, view->startText) == 0) BeginFieldEdit(view);
}

/* A poked field's recalculation runs just after the poke is answered: a field script's
   error box inside the callback would hold the answer until someone closed it, and the
   client would give up on a value already stored. A request or poke is handled only after
   the recalculations still due, so it meets the state every poke before it left. */
struct PokedField {
  HWND view;
  TFieldNode* field;
};

std::vector<PokedField>& PokedFields() {
  static std::vector<PokedField> fields;
  return fields;
}

void RecalcPokedFields() {
  std::vector<PokedField> due;
  due.swap(PokedFields());
  for (const PokedField& poked : due) {
    auto* view = dynamic_cast<RespaWindow*>(TWindow::FromHandle(poked.view));
    if (!view || view->IsClosing()) continue;  // closed meanwhile: its save has run
    CallRecalcForField(view, poked.field);
    ShowInOpenEdit(view, poked.field);
  }
}

void CALLBACK RecalcPokedFieldsNow(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  RecalcPokedFields();
}

void RecalcAfterAnswer(RespaWindow* view, TFieldNode* field) {
  if (PokedFields().empty()) SetTimer(nullptr, 0, 0, RecalcPokedFieldsNow);
  PokedFields().push_back(PokedField{view->HWindow, field});
}

}  // namespace

HDDEDATA DdeFieldText(TZarneDecoratedMDIFrame* frame, HSZ topic, HSZ item, UINT format) {
  if (!IsCurrentTopic(frame, topic) || format != CF_TEXT) return nullptr;
  RecalcPokedFields();
  std::string name;
  if (!ReadItemName(frame->ddeInstance, item, &name)) return nullptr;
  RespaWindow* view = DdeFrontWindow(frame);
  if (!view) return nullptr;
  // Only the first byte is cleared: a field's text is written terminated, and a field with
  // nothing to show writes nothing and reads as empty. Clearing the whole buffer for every
  // request cost more than finding and formatting the field.
  char text[kFieldTextBufferSize];
  text[0] = '\0';
  if (!GetFieldText(view, name.c_str(), text, sizeof text)) return nullptr;
  text[sizeof text - 1] = '\0';
  return DdeCreateDataHandle(frame->ddeInstance, reinterpret_cast<LPBYTE>(text),
                             static_cast<DWORD>(std::strlen(text) + 1), 0, item, CF_TEXT, 0);
}

/* The poked text is read into a buffer one byte longer than the kind reads, so data the
   client did not terminate is never read past its end. */
HDDEDATA DdePoke(TZarneDecoratedMDIFrame* frame, HSZ topic, HSZ item, UINT format, HDDEDATA data) {
  if (!IsCurrentTopic(frame, topic) || format != CF_TEXT || !data) return nullptr;
  RecalcPokedFields();  // pokes apply in the order they came, each after the one before's rules
  RespaWindow* view = DdeFrontWindow(frame);
  if (!view) return nullptr;
  std::string name;
  if (!ReadItemName(frame->ddeInstance, item, &name)) return nullptr;
  TFieldNode* field = FindPokeField(view, name.c_str());
  if (!field) return nullptr;
  TPXRecord* record = PokeRecord(view, field);
  unsigned length = PokeTextLength(*field);
  if (!record || length == 0) return nullptr;
  std::unique_ptr<char[]> text(new (std::nothrow) char[length + 1]());
  if (!text) return nullptr;
  DdeGetData(data, reinterpret_cast<LPBYTE>(text.get()), length, 0);
  TPokeValue value;
  if (!ConvertPokeText(*field, text.get(), &value) || !WriteValue(record, field, value))
    return nullptr;
  // The partner shows the same record field on the other side of the statement.
  InvalidateField(view, field);
  InvalidateDependentFields(view, field);
  if (field->displayKind != kFieldKindText) RecalcAfterAnswer(view, field);
  else ShowInOpenEdit(view, field);
  return Acknowledged();
}
