/*
** The data-field lists: appending, the searches' edge rules and the copy of layout records
** into nodes.
*/
#include "tableaccess/field_list.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

TFieldNode MakeNode(const char* name, int id, int left, int top, int right, int bottom) {
  TFieldNode node;
  InitFieldNode(&node);
  std::strcpy(node.name, name);
  node.tableIndex = 5;
  node.fieldNumber = 3;
  node.fieldId = static_cast<std::uint16_t>(id);
  node.displayKind = kFieldKindMoney;
  node.left = static_cast<std::int16_t>(left);
  node.top = static_cast<std::int16_t>(top);
  node.right = static_cast<std::int16_t>(right);
  node.bottom = static_cast<std::int16_t>(bottom);
  return node;
}

}  // namespace

TEST(FieldList, FreshNodeAndEmptyList) {
  TFieldNode node;
  std::memset(&node, 0x5A, sizeof(node));
  InitFieldNode(&node);
  EXPECT_STREQ(node.name, "");
  EXPECT_EQ(node.tableIndex, 0xFFFF);
  EXPECT_EQ(node.fieldId, 0);
  EXPECT_EQ(node.left, 0);
  EXPECT_EQ(node.next, nullptr);

  TFieldList list;
  EXPECT_EQ(FirstField(&list), nullptr);
  EXPECT_EQ(LastField(&list), nullptr);
  EXPECT_EQ(FindFieldByNumber(&list, 0), nullptr);
  EXPECT_EQ(FindFieldByName(&list, "A101"), nullptr);
  EXPECT_EQ(FindFieldAtPoint(&list, 1, 1), nullptr);
}

TEST(FieldList, AppendCopiesAndLinksBothWays) {
  TFieldList list;
  TFieldNode a = MakeNode("A101", 213, 10, 20, 110, 36);
  TFieldNode b = MakeNode("A102", 214, 10, 40, 110, 56);
  TFieldNode* first = AppendField(&list, &a);
  std::strcpy(a.name, "CHANGED");  // the list holds its own copy
  TFieldNode* second = AppendField(&list, &b);
  EXPECT_EQ(FirstField(&list), first);
  EXPECT_EQ(LastField(&list), second);
  EXPECT_EQ(first->next, second);
  EXPECT_EQ(second->prev, first);
  EXPECT_EQ(first->prev, nullptr);
  EXPECT_EQ(second->next, nullptr);
  EXPECT_STREQ(first->name, "A101");
  EXPECT_EQ(first->tableIndex, 5);
  EXPECT_EQ(first->fieldNumber, 3);
  EXPECT_EQ(first->bottom, 36);
  ClearFieldList(&list);
  EXPECT_EQ(FirstField(&list), nullptr);
  EXPECT_EQ(LastField(&list), nullptr);
}

TEST(FieldList, SearchesByIdAndNameTakeTheFirstMatch) {
  TFieldList list;
  TFieldNode a = MakeNode("PID", 0, 0, 0, 0, 0);
  TFieldNode b = MakeNode("PCOUNTY", 0, 0, 0, 0, 0);
  TFieldNode* first = AppendField(&list, &a);
  TFieldNode* second = AppendField(&list, &b);
  EXPECT_EQ(FindFieldByNumber(&list, 0), first);  // the other list's ids are all 0
  EXPECT_EQ(FindFieldByName(&list, "PCOUNTY"), second);
  EXPECT_EQ(FindFieldByName(&list, "pcounty"), nullptr);
  EXPECT_EQ(FindFieldByName(&list, nullptr), nullptr);
  EXPECT_EQ(FindFieldByNumber(&list, 7), nullptr);
}

/* The id and name searches answer from indexes: a cleared list must not answer its old
   nodes, a refilled one answers the new first node of each id and name, and ids past the end
   or below 0 answer nothing. */
TEST(FieldList, IdAndNameSearchesFollowClearAndRefill) {
  TFieldList list;
  TFieldNode a = MakeNode("A", 213, 0, 0, 0, 0);
  TFieldNode b = MakeNode("B", 213, 0, 0, 0, 0);
  TFieldNode c = MakeNode("C", 65535, 0, 0, 0, 0);
  AppendField(&list, &a);
  ClearFieldList(&list);
  EXPECT_EQ(FindFieldByNumber(&list, 213), nullptr);
  TFieldNode* refilled = AppendField(&list, &b);
  AppendField(&list, &a);
  TFieldNode* highest = AppendField(&list, &c);
  EXPECT_EQ(FindFieldByNumber(&list, 213), refilled);
  EXPECT_STREQ(FindFieldByNumber(&list, 213)->name, "B");
  EXPECT_EQ(FindFieldByNumber(&list, 65535), highest);
  EXPECT_EQ(FindFieldByNumber(&list, 65536), nullptr);
  EXPECT_EQ(FindFieldByNumber(&list, -1), nullptr);
  EXPECT_EQ(FindFieldByNumber(&list, 212), nullptr);

  TFieldNode again = MakeNode("B", 7, 0, 0, 0, 0);
  AppendField(&list, &again);
  EXPECT_EQ(FindFieldByName(&list, "B"), refilled);  // the first of two nodes named B
  EXPECT_EQ(FindFieldByName(&list, "C"), highest);
  ClearFieldList(&list);
  EXPECT_EQ(FindFieldByName(&list, "B"), nullptr);
  TFieldNode* fresh = AppendField(&list, &again);
  EXPECT_EQ(FindFieldByName(&list, "B"), fresh);
}

TEST(FieldList, PointSearchIsStrictAndFirstAppendedWins) {
  TFieldList list;
  TFieldNode a = MakeNode("A", 1, 10, 10, 50, 30);
  TFieldNode b = MakeNode("B", 2, 40, 20, 90, 40);
  TFieldNode* first = AppendField(&list, &a);
  TFieldNode* second = AppendField(&list, &b);
  EXPECT_EQ(FindFieldAtPoint(&list, 45, 25), first);  // both contain it
  EXPECT_EQ(FindFieldAtPoint(&list, 60, 25), second);
  EXPECT_EQ(FindFieldAtPoint(&list, 10, 15), nullptr);  // left edge
  EXPECT_EQ(FindFieldAtPoint(&list, 50, 15), nullptr);  // right edge
  EXPECT_EQ(FindFieldAtPoint(&list, 20, 10), nullptr);  // top edge
  EXPECT_EQ(FindFieldAtPoint(&list, 20, 30), nullptr);  // bottom edge
  EXPECT_EQ(FindFieldAtPoint(&list, 11, 11), first);
}

TEST(FieldList, LayoutRecordsCopyByMeaning) {
  RespaLayoutRecord record{"A101", 5, 3, 213, kFieldKindMoney, 0, 11, 22, 133, 44};
  TFieldNode node;
  NodeFromRespaRecord(record, &node);
  EXPECT_STREQ(node.name, "A101");
  EXPECT_EQ(node.fieldId, 213);
  EXPECT_EQ(node.displayKind, kFieldKindMoney);
  EXPECT_EQ(node.left, 11);
  EXPECT_EQ(node.top, 22);
  EXPECT_EQ(node.right, 133);
  EXPECT_EQ(node.bottom, 44);

  OtherLayoutRecord other{"PLEGAL", 4, 6, kFieldKindText, 240};
  NodeFromOtherRecord(other, &node);
  EXPECT_STREQ(node.name, "PLEGAL");
  EXPECT_EQ(node.tableIndex, 4);
  EXPECT_EQ(node.fieldNumber, 6);
  EXPECT_EQ(node.fieldId, 0);
  EXPECT_EQ(node.extraWord, 240);
  EXPECT_EQ(node.left, 0);
  EXPECT_EQ(node.bottom, 0);
}

TEST(FieldList, LongOrMissingNamesDoNotOverflow) {
  const std::string longName(40, 'X');
  RespaLayoutRecord record{longName.c_str(), 0, 2, 102, kFieldKindText, 60, 0, 0, 1, 1};
  TFieldNode node;
  NodeFromRespaRecord(record, &node);
  EXPECT_EQ(std::string(node.name), std::string(25, 'X'));
  record.name = nullptr;
  NodeFromRespaRecord(record, &node);
  EXPECT_STREQ(node.name, "");
}

namespace {

const RespaLayoutRecord kRecords[] = {
    {"FileNum", 0, 1, 101, kFieldKindShownText, 0, 1, 2, 3, 4},
    {"B1NAME", 0, 2, 102, kFieldKindText, 60, 5, 6, 7, 8},
};
std::int32_t CountTwo() { return 2; }
std::int32_t CountThree() { return 3; }
const RespaLayoutRecord* GetRecord(std::int16_t i) {
  return (i >= 0 && i < 2) ? &kRecords[i] : nullptr;
}

}  // namespace

TEST(FieldList, AppendsLibraryRecordsAndSkipsMissingOnes) {
  TFieldList list;
  EXPECT_EQ(AppendRespaRecords(&list, CountTwo, GetRecord), 2);
  EXPECT_EQ(AppendRespaRecords(&list, CountThree, GetRecord), 2);  // index 2 answers null
  EXPECT_EQ(AppendRespaRecords(&list, nullptr, GetRecord), 0);
  ASSERT_NE(FirstField(&list), nullptr);
  EXPECT_EQ(FindFieldByNumber(&list, 102)->left, 5);
  EXPECT_EQ(FindFieldByNumber(&list, 102)->bottom, 8);
  int count = 0;
  for (TFieldNode* n = FirstField(&list); n; n = n->next) ++count;
  EXPECT_EQ(count, 4);
}
