/*
** The data-field lists: every named value of a closing file, with the table and field that
** hold it, how it is shown and, for the settlement statement, where it stands on the form.
** gRespaFieldList holds the statement fields and gOtherFieldList the rest; both are filled
** once at start-up from the layout libraries and only searched afterwards.
*/
#ifndef ZARNE_TABLEACCESS_FIELD_LIST_H
#define ZARNE_TABLEACCESS_FIELD_LIST_H

#include "hudform/layout_records.h"

#include <cstdint>
#include <span>
#include <string_view>
#include <unordered_map>
#include <vector>

/* Display kinds: how the statement shows and edits a field's value. */
constexpr std::uint16_t kFieldKindNone = 0;
constexpr std::uint16_t kFieldKindText = 1;
constexpr std::uint16_t kFieldKindChoice = 2;
constexpr std::uint16_t kFieldKindMoney = 3;
constexpr std::uint16_t kFieldKindWhole = 4;
constexpr std::uint16_t kFieldKindDecimal = 5;
constexpr std::uint16_t kFieldKindDecimal2 = 6;
constexpr std::uint16_t kFieldKindDate = 7;
constexpr std::uint16_t kFieldKindShownText = 8;

constexpr int kFieldNameSize = 26;  // 25 characters and the terminator

/* One data field. The rectangle is kept top, right, bottom, left. */
struct TFieldNode {
  char name[kFieldNameSize];
  std::uint16_t tableIndex;
  std::uint16_t fieldNumber;
  std::uint16_t fieldId;
  std::uint16_t displayKind;
  std::uint16_t extraWord;  // kind 1: the edit line's text limit
  std::int16_t top;
  std::int16_t right;
  std::int16_t bottom;
  std::int16_t left;
  TFieldNode* prev;
  TFieldNode* next;
};

/* A doubly linked list of nodes it owns, appended at the tail, with the first node of each
   field id and of each name at hand: printing a statement looks up hundreds of fields by id,
   and every script variable, DDE request and poke looks one up by name. */
class TFieldList {
 public:
  TFieldList();
  ~TFieldList();
  TFieldList(const TFieldList&) = delete;
  TFieldList& operator=(const TFieldList&) = delete;

  TFieldNode* head;
  TFieldNode* tail;
  std::vector<TFieldNode*> byId;  // by field id; kept by AppendField and ClearFieldList
  // Every node of each name in list order, keyed by a view into the first one's own name (a
  // node never moves); kept likewise.
  std::unordered_map<std::string_view, std::vector<TFieldNode*>> byName;
};

// Owner: tableaccess; the shell loads both lists at start-up, the rest only reads them.
extern TFieldList gRespaFieldList;
extern TFieldList gOtherFieldList;

/* Empty name, table index 0xFFFF, every other word 0, no links. */
void InitFieldNode(TFieldNode* node);
/* Appends a new node holding a copy of the source's name and nine words; answers it. */
TFieldNode* AppendField(TFieldList* list, const TFieldNode* source);
/* The first node whose rectangle strictly contains the point (edges hit nothing). */
TFieldNode* FindFieldAtPoint(TFieldList* list, int x, int y);
/* The first node with this field id. */
TFieldNode* FindFieldByNumber(TFieldList* list, int id);
/* The first node whose name equals this one, case-sensitive. */
TFieldNode* FindFieldByName(TFieldList* list, const char* name);
/* Every node whose name equals this one, in list order; empty when none. */
std::span<TFieldNode* const> FindFieldsByName(TFieldList* list, const char* name);
TFieldNode* FirstField(TFieldList* list);
TFieldNode* LastField(TFieldList* list);
void ClearFieldList(TFieldList* list);

/* A fresh node filled from a layout library's record, field by field by meaning; a name
   longer than 25 characters is cut to 25, and a null name becomes empty. */
void NodeFromRespaRecord(const RespaLayoutRecord& record, TFieldNode* node);
void NodeFromOtherRecord(const OtherLayoutRecord& record, TFieldNode* node);

/* Appends every record a layout library offers, in its order; answers how many. A null
   entry point or record is skipped, so a damaged library yields a shorter list, not a crash. */
int AppendRespaRecords(TFieldList* list, GetFieldCountProc count, GetRespaFieldProc get);
int AppendOtherRecords(TFieldList* list, GetFieldCountProc count, GetOtherFieldProc get);

#endif
