/*
** The data moves of the transfer dialogs: one pairing table per transfer record, naming for
** each member its table and field, and one fill and one store over any such table. Numbers
** sit unaligned in the packed records, so they pass through locals.
*/
#include "closingfile/closing_file_moves.h"

#include "catalogue/shared_tables.h"
#include "closingfile/closing_file_view.h"
#include "tableaccess/px_record.h"
#include "tableaccess/value_forms.h"

#include <cstddef>
#include <cstring>

const char* const kAssignsPhrases[2] = {"and/or assigns", "its successors and/or assigns"};

namespace {

enum class PartKind { Text, Memo, Date, Whole, Money };

/* One member of a transfer record and the field it carries. */
struct XferPart {
  size_t offset;
  size_t size;  // the text array's size
  PartKind kind;
  int table;
  int field;
};

#define TEXT_PART(type, member, table, field) \
  XferPart { offsetof(type, member), sizeof(type::member), PartKind::Text, table, field }
#define LONG_PART(type, member, kind, table, field) \
  XferPart { offsetof(type, member), sizeof(LONG), kind, table, field }

const XferPart kLenderParts[] = {
    TEXT_PART(TLenderXfer, city, kLenderTable, 13),
    TEXT_PART(TLenderXfer, estate, kLenderTable, 11),
    TEXT_PART(TLenderXfer, name, kLenderTable, 5),
    TEXT_PART(TLenderXfer, sig1, kLenderTable, 7),
    TEXT_PART(TLenderXfer, sig1Title, kLenderTable, 8),
    TEXT_PART(TLenderXfer, sig2, kLenderTable, 9),
    TEXT_PART(TLenderXfer, sig2Title, kLenderTable, 10),
    TEXT_PART(TLenderXfer, state, kLenderTable, 14),
    TEXT_PART(TLenderXfer, street, kLenderTable, 12),
    TEXT_PART(TLenderXfer, suffix, kLenderTable, 6),
    TEXT_PART(TLenderXfer, zip, kLenderTable, 15),
};
constexpr int kAssignsField = 16;

const XferPart kSagentParts[] = {
    TEXT_PART(TSagentXfer, name, kSagentTable, 2),   TEXT_PART(TSagentXfer, firm, kSagentTable, 3),
    TEXT_PART(TSagentXfer, street, kSagentTable, 4), TEXT_PART(TSagentXfer, city, kSagentTable, 5),
    TEXT_PART(TSagentXfer, state, kSagentTable, 6),  TEXT_PART(TSagentXfer, zip, kSagentTable, 7),
    TEXT_PART(TSagentXfer, taxId, kSagentTable, 16),
};

const XferPart kPropertyParts[] = {
    TEXT_PART(TPropertyXfer, city, kPropertyTable, 3),
    TEXT_PART(TPropertyXfer, county, kPropertyTable, 7),
    XferPart{offsetof(TPropertyXfer, legal), sizeof(TPropertyXfer::legal), PartKind::Memo,
             kPropertyTable, 6},
    TEXT_PART(TPropertyXfer, state, kPropertyTable, 4),
    TEXT_PART(TPropertyXfer, street, kPropertyTable, 2),
    LONG_PART(TPropertyXfer, taxYear, PartKind::Whole, kPropertyTable, 8),
    TEXT_PART(TPropertyXfer, zip, kPropertyTable, 5),
    TEXT_PART(TPropertyXfer, propertyId, kPropertyTable, 9),
};

const XferPart kScheduleAParts[] = {
    TEXT_PART(TScheduleAXfer, commitNum, kTitleATable, 2),
    TEXT_PART(TScheduleAXfer, commitTime, kTitleATable, 4),
    TEXT_PART(TScheduleAXfer, loanNum, kTitleATable, 11),
    TEXT_PART(TScheduleAXfer, loanTime, kTitleATable, 13),
    TEXT_PART(TScheduleAXfer, ownerNum, kTitleATable, 5),
    TEXT_PART(TScheduleAXfer, ownerTime, kTitleATable, 7),
    LONG_PART(TScheduleAXfer, commitDate, PartKind::Date, kTitleATable, 3),
    LONG_PART(TScheduleAXfer, ownerDate, PartKind::Date, kTitleATable, 6),
    LONG_PART(TScheduleAXfer, ownerRecDate, PartKind::Date, kTitleATable, 8),
    LONG_PART(TScheduleAXfer, loanDate, PartKind::Date, kTitleATable, 12),
    LONG_PART(TScheduleAXfer, loanRecDate, PartKind::Date, kTitleATable, 14),
    LONG_PART(TScheduleAXfer, ownerBook, PartKind::Whole, kTitleATable, 9),
    LONG_PART(TScheduleAXfer, ownerPage, PartKind::Whole, kTitleATable, 10),
    LONG_PART(TScheduleAXfer, loanBook, PartKind::Whole, kTitleATable, 15),
    LONG_PART(TScheduleAXfer, loanPage, PartKind::Whole, kTitleATable, 16),
    XferPart{offsetof(TScheduleAXfer, ownerAmount), sizeof(double), PartKind::Money, kExpense3Table,
             30},
    XferPart{offsetof(TScheduleAXfer, loanAmount), sizeof(double), PartKind::Money, kExpense3Table,
             28},
};

const XferPart kTrackingParts[] = {
    LONG_PART(TTrackingXfer, fileOpenDate, PartKind::Date, kSagentTable, 17),
    LONG_PART(TTrackingXfer, date2, PartKind::Date, kSagentTable, 18),
    LONG_PART(TTrackingXfer, date3, PartKind::Date, kSagentTable, 19),
    LONG_PART(TTrackingXfer, date4, PartKind::Date, kSagentTable, 20),
    LONG_PART(TTrackingXfer, date6, PartKind::Date, kSagentTable, 21),
    LONG_PART(TTrackingXfer, date7, PartKind::Date, kSagentTable, 22),
    TEXT_PART(TTrackingXfer, reference, kSagentTable, 23),
};
constexpr int kClosingDateField = 2;  // SUMMARY1 CDATE

#undef TEXT_PART
#undef LONG_PART

void ClearPart(unsigned char* base, const XferPart& part) {
  unsigned char* at = base + part.offset;
  LONG blank = kBlankDate, zero = 0;
  double none = 0;
  switch (part.kind) {
    case PartKind::Text:
    case PartKind::Memo: std::memset(at, 0, part.size); break;
    case PartKind::Date: std::memcpy(at, &blank, sizeof blank); break;
    case PartKind::Whole: std::memcpy(at, &zero, sizeof zero); break;
    case PartKind::Money: std::memcpy(at, &none, sizeof none); break;
  }
}

bool ReadPart(TClosingFileView* view, unsigned char* base, const XferPart& part) {
  TPXRecord* record = view->FileRecord(part.table);
  if (!record) return false;
  unsigned char* at = base + part.offset;
  if (part.kind == PartKind::Text || part.kind == PartKind::Memo) {
    char* text = reinterpret_cast<char*>(at);
    // A memo that only just fits comes back cut by its last character: not read either.
    if (record->GetString(part.field, text, static_cast<DWORD>(part.size)) &&
        (part.kind != PartKind::Memo || record->FieldSize(part.field) < part.size)) {
      text[part.size - 1] = '\0';
      return true;
    }
    ClearPart(base, part);  // the getter may leave the buffer as it found it
    return false;
  }
  if (part.kind == PartKind::Money) {
    double value = 0;
    if (!record->GetDouble(part.field, value)) return false;
    std::memcpy(at, &value, sizeof value);
    return true;
  }
  LONG value = 0;
  if (!record->GetLong(part.field, value)) return false;
  std::memcpy(at, &value, sizeof value);
  return true;
}

void WritePart(TClosingFileView* view, const unsigned char* base, const XferPart& part) {
  TPXRecord* record = view->FileRecord(part.table);
  if (!record) return;
  const unsigned char* at = base + part.offset;
  if (part.kind == PartKind::Text || part.kind == PartKind::Memo) {
    char text[16384];
    size_t length = strnlen(reinterpret_cast<const char*>(at), part.size - 1);
    std::memcpy(text, at, length);
    text[length] = '\0';
    record->SetString(part.field, text);
  } else if (part.kind == PartKind::Money) {
    double value;
    std::memcpy(&value, at, sizeof value);
    record->SetDouble(part.field, value);
  } else {
    LONG value;
    std::memcpy(&value, at, sizeof value);
    record->SetLong(part.field, value);
  }
}

bool PartChanged(const unsigned char* now, const unsigned char* before, const XferPart& part) {
  if (part.kind == PartKind::Text || part.kind == PartKind::Memo)
    return std::strncmp(reinterpret_cast<const char*>(now + part.offset),
                        reinterpret_cast<const char*>(before + part.offset), part.size) != 0;
  return std::memcmp(now + part.offset, before + part.offset, part.size) != 0;
}

template <size_t N>
TXferFill FillParts(TClosingFileView* view, void* record, size_t size, const XferPart (&parts)[N]) {
  auto* base = static_cast<unsigned char*>(record);
  TXferFill fill;
  for (size_t i = 0; i < N; ++i) {
    ClearPart(base, parts[i]);
    if (!ReadPart(view, base, parts[i])) fill.failed |= 1u << i;
  }
  fill.filled.assign(base, base + size);
  return fill;
}

template <size_t N>
void StoreParts(TClosingFileView* view, const void* record, const TXferFill& fill,
                const XferPart (&parts)[N]) {
  auto* base = static_cast<const unsigned char*>(record);
  for (size_t i = 0; i < N; ++i) {
    if (fill.Failed(static_cast<int>(i)) &&
        (fill.filled.empty() || !PartChanged(base, fill.filled.data(), parts[i])))
      continue;
    WritePart(view, base, parts[i]);
  }
}

/* The list offers each standard phrase once and the stored text last, selected. */
void FillAssigns(TComboBoxData& assigns, const char* stored) {
  assigns.Clear();
  assigns.Select(-1);
  for (const char* phrase : kAssignsPhrases)
    if (std::strcmp(stored, phrase) != 0) assigns.AddString(phrase);
  assigns.AddString(stored, true);
}

}  // namespace

TXferFill FillLenderXfer(TClosingFileView* view) {
  // The list part is no plain bytes: the snapshot covers the texts after it.
  constexpr size_t kTexts = offsetof(TLenderXfer, city);
  TXferFill fill;
  auto* base = reinterpret_cast<unsigned char*>(&gLenderXfer);
  for (size_t i = 0; i < std::size(kLenderParts); ++i) {
    ClearPart(base, kLenderParts[i]);
    if (!ReadPart(view, base, kLenderParts[i])) fill.failed |= 1u << i;
  }
  fill.filled.assign(base, base + sizeof(TLenderXfer));
  std::memset(fill.filled.data(), 0, kTexts);
  char stored[kAssignsStoredLength + 1] = "";
  TPXRecord* record = view->FileRecord(kLenderTable);
  fill.assignsFailed = !record || !record->GetString(kAssignsField, stored, sizeof stored);
  if (fill.assignsFailed) stored[0] = '\0';
  stored[kAssignsStoredLength] = '\0';
  fill.assigns = stored;
  FillAssigns(gLenderXfer.assigns, stored);
  return fill;
}

void StoreLenderXfer(TClosingFileView* view, const TXferFill& fill) {
  StoreParts(view, &gLenderXfer, fill, kLenderParts);
  std::string chosen = gLenderXfer.assigns.GetSelection();
  if (chosen.size() > static_cast<size_t>(kAssignsStoredLength))
    chosen.resize(kAssignsStoredLength);
  if (fill.assignsFailed && chosen == fill.assigns) return;
  if (TPXRecord* record = view->FileRecord(kLenderTable))
    record->SetString(kAssignsField, chosen.c_str());
}

TXferFill FillSagentXfer(TClosingFileView* view) {
  return FillParts(view, &gSagentXfer, sizeof gSagentXfer, kSagentParts);
}

void StoreSagentXfer(TClosingFileView* view, const TXferFill& fill) {
  StoreParts(view, &gSagentXfer, fill, kSagentParts);
}

TXferFill FillPropertyXfer(TClosingFileView* view, TPropertyXfer* block) {
  return FillParts(view, block, sizeof *block, kPropertyParts);
}

void StorePropertyXfer(TClosingFileView* view, const TPropertyXfer* block, const TXferFill& fill) {
  StoreParts(view, block, fill, kPropertyParts);
}

TXferFill FillScheduleAXfer(TClosingFileView* view) {
  return FillParts(view, &gScheduleAXfer, sizeof gScheduleAXfer, kScheduleAParts);
}

void StoreScheduleAXfer(TClosingFileView* view, const TXferFill& fill) {
  StoreParts(view, &gScheduleAXfer, fill, kScheduleAParts);
}

TXferFill FillTrackingXfer(TClosingFileView* view, TTrackingXfer* block) {
  std::memset(block->closing, 0, sizeof block->closing);
  LONG closing = kBlankDate;
  TPXRecord* summary = view->FileRecord(kSummary1Table);
  if (summary && summary->GetLong(kClosingDateField, closing))
    FormatShortDate(block->closing, closing, sizeof block->closing);
  return FillParts(view, block, sizeof *block, kTrackingParts);
}

void StoreTrackingXfer(TClosingFileView* view, const TTrackingXfer* block, const TXferFill& fill) {
  StoreParts(view, block, fill, kTrackingParts);
}
