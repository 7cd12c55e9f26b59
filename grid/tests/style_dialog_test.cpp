// The custom-control interface and the style dialogs, driven through their buttons: the
// style shown for a style, the style made from the buttons, the exclusions, the Extended
// Style dialog's reading and sending, and the help pages. Styles expected are summed by
// hand from the bits of the buttons.
#include "grid/design_exports.h"
#include "grid/ext_style_dialog.h"
#include "grid/tests/config_fixture.h"
#include "platform/testing/dialog_driver.h"

#include <map>

namespace {

class StyleDialog : public ConfigTest {
 protected:
  void SetUp() override {
    ConfigTest::SetUp();
    Load();
    SetHelpFileOpener([this](const std::string& path, const std::string& topic) {
      helpPages_.push_back(path.substr(path.find_last_of('/') + 1) + "#" + topic);
      return true;
    });
  }
  void TearDown() override {
    SetHelpFileOpener(nullptr);
    ConfigTest::TearDown();
  }
  /* Runs the style function on the style; the script acts on the open dialog. */
  BOOL RunStyle(DWORD style, DialogDriver::Script script, DWORD* result,
                const char* text = "Orders") {
    CCSTYLEA record{};
    record.flStyle = style;
    std::strcpy(record.szText, text);
    driver_.OnDialogCaption("Tessel Control Style", std::move(script));
    BOOL answer = TesselStyleFn(parent_, &record);
    *result = record.flStyle;
    return answer;
  }
  static bool On(HWND dialog, int id) { return IsDlgButtonChecked(dialog, id) == BST_CHECKED; }
  static bool Enabled(HWND dialog, int id) { return IsWindowEnabled(GetDlgItem(dialog, id)); }
  /* The checked ids among the given ones. */
  static std::vector<int> CheckedOf(HWND dialog, std::initializer_list<int> ids) {
    std::vector<int> on;
    for (int id : ids)
      if (On(dialog, id)) on.push_back(id);
    return on;
  }

  DialogDriver driver_;
  std::vector<std::string> helpPages_;
};

const std::initializer_list<int> kAllButtons = {103, 104, 105, 106, 107, 108, 109, 111,
                                                112, 113, 114, 115, 116, 117, 118, 119,
                                                120, 127, 128, 129, 130, 131, 132, 133};

}  // namespace

TEST_F(StyleDialog, TheControlIsDescribedForTheEditor) {
  EXPECT_EQ(CustomControlInfoA(nullptr), 1u);
  CCINFOA info;
  std::memset(&info, 0xCD, sizeof info);
  ASSERT_EQ(CustomControlInfoA(&info), 1u);
  EXPECT_STREQ(info.szClass, "Tessel");
  EXPECT_EQ(info.flOptions, 0u);
  EXPECT_STREQ(info.szDesc, "Tessel Control");
  EXPECT_EQ(info.cxDefault, 80u);
  EXPECT_EQ(info.cyDefault, 40u);
  EXPECT_EQ(info.flStyleDefault, 0x508000C0u);
  EXPECT_EQ(info.flExtStyleDefault, 0u);
  EXPECT_EQ(info.flCtrlTypeMask, 0u);
  EXPECT_STREQ(info.szTextDefault, "");
  EXPECT_EQ(info.lpfnStyle,
            reinterpret_cast<LPFNCCSTYLEA>(GetProcAddress(library_, "TesselStyleFn")));
  EXPECT_EQ(info.lpfnSizeToText, nullptr);
  const std::pair<const char*, DWORD> flags[19] = {
      {"TSS_VIRTUALMEM", 0x0001}, {"TSS_EDIT", 0x0004},       {"TSS_RESIZE", 0x0008},
      {"TSS_NONE", 0x0000},       {"TSS_OWNERDEF", 0x0030},   {"TSS_NUMBERS", 0x0010},
      {"TSS_LETTERS", 0x0020},    {"TSS_HGRID", 0x0040},      {"TSS_VGRID", 0x0080},
      {"TSS_ROWSELECT", 0x0100},  {"TSS_MULTIROW", 0x0200},   {"TSS_COLSELECT", 0x0400},
      {"TSS_MULTICOL", 0x0800},   {"TSS_SMALLDATA", 0x0000},  {"TSS_LARGEDATA", 0x1000},
      {"TSS_ROWBUTTONS", 0x2000}, {"TSS_ROWNUMBERS", 0x4000}, {"TSS_DROPDOWN", 0x8000},
      {"TSS_AUTODROPDN", 0x8002}};
  ASSERT_EQ(info.cStyleFlags, 19);
  for (int i = 0; i < 19; ++i) {
    EXPECT_STREQ(info.aStyleFlags[i].pszStyle, flags[i].first);
    EXPECT_EQ(info.aStyleFlags[i].flStyle, flags[i].second);
    EXPECT_EQ(info.aStyleFlags[i].flStyleMask, 0u);
  }
}

TEST_F(StyleDialog, TheStyleIsShownByTheButtonsAndMadeBackFromThem) {
  DWORD style = 0;
  // 0x50000000 child and visible, WS_BORDER, WS_GROUP, virtual, H grid, single row, letters,
  // row buttons, auto drop-down.
  DWORD opening =
      0x50000000 | WS_BORDER | WS_GROUP | 0x0001 | 0x0040 | 0x0100 | 0x0020 | 0x2000 | 0x8002;
  BOOL answer = RunStyle(
      opening,
      [&](HWND dialog) {
        EXPECT_EQ(CheckedOf(dialog, kAllButtons),
                  (std::vector<int>{103, 106, 111, 115, 117, 129, 133}));
        EXPECT_TRUE(Enabled(dialog, 114));
        EXPECT_TRUE(Enabled(dialog, 115));
        EXPECT_FALSE(Enabled(dialog, 124)) << "no grid was found: nothing to load into";
        EXPECT_FALSE(Enabled(dialog, 125));
        SaveWindowScreenshot(dialog, std::string(ZARNE_BUILD_DIR) + "/grid_table_style_dialog.png");
        PressButton(dialog, IDOK);
      },
      &style);
  EXPECT_EQ(answer, 1);
  // WS_GROUP is dropped; WS_TABSTOP always added: 0x50010000 | 0x00800000 | 0xA163.
  EXPECT_EQ(style, 0x5081A163u);
  // Cancel changes nothing and answers 0.
  answer = RunStyle(
      opening, [](HWND dialog) { PressButton(dialog, IDCANCEL); }, &style);
  EXPECT_EQ(answer, 0);
  EXPECT_EQ(style, opening);
}

TEST_F(StyleDialog, EveryStyleBitMapsToItsButton) {
  struct Case {
    DWORD bits;
    std::vector<int> checked;
  } cases[] = {
      {0, {109, 113, 116, 127, 131}},
      {WS_HSCROLL | WS_VSCROLL | 0x0080 | 0x0004 | 0x0008,
       {104, 105, 107, 108, 109, 112, 113, 116, 127, 131}},
      {0x0800 | 0x0400 | 0x0200, {109, 113, 120, 127, 131}},
      {0x0400 | 0x0200, {109, 113, 119, 127, 131}},
      {0x0200, {109, 113, 118, 127, 131}},
      {0x0030 | 0x4000 | 0x2000, {109, 113, 116, 130, 132}},
      {0x0010, {109, 113, 116, 128, 131}},
      {0x0100 | 0x8000, {109, 114, 117, 127, 131}},
      {0x8000, {109, 116, 127, 131}},  // drop-down without single row: no drop button
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.bits);
    DWORD style = 0;
    RunStyle(
        0x50000000 | c.bits,
        [&](HWND dialog) {
          EXPECT_EQ(CheckedOf(dialog, kAllButtons), c.checked);
          EXPECT_EQ(Enabled(dialog, 114), (c.bits & 0x0100) && !(c.bits & 0x0E00));
          PressButton(dialog, IDOK);
        },
        &style);
    if (c.bits == 0x8000) EXPECT_EQ(style, 0x50010000u);
  }
}

TEST_F(StyleDialog, ClicksApplyTheExclusions) {
  DWORD style = 0;
  RunStyle(
      0x50000000 | 0x0100 | 0x8000,
      [&](HWND dialog) {
        PressButton(dialog, 108);  // Editable: the drop-down buttons go
        EXPECT_FALSE(On(dialog, 114));
        EXPECT_FALSE(On(dialog, 115));
        PressButton(dialog, 115);  // Auto Drop Dn: Editable goes
        EXPECT_FALSE(On(dialog, 108));
        EXPECT_TRUE(On(dialog, 115));
        PressButton(dialog, 118);  // Multiple Row: drop-down buttons off and disabled
        EXPECT_FALSE(On(dialog, 115));
        EXPECT_FALSE(Enabled(dialog, 115));
        PressButton(dialog, 111);  // Virtual while Multiple Row: selection becomes None
        EXPECT_TRUE(On(dialog, 116));
        EXPECT_TRUE(On(dialog, 111));
        PressButton(dialog, 118);  // Multiple Row again: Virtual goes, neither model checked
        EXPECT_FALSE(On(dialog, 111));
        EXPECT_FALSE(On(dialog, 109));
        PressButton(dialog, 117);  // Single Row: drop-down buttons enabled again
        EXPECT_TRUE(Enabled(dialog, 114));
        PressButton(dialog, IDOK);
      },
      &style);
  EXPECT_EQ(style, 0x50010100u);
}

TEST_F(StyleDialog, TheLargeDataModelSurvivesOkUnlessAModelIsChosen) {
  DWORD style = 0;
  RunStyle(
      0x50000000 | 0x1000 | 0x0040,
      [&](HWND dialog) {
        EXPECT_FALSE(On(dialog, 109));
        EXPECT_FALSE(On(dialog, 111));
        PressButton(dialog, IDOK);
      },
      &style);
  EXPECT_EQ(style, 0x50011040u);
  RunStyle(
      0x50000000 | 0x1000 | 0x0040,
      [&](HWND dialog) {
        PressButton(dialog, 109);
        PressButton(dialog, IDOK);
      },
      &style);
  EXPECT_EQ(style, 0x50010040u);
  RunStyle(
      0x50000000 | 0x1000,
      [&](HWND dialog) {
        PressButton(dialog, 111);
        PressButton(dialog, IDOK);
      },
      &style);
  EXPECT_EQ(style, 0x50010001u);
}

TEST_F(StyleDialog, ExtendedStyleReadsAndSendsExactlyWhatItShows) {
  HWND grid = MakeGrid(TSS_ROWNUMBERS | TSS_HGRID);
  Send(grid, TSM_SETEXSTYLE, 0, 0x8241);  // 0x8000 is shown by no button
  Send(grid, TSM_SETCOLSTYLE, TSCOL_ROWLABEL, 2);
  Send(grid, TSM_SETCURSOR, 0, TSROW_HEADING);
  Send(grid, TSM_SETROWSTYLE, TSREF_CURSOR, 1);
  driver_.OnDialogCaption("Extended Style Interface", [&](HWND dialog) {
    EXPECT_EQ(CheckedOf(dialog, {136, 115, 117, 111, 112, 113, 114, 116, 107, 108, 105, 106, 119,
                                 120, 121, 122, 123, 124}),
              (std::vector<int>{136, 107, 105, 120, 122}));
    SaveWindowScreenshot(dialog, std::string(ZARNE_BUILD_DIR) + "/grid_ext_style_dialog.png");
    PressButton(dialog, 111);
    PressButton(dialog, 108);
    PressButton(dialog, 106);
    PressButton(dialog, 124);
    PressButton(dialog, 119);
    PressButton(dialog, 998);
    PressButton(dialog, IDOK);
  });
  EXPECT_EQ(RunExtStyleDialog(parent_, grid), 1);
  EXPECT_EQ(Send(grid, TSM_GETEXSTYLE), 0x0202);
  EXPECT_EQ(Send(grid, TSM_GETCOLSTYLE, TSCOL_ROWLABEL), 0);
  Send(grid, TSM_SETCURSOR, 0, TSROW_HEADING);
  EXPECT_EQ(Send(grid, TSM_GETROWSTYLE, TSREF_CURSOR), 2);
  EXPECT_EQ(helpPages_, (std::vector<std::string>{"Tessel.html#the-extended-styles-dialog"}));
  driver_.OnDialogCaption("Extended Style Interface",
                          [](HWND dialog) { PressButton(dialog, IDCANCEL); });
  EXPECT_EQ(RunExtStyleDialog(parent_, grid), 0);
  EXPECT_EQ(RunExtStyleDialog(parent_, nullptr), 0);
  EXPECT_EQ(driver_.Opened().size(), 2u);
}

TEST_F(StyleDialog, HelpOpensThePageBesideTheLibraryAtTheDialogsAnchor) {
  DWORD style = 0;
  RunStyle(
      0x50000000,
      [](HWND dialog) {
        PressButton(dialog, 998);
        PressButton(dialog, IDCANCEL);
      },
      &style);
  EXPECT_EQ(helpPages_, (std::vector<std::string>{"Tessel.html#the-tessel-control-style-dialog"}));
  EXPECT_TRUE(Boxes().Shown().empty()) << "the page was found beside the library";
}
