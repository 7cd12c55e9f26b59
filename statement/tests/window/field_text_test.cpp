/*
** What the statement shows and tells: the painted field texts (read back from a recording
** DC), the field texts by name of every kind, prefix and pseudo-field, the party names, the
** template merge with its prompt dialog, and the script binding of the window's fields.
*/
// Before any Qt header, whose "slots" macro the interpreter's headers would meet.
#include "script/zbasic.h"

#include "statement/tests/window/statement_window_support.h"

#include "platform/framework/dc.h"
#include "platform/testing/dialog_driver.h"
#include "platform/testing/recording_dc.h"
#include "platform/user/winuser.h"
#include "script/field_text.h"
#include "script/template_merge.h"
#include "statement/field_engine.h"
#include "tableaccess/field_list.h"
#include "tableaccess/px_record.h"

#include <cstring>
#include <string>

namespace {

class FieldTextTest : public StatementWindowTest {
 protected:
  void SetUp() override {
    StatementWindowTest::SetUp();
    view = OpenFile("T-1");
  }
  /* The texts PaintField draws for the field, in order. */
  std::vector<std::string> PaintedTexts(int id) {
    HDC dc = GdiCreateRecordingDC();
    {
      TDC tdc(dc);
      PaintField(view, Field(id), tdc);
    }
    std::vector<std::string> texts;
    for (const GdiDrawRecord& call : GdiRecordedCalls(dc))
      if (!call.text.empty()) texts.push_back(call.text);
    DeleteDC(dc);
    return texts;
  }
  std::string Text(const char* name, unsigned size = 512) {
    std::string out(size, '#');
    out.push_back('\0');  // so an untouched buffer still ends
    int found = GetFieldText(view, name, out.data(), size);
    out.resize(std::strlen(out.c_str()));
    return found ? out : "<not found:" + out + ">";
  }
  void Buyers(const char* a, const char* b, const char* c, const char* d) {
    TPXRecord* r = view->records[kBuyerTable];
    r->SetString(2, a);
    r->SetString(12, b);
    r->SetString(22, c);
    r->SetString(32, d);
  }
  RespaWindow* view = nullptr;
};

TEST_F(FieldTextTest, FieldsPaintTheirValuesAndZeroesPaintEmpty) {
  TPXRecord* summary = view->records[kSummary1Table];
  summary->SetDouble(4, 0.0);
  EXPECT_TRUE(PaintedTexts(214).empty());
  summary->SetDouble(4, 1234567.891);
  EXPECT_EQ(PaintedTexts(214), (std::vector<std::string>{"1,234,567.89"}));
  summary->SetLong(15, 731230);  // 15 January 2003
  EXPECT_EQ(PaintedTexts(220), (std::vector<std::string>{"01/15/03"}));
  summary->SetLong(15, 730119);  // 31 December 1999
  EXPECT_EQ(PaintedTexts(220), (std::vector<std::string>{"12/31/99"}));
  summary->SetLong(15, static_cast<LONG>(0x80000000));
  EXPECT_TRUE(PaintedTexts(220).empty());
  view->records[kBuyerTable]->SetString(2, "Pat Payer");
  EXPECT_EQ(PaintedTexts(102), (std::vector<std::string>{"Pat Payer"}));
}

TEST_F(FieldTextTest, PaintedFramesAndColoursFollowTheFieldIds) {
  EXPECT_EQ(GetFieldColor(view, Field(555)), RGB(128, 0, 128));
  EXPECT_EQ(GetFieldColor(view, Field(243)), RGB(0, 128, 0));
  EXPECT_EQ(GetFieldColor(view, Field(320)), RGB(128, 0, 0));
  EXPECT_EQ(GetFieldColor(view, Field(323)), RGB(0, 0, 128));
  EXPECT_EQ(GetFieldColor(view, Field(102)), RGB(0, 0, 0));
  HDC dc = GdiCreateRecordingDC();
  {
    TDC tdc(dc);
    PaintField(view, Field(102), tdc);  // editable, below 577: solid dark grey
    PaintField(view, Field(555), tdc);  // display-only: light grey
    PaintField(view, Field(639), tdc);  // editable, 577 and above: dotted
  }
  std::vector<GdiDrawRecord> frames;
  for (const GdiDrawRecord& call : GdiRecordedCalls(dc))
    if (call.call == "Rectangle") frames.push_back(call);
  DeleteDC(dc);
  ASSERT_EQ(frames.size(), 3u);
  EXPECT_EQ(frames[0].penColor, RGB(128, 128, 128));
  EXPECT_EQ(frames[0].penStyle, PS_SOLID);
  EXPECT_EQ(frames[1].penColor, RGB(192, 192, 192));
  EXPECT_EQ(frames[2].penStyle, PS_DOT);
  EXPECT_EQ(frames[2].bkMode, OPAQUE);
  TFieldNode* f = Field(102);
  EXPECT_EQ(frames[0].rect.left, f->left);
  EXPECT_EQ(frames[0].rect.bottom, f->bottom);
}

TEST_F(FieldTextTest, FieldTextsOfEveryKindAndPrefix) {
  TPXRecord* summary = view->records[kSummary1Table];
  summary->SetDouble(4, 1234.5);
  summary->SetLong(15, 731230);
  view->records[kBuyerTable]->SetString(2, "Pat Payer");
  EXPECT_EQ(Text("A102"), "1,234.50");
  EXPECT_EQ(Text("!A102"), "One Thousand Two Hundred Thirty Four and 50/100 Dollars");
  EXPECT_EQ(Text("DB106"), "01/15/2003");  // the short date form writes 2003 in full
  EXPECT_EQ(Text("*DB106"), "January 15, 2003");
  EXPECT_EQ(Text("!DB106"), "15th day of January, 2003");
  EXPECT_EQ(Text("^*DB106"), "JANUARY 15, 2003");
  EXPECT_EQ(Text("B1NAME"), "Pat Payer");
  EXPECT_EQ(Text("^B1NAME"), "PAT PAYER");
  summary->SetLong(15, static_cast<LONG>(0x80000000));
  EXPECT_EQ(Text("DB106"), "  /  /  ");
  EXPECT_EQ(Text("*DB106"), "");
  // A field of the other list, and names that are nothing.
  ASSERT_NE(gOtherFieldList.head, nullptr);
  EXPECT_NE(Text(gOtherFieldList.head->name).rfind("<not found", 0), 0u);
  EXPECT_EQ(Text("NoSuchField"), "<not found:" + std::string(512, '#') + ">");
  EXPECT_EQ(Text("b1name"), "<not found:" + std::string(512, '#') + ">");  // case counts
  // A short buffer cuts the text; a buffer below 2 bytes is never written.
  EXPECT_EQ(Text("B1NAME", 4), "Pat");
  char tiny[1] = {'#'};
  EXPECT_EQ(GetFieldText(view, "B1NAME", tiny, 1), 0);
  EXPECT_EQ(tiny[0], '#');
  // With no window the answer is empty.
  char out[16] = "untouched";
  EXPECT_EQ(GetFieldText(nullptr, "B1NAME", out, sizeof out), 0);
  EXPECT_STREQ(out, "");
}

TEST_F(FieldTextTest, ByIdTheBlankDateHasWiderGaps) {
  char out[32] = "untouched";
  FormatFieldTextById(view, 220, out, sizeof out, 0);
  EXPECT_STREQ(out, "   /   /   ");
  std::strcpy(out, "untouched");
  FormatFieldTextById(view, 0, out, sizeof out, 0);
  FormatFieldTextById(view, 9999, out, sizeof out, 0);
  EXPECT_STREQ(out, "untouched");
  view->records[kSummary1Table]->SetDouble(4, 0.0);
  FormatFieldTextById(view, 214, out, sizeof out, '>');
  EXPECT_STREQ(out, "");
  FormatFieldTextById(view, 214, out, sizeof out, 0);
  EXPECT_STREQ(out, "0.00");
}

TEST_F(FieldTextTest, PartyNamesJoinAndStopAtTheFirstGap) {
  Buyers("Ann", "", "Cy", "");
  EXPECT_EQ(Text("Buyer"), "Ann");
  Buyers("Ann", "Bo", "", "");
  EXPECT_EQ(Text("Buyer"), "Ann and Bo");
  Buyers("Ann", "Bo", "Cy", "Di");
  EXPECT_EQ(Text("Buyer"), "Ann, Bo, Cy and Di");
  view->records[kBuyerTable]->SetString(3, "Jr.");
  view->records[kBuyerTable]->SetString(23, "Sr.");
  view->records[kBuyerTable]->SetString(42, "husband and wife");
  EXPECT_EQ(Text("Grantee"), "Ann, Jr., Bo, Cy, Sr. and Di, husband and wife");
  EXPECT_EQ(Text("^Buyer"), "ANN, BO, CY AND DI");
  char joined[kPartyTextSize];
  JoinBuyerNames(view, joined);
  EXPECT_STREQ(joined, "Ann, Jr., Bo, Cy, Sr. and Di");
  view->records[kSellerTable]->SetString(2, "Sol Seller");
  EXPECT_EQ(Text("Seller"), "Sol Seller");
  EXPECT_EQ(Text("Grantor"), "Sol Seller");
  Buyers("", "Bo", "", "");
  EXPECT_EQ(Text("Buyer"), "");
}

TEST_F(FieldTextTest, TitleTextIsEmptyWithoutADdeClient) {
  EXPECT_EQ(Text("TitleText"), "");
  std::strcpy(gTitleText, "Subject to easements of record.");
  EXPECT_EQ(Text("^TitleText"), "SUBJECT TO EASEMENTS OF RECORD.");
  gTitleText[0] = '\0';
}

TEST_F(FieldTextTest, MergeReplacesMarkersAndCutsAtTheBuffer) {
  view->records[kBuyerTable]->SetString(2, "Pat Payer");
  view->records[kSummary1Table]->SetLong(15, 731230);
  char out[128];
  MergeTemplateText(view, view, "Merge", "a||b", out, sizeof out);
  EXPECT_STREQ(out, "a|b");
  MergeTemplateText(view, view, "Merge", "To |^B1NAME| on |*DB106|.", out, sizeof out);
  EXPECT_STREQ(out, "To PAT PAYER on January 15, 2003.");
  MergeTemplateText(view, view, "Merge", "[|Nothing|]", out, sizeof out);
  EXPECT_STREQ(out, "[]");
  MergeTemplateText(view, view, "Merge", "kept |B1NAME", out, sizeof out);
  EXPECT_STREQ(out, "kept ");
  MergeTemplateText(view, view, "Merge", "By |B1NAME| now", out, 8);
  EXPECT_STREQ(out, "By Pat ");  // seven characters, cut inside the field's text
  const char* source = "x|B1NAME|y";
  std::string copy = source;
  MergeTemplateText(view, view, "Merge", source, out, sizeof out);
  EXPECT_EQ(copy, source);
  // One buffer as source and output: merged in place.
  char inPlace[64] = "To |^B1NAME| and ||.";
  MergeTemplateText(view, view, "Merge", inPlace, inPlace, sizeof inPlace);
  EXPECT_STREQ(inPlace, "To PAT PAYER and |.");
}

TEST_F(FieldTextTest, PromptsAskThroughTheDialogAndCancelLeavesUnderscores) {
  DialogDriver driver;
  std::string shownPrompt, shownCaption;
  driver.OnDialog(20904, [&](HWND dialog) {
    shownPrompt = ControlTextOf(dialog, 901);
    char caption[64] = "";
    GetWindowText(dialog, caption, sizeof caption);
    shownCaption = caption;
    SetControlText(dialog, 180, "North 40 feet");
    PressButton(dialog, IDOK);
  });
  driver.OnDialog(20904, [&](HWND dialog) { PressButton(dialog, IDCANCEL); });
  char out[256];
  MergeTemplateText(view, view, "Legal", "Lot 5, |?Which part?| and |?Again?|.", out, sizeof out);
  EXPECT_STREQ(out, "Lot 5, North 40 feet and ____.");
  EXPECT_EQ(shownPrompt, "Which part?");
  EXPECT_EQ(shownCaption, "Legal");
  // A 300-character prompt shows its first 254 characters.
  std::string prompt(300, 'p');
  driver.OnDialog(20904, [&](HWND dialog) {
    shownPrompt = ControlTextOf(dialog, 901);
    PressButton(dialog, IDOK);
  });
  std::string source = "|?" + prompt + "|";
  MergeTemplateText(view, view, "Legal", source.c_str(), out, sizeof out);
  EXPECT_EQ(shownPrompt, std::string(254, 'p'));
  EXPECT_STREQ(out, "");
}

TEST_F(FieldTextTest, ScriptsReadAndWriteTheWindowsFieldsThroughTheBinding) {
  RecordSeams();
  view->records[kSummary1Table]->SetDouble(4, 1234.5678);
  view->records[kBuyerTable]->SetString(2, "Pat");
  TZBasic script(view);
  script.RunScript("A102 = A102 + 1\nappend B1NAME \" Payer\"\nDB106 = 731230\n");
  double amount = 0;
  view->records[kSummary1Table]->GetDouble(4, amount);
  EXPECT_DOUBLE_EQ(amount, 1235.57);  // read at cents, 1234.57 + 1
  char name[81] = "";
  view->records[kBuyerTable]->GetString(2, name, sizeof name);
  EXPECT_STREQ(name, "Pat Payer");
  LONG date = 0;
  view->records[kSummary1Table]->GetLong(15, date);
  EXPECT_EQ(date, 731230);
  EXPECT_EQ(calls.recalculated, (std::vector<int>{214, 102, 220}));
  EXPECT_TRUE(BoxTexts().empty());
}

TEST_F(FieldTextTest, AMemoLongerThanAScriptHoldsIsNeverShortened) {
  TFieldNode* memo = FindFieldByName(&gOtherFieldList, "PLEGAL");
  ASSERT_NE(memo, nullptr);
  std::string legal(5000, 'L');
  view->records[memo->tableIndex]->SetString(memo->fieldNumber, legal.c_str());
  TZBasic script(view);
  script.RunScript("append PLEGAL \"!\"\n");
  std::vector<char> stored(6000, '\0');
  view->records[memo->tableIndex]->GetString(memo->fieldNumber, stored.data(), 6000);
  EXPECT_EQ(std::string(stored.data()), legal);
  ASSERT_EQ(Boxes().Shown().size(), 1u);
  EXPECT_NE(Boxes().Shown()[0].text.find("PLEGAL"), std::string::npos);
}

}  // namespace
