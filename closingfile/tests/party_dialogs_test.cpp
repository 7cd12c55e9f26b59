/*
** Buyers, sellers and the party dialog, run through the statement window's commands over a
** real open file; what they stored is read back from the tables after the window's save.
*/
#include "closingfile/party_dialogs.h"
#include "closingfile/tests/closing_file_test_support.h"
#include "platform/user/winuser.h"

#include <string>
#include <vector>

namespace {

/* Party n's ten fields as the record orders them, each text distinct. */
std::vector<std::pair<int, std::string>> PartyValues(char side, int n) {
  std::string p = std::string(1, side) + std::to_string(n);
  const char* parts[10] = {"name", "suffix", "sigA", "titA", "sigB",
                           "titB", "street", "city", "",     ""};
  std::vector<std::pair<int, std::string>> values;
  int b = 2 + 10 * (n - 1);
  for (int k = 0; k < 8; ++k) values.emplace_back(b + k, p + " " + parts[k]);
  values.emplace_back(b + 8, p + "S");  // state: 3 characters
  values.emplace_back(b + 9, "9000" + std::to_string(n) + std::string(1, side));
  return values;
}

std::vector<std::pair<int, std::string>> SideValues(char side, const std::string& estate) {
  std::vector<std::pair<int, std::string>> values;
  for (int n = 1; n <= 4; ++n)
    for (auto& v : PartyValues(side, n)) values.push_back(v);
  values.emplace_back(42, estate);
  return values;
}

std::vector<std::pair<int, std::string>> TaxIds() {
  std::vector<std::pair<int, std::string>> values;
  for (int n = 1; n <= 4; ++n) {
    values.emplace_back(7 + n, "S-TAX-" + std::to_string(n));
    values.emplace_back(11 + n, "B-TAX-" + std::to_string(n));
  }
  return values;
}

/* The edit of each of a party's ten record fields, in record order. */
constexpr int kPartyEdits[10] = {101, 102, 103, 104, 105, 106, 107, 108, 109, 110};

class PartyDialogsTest : public ClosingFileTest {
 protected:
  RespaWindow* OpenWithParties(const std::string& buyerEstate = "husband and wife",
                               const std::string& sellerEstate = "tenants in common") {
    PutRecord(kBuyerTable, "P-1", SideValues('B', buyerEstate));
    PutRecord(kSellerTable, "P-1", SideValues('S', sellerEstate));
    PutRecord(kSagentTable, "P-1", TaxIds());
    return OpenFile("P-1");
  }
  void ExpectUnchanged(int table, const std::vector<std::pair<int, std::string>>& values,
                       int skipFirst = 0, int skipLast = -1) {
    for (const auto& [field, text] : values) {
      if (field >= skipFirst && field <= skipLast) continue;
      EXPECT_EQ(TableText(table, "P-1", field), text) << "table " << table << " field " << field;
    }
  }
};

TEST_F(PartyDialogsTest, SellerThreeEditsItsOwnFieldsOnly) {
  RespaWindow* view = OpenWithParties();
  std::vector<std::string> shown;
  std::string caption;
  driver.OnDialog(kSellersTemplate, [&](HWND sellers) {
    driver.OnDialog(kBuyerSellerTemplate, [&](HWND party) {
      caption = CaptionOf(party);
      for (int id : kPartyEdits) shown.push_back(ControlTextOf(party, id));
      shown.push_back(ControlTextOf(party, 118));
      TypeInto(party, 101, std::string(60, 'n') + "X");  // the 61st is refused
      TypeInto(party, 102, "new suffix");
      TypeInto(party, 103, "new sig1");
      TypeInto(party, 104, "new title1");
      TypeInto(party, 105, "new sig2");
      TypeInto(party, 106, "new title2");
      TypeInto(party, 107, "1 New Road");
      TypeInto(party, 108, "Newtown");
      TypeInto(party, 109, "fla");  // a 4th would be refused; upper-cased
      TypeInto(party, 109, "flaX");
      TypeInto(party, 110, "33333-4444");
      TypeInto(party, 118, "ab-123456789012Z");  // 14 kept, upper-cased
      PressDialogKey(party, VK_RETURN);
    });
    PressDialogKey(sellers, '3', Qt::AltModifier);
    // The party's button keeps the focus (Enter would press it again): on to the estate.
    FocusControl(sellers, kEstateComboId);
    PressDialogKey(sellers, VK_RETURN);
  });
  Command(view, kSellersCommand);
  EXPECT_EQ(driver.Pending(), 0u);
  EXPECT_EQ(caption, "Seller 3");
  std::vector<std::string> expected;
  for (auto& [field, text] : PartyValues('S', 3)) expected.push_back(text);
  expected.push_back("S-TAX-3");
  EXPECT_EQ(shown, expected);
  const char* typed[10] = {nullptr,      "new suffix", "new sig1", "new title1", "new sig2",
                           "new title2", "1 New Road", "Newtown",  "FLA",        "33333-4444"};
  EXPECT_EQ(TableText(kSellerTable, "P-1", 22), std::string(60, 'n'));
  for (int k = 1; k < 10; ++k) EXPECT_EQ(TableText(kSellerTable, "P-1", 22 + k), typed[k]) << k;
  EXPECT_EQ(TableText(kSagentTable, "P-1", 10), "AB-12345678901");
  // Everything else as it was: the other sellers, the estate, all buyers, the other tax ids.
  ExpectUnchanged(kSellerTable, SideValues('S', "tenants in common"), 22, 31);
  ExpectUnchanged(kBuyerTable, SideValues('B', "husband and wife"));
  ExpectUnchanged(kSagentTable, TaxIds(), 10, 10);
}

TEST_F(PartyDialogsTest, UntouchedOkStoresEveryPartyFieldUnchanged) {
  RespaWindow* view = OpenWithParties();
  for (int n = 1; n <= 4; ++n) {
    driver.OnDialog(kBuyersTemplate, [&, n](HWND buyers) {
      driver.OnDialog(kBuyerSellerTemplate, [&](HWND party) { PressDialogKey(party, VK_RETURN); });
      PressDialogKey(buyers, '0' + n, Qt::AltModifier);
      FocusControl(buyers, kEstateComboId);
      PressDialogKey(buyers, VK_RETURN);
    });
    Command(view, kBuyersCommand);
  }
  EXPECT_EQ(driver.Pending(), 0u);
  EXPECT_TRUE(driver.Unanswered().empty());
  ExpectUnchanged(kBuyerTable, SideValues('B', "husband and wife"));
  ExpectUnchanged(kSellerTable, SideValues('S', "tenants in common"));
  ExpectUnchanged(kSagentTable, TaxIds());
}

struct SignatureCase {
  const char* name;
  const char* suffix;
  const char* sig1;
  const char* title1;
  const char* sig2;
  const char* title2;
  // Expected: texts of 111, 114, 117 and visibility of 112, 113, 115, 116.
  const char* partyLine;
  const char* signer1;
  const char* signer2;
  bool by1, line1, by2, line2;
};

TEST_F(PartyDialogsTest, SignaturePreviewFollowsEachBranch) {
  const SignatureCase cases[] = {
      {"Acme Trust", "Trustee", "Al Smith", "President", "Bea Jones", "Secretary",
       "Acme Trust, Trustee", "Al Smith, President", "Bea Jones, Secretary", true, true, true,
       true},
      {"Acme Trust", "", "Al Smith", "", "", "", "Acme Trust", "Al Smith", "", true, true, false,
       false},
      {"Ann Lee", "Jr.", "", "", "", "", "", "Ann Lee", "", false, true, false, false},
      {"Ann Lee", "", "", "", "Bea Jones", "Wife", "", "Ann Lee", "", false, true, false, false},
  };
  RespaWindow* view = OpenWithParties();
  std::string shot;
  driver.OnDialog(kBuyersTemplate, [&](HWND buyers) {
    driver.OnDialog(kBuyerSellerTemplate, [&](HWND party) {
      for (const SignatureCase& c : cases) {
        SCOPED_TRACE(c.partyLine);
        const char* texts[6] = {c.name, c.suffix, c.sig1, c.title1, c.sig2, c.title2};
        for (int i = 0; i < 6; ++i) {
          if (texts[i][0]) TypeInto(party, 101 + i, texts[i]);
          else {
            TypeInto(party, 101 + i, "x");
            FocusControl(party, 101 + i);
            PressDialogKey(party, VK_BACK);
          }
        }
        EXPECT_EQ(ControlTextOf(party, 111), c.partyLine);
        EXPECT_EQ(ControlTextOf(party, 114), c.signer1);
        EXPECT_EQ(ControlTextOf(party, 117), c.signer2);
        EXPECT_EQ(ControlVisible(party, 112), c.by1);
        EXPECT_EQ(ControlVisible(party, 113), c.line1);
        EXPECT_EQ(ControlVisible(party, 115), c.by2);
        EXPECT_EQ(ControlVisible(party, 116), c.line2);
        if (&c == &cases[0]) shot = Shot(party, "party_dialog_two_signers");
      }
      PressDialogKey(party, VK_ESCAPE);
    });
    PressDialogKey(buyers, '1', Qt::AltModifier);
    PressDialogKey(buyers, VK_ESCAPE);
  });
  Command(view, kBuyersCommand);
  EXPECT_EQ(driver.Pending(), 0u);
  // Cancel in the party dialog wrote nothing.
  ExpectUnchanged(kBuyerTable, SideValues('B', "husband and wife"));
  EXPECT_FALSE(shot.empty());
}

/* The rows a static's text wraps to in its own font, and the rows its box shows. */
std::pair<int, int> RowsNeededAndShown(HWND dialog, int id) {
  HWND item = GetDlgItem(dialog, id);
  RECT box;
  GetClientRect(item, &box);
  std::string text = ControlTextOf(dialog, id);
  HDC dc = GetDC(item);
  HGDIOBJ old = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessage(item, WM_GETFONT, 0, 0)));
  TEXTMETRIC metrics{};
  GetTextMetrics(dc, &metrics);
  RECT needed{0, 0, box.right, 0};
  DrawText(dc, text.c_str(), -1, &needed, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
  SelectObject(dc, old);
  ReleaseDC(item, dc);
  return {needed.bottom / metrics.tmHeight, box.bottom / metrics.tmHeight};
}

TEST_F(PartyDialogsTest, SignaturePreviewShowsLongNamesWhole) {
  // A company with its state of organisation, and the longest texts the edits take.
  const char* cases[][6] = {
      {"Acme Holdings LLC", "a Florida limited liability company", "Jonathan Q. Smithfield",
       "Managing Member", "Margaret A. Whitfield-Brown", "Authorized Signatory"},
      {"Southeastern Regional Holdings and Investment Partners, LLC",
       "a Delaware limited liability company, authorized in Florida",
       "Christopher Alexander Montgomery", "Chief Executive Officer",
       "Elizabeth Katherine Worthington", "Assistant Secretary"},
  };
  RespaWindow* view = OpenWithParties();
  driver.OnDialog(kBuyersTemplate, [&](HWND buyers) {
    driver.OnDialog(kBuyerSellerTemplate, [&](HWND party) {
      for (const auto& texts : cases) {
        for (int i = 0; i < 6; ++i) TypeInto(party, 101 + i, texts[i]);
        SCOPED_TRACE(ControlTextOf(party, 111));
        for (int id : {111, 114, 117}) {
          auto [needed, shown] = RowsNeededAndShown(party, id);
          EXPECT_GE(needed, 1) << id;
          EXPECT_LE(needed, shown) << "static " << id << " cuts " << ControlTextOf(party, id);
        }
        if (&texts == &cases[0]) Shot(party, "party_dialog_long_names");
      }
      // The taller lines still stand apart: party line, "By:" and signer, twice, top to bottom.
      int bottom = 0;
      for (int id : {111, 113, 114, 116, 117}) {
        RECT r;
        GetWindowRect(GetDlgItem(party, id), &r);
        EXPECT_GE(r.top, bottom) << id;
        bottom = r.bottom;
      }
      PressDialogKey(party, VK_ESCAPE);
    });
    PressDialogKey(buyers, '1', Qt::AltModifier);
    PressDialogKey(buyers, VK_ESCAPE);
  });
  Command(view, kBuyersCommand);
  EXPECT_EQ(driver.Pending(), 0u);
}

TEST_F(PartyDialogsTest, EstatePreviewFromListAndFromTyping) {
  RespaWindow* view = OpenWithParties("");
  std::string fromList, fromTyping, empty, longPreview;
  std::string estate75 = std::string(70, 'e') + "TAILX";
  driver.OnDialog(kBuyersTemplate, [&](HWND buyers) {
    empty = ControlTextOf(buyers, kEstateComboId);
    HWND combo = FindControl(buyers, kEstateComboId);
    EXPECT_EQ(SendMessage(combo, CB_GETCURSEL, 0, 0), CB_ERR);
    FocusControl(buyers, kEstateComboId);
    PressDialogKey(buyers, VK_DOWN);
    fromList = ControlTextOf(buyers, kPartyPreviewId);
    PressDialogKey(buyers, VK_DOWN);
    std::string second = ControlTextOf(buyers, kPartyPreviewId);
    EXPECT_EQ(second,
              "B1 name, B1 suffix, B2 name, B2 suffix, B3 name, B3 suffix and B4 name, "
              "B4 suffix, tenants in common");
    TypeInto(buyers, kEstateComboId, "as joint owners");
    fromTyping = ControlTextOf(buyers, kPartyPreviewId);
    TypeInto(buyers, kEstateComboId, estate75 + "Z");  // the 76th is refused
    longPreview = ControlTextOf(buyers, kPartyPreviewId);
    Shot(buyers, "buyers_with_preview");
    PressDialogKey(buyers, VK_RETURN);
  });
  Command(view, kBuyersCommand);
  std::string names =
      "B1 name, B1 suffix, B2 name, B2 suffix, B3 name, B3 suffix and B4 name, B4 suffix";
  EXPECT_EQ(empty, "");
  EXPECT_EQ(fromList, names + ", joint tenants with right of survivorship");
  EXPECT_EQ(fromTyping, names + ", as joint owners");
  EXPECT_EQ(longPreview, names + ", " + std::string(70, 'e'));
  EXPECT_EQ(TableText(kBuyerTable, "P-1", 42), estate75);
}

TEST_F(PartyDialogsTest, StoredEstateShowsEmptyAsPhraseOrWhole) {
  struct Case {
    const char* stored;
    const char* shown;
    int selected;
  };
  const Case cases[] = {{"", "", -1},
                        {"TENANTS", "tenants in common", 1},
                        {"an unmarried w", "an unmarried woman", 5},
                        {"as joint owners", "as joint owners", -1}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.stored);
    PutRecord(kBuyerTable, "E-1", {{2, "Ann"}, {42, c.stored}});
    RespaWindow* view = OpenFile("E-1");
    std::string shown;
    LRESULT selection = 0, editSel = 0;
    driver.OnDialog(kBuyersTemplate, [&](HWND buyers) {
      shown = ControlTextOf(buyers, kEstateComboId);
      HWND combo = FindControl(buyers, kEstateComboId);
      selection = SendMessage(combo, CB_GETCURSEL, 0, 0);
      editSel = SendMessage(combo, CB_GETEDITSEL, 0, 0);
      FocusControl(buyers, IDOK);
      PressDialogKey(buyers, VK_RETURN);
    });
    Command(view, kBuyersCommand);
    EXPECT_EQ(shown, c.shown);
    EXPECT_EQ(selection, c.selected);
    if (c.selected < 0 && c.shown[0])
      EXPECT_EQ(editSel, MAKELONG(0, std::string(c.shown).size()));  // all of it selected
    EXPECT_EQ(TableText(kBuyerTable, "E-1", 42), c.shown);
    CloseFile(view);
  }
}

TEST_F(PartyDialogsTest, CancelInBuyersKeepsTheConfirmedPartyAndDropsTheEstate) {
  RespaWindow* view = OpenWithParties();
  driver.OnDialog(kBuyersTemplate, [&](HWND buyers) {
    driver.OnDialog(kBuyerSellerTemplate, [&](HWND party) {
      TypeInto(party, 101, "Changed Name");
      PressDialogKey(party, VK_RETURN);
    });
    PressDialogKey(buyers, '2', Qt::AltModifier);
    EXPECT_EQ(ControlTextOf(buyers, kPartyPreviewId),
              "B1 name, B1 suffix, Changed Name, B2 suffix, B3 name, B3 suffix and B4 name, "
              "B4 suffix, husband and wife");
    TypeInto(buyers, kEstateComboId, "an unmarried man and others");
    PressDialogKey(buyers, VK_ESCAPE);
  });
  Command(view, kBuyersCommand);
  EXPECT_EQ(TableText(kBuyerTable, "P-1", 12), "Changed Name");
  EXPECT_EQ(TableText(kBuyerTable, "P-1", 42), "husband and wife");
}

}  // namespace
