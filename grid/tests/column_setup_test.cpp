// Column Setup and its sub-dialogs driven through their controls: fields loaded from the
// column, each change reaching the grid, the restructuring dialogs' outcomes and messages,
// Cancel undoing a whole run, sort keys, and the help anchors. Orders and values expected
// are worked by hand from the dialogs' rules.
#include "grid/design_services.h"
#include "grid/tests/config_fixture.h"
#include "platform/testing/dialog_driver.h"

namespace {

class ColumnSetup : public ConfigTest {
 protected:
  void SetUp() override {
    ConfigTest::SetUp();
    Load();
    SetHelpFileOpener([this](const std::string&, const std::string& topic) {
      help_.push_back(topic);
      return true;
    });
  }
  void TearDown() override {
    SetHelpFileOpener(nullptr);
    ConfigTest::TearDown();
  }
  HWND ThreeColumns(DWORD style = TSS_HGRID | TSS_VGRID | TSS_OWNERDEF) {
    HWND grid = MakeGrid(style);
    Send(grid, TSM_SETCOLCOUNT, 3);
    SetColumn(grid, 0, {0x0186, TST_REAL8, 8, 50, 0, 0, 0, "#,##0.00", "Amount", "A", ""});
    SetColumn(grid, 1, {TSCS_HIDDEN, TST_ZSTRING, 16, 40, 0, 0, 0, "", "Name", "B", ""});
    SetColumn(grid, 2, {0x0249, TST_CHECKBOX, 4, 30, 0, 0, 0, "0", "Ok", "C", ""});
    return grid;
  }
  static std::vector<std::string> Names(HWND grid) {
    std::vector<std::string> names;
    for (const Column& c : Columns(grid)) names.push_back(c.name);
    return names;
  }
  /* Replaces a field's text by typing and leaves it with Tab, as a user does. */
  static void TypeField(HWND dialog, int id, const std::string& text) {
    HWND field = FindControl(dialog, id);
    SetFocus(field);
    SendMessage(field, EM_SETSEL, 0, -1);
    TypeIntoDialog(dialog, text);
    PressDialogKey(dialog, VK_TAB);
  }
  static std::string Caption(HWND dialog) {
    char text[80] = "";
    GetWindowText(dialog, text, sizeof text);
    return text;
  }
  static bool On(HWND dialog, int id) { return IsDlgButtonChecked(dialog, id) == BST_CHECKED; }
  static bool Enabled(HWND dialog, int id) { return IsWindowEnabled(GetDlgItem(dialog, id)); }
  /* Runs a sub-dialog from Column Setup with the script. */
  void Sub(HWND dialog, int button, const char* caption, DialogDriver::Script script) {
    driver_.OnDialogCaption(caption, std::move(script));
    PressButton(dialog, button);
  }
  const MessageBoxRequest& LastBox() { return Boxes().Shown().back(); }

  DialogDriver driver_;
  std::vector<std::string> help_;
};

}  // namespace

TEST_F(ColumnSetup, FieldsLoadFromEachColumnAndPrevAndNextWrap) {
  HWND grid = ThreeColumns();
  driver_.OnDialogCaption("Configure Column 1 of 3", [&](HWND dialog) {
    EXPECT_EQ(SendDlgItemMessage(dialog, 107, CB_GETCURSEL, 0, 0), 7);  // "8 Byte Real"
    EXPECT_EQ(ControlTextOf(dialog, 108), "8");
    EXPECT_FALSE(Enabled(dialog, 108));
    EXPECT_EQ(ControlTextOf(dialog, 109), "A");
    EXPECT_EQ(ControlTextOf(dialog, 115), "50");
    EXPECT_EQ(ControlTextOf(dialog, 122), "Amount");
    EXPECT_EQ(ControlTextOf(dialog, 126), "#,##0.00");
    EXPECT_TRUE(On(dialog, 116) && On(dialog, 119) && On(dialog, 124) && On(dialog, 129));
    EXPECT_FALSE(On(dialog, 110) || On(dialog, 111));
    SaveWindowScreenshot(dialog, std::string(ZARNE_BUILD_DIR) + "/grid_column_setup_dialog.png");
    PressButton(dialog, 102);
    EXPECT_EQ(Caption(dialog), "Configure Column 2 of 3");
    EXPECT_TRUE(On(dialog, 110));
    EXPECT_FALSE(Enabled(dialog, 111));  // hidden: lock, width, data, heading, format off
    EXPECT_FALSE(Enabled(dialog, 122));
    EXPECT_FALSE(Enabled(dialog, 126));
    EXPECT_TRUE(Enabled(dialog, 108));  // ZString: the length is typed
    PressButton(dialog, 102);
    EXPECT_EQ(Caption(dialog), "Configure Column 3 of 3");
    EXPECT_FALSE(Enabled(dialog, 133));  // check boxes have no list and no editor style
    EXPECT_FALSE(Enabled(dialog, 134));
    EXPECT_TRUE(On(dialog, 117) && On(dialog, 120) && On(dialog, 125) && On(dialog, 128));
    EXPECT_EQ(ControlTextOf(dialog, 126), "0");
    PressButton(dialog, 102);
    EXPECT_EQ(Caption(dialog), "Configure Column 1 of 3");
    PressButton(dialog, 101);
    EXPECT_EQ(Caption(dialog), "Configure Column 3 of 3");
    PressButton(dialog, IDCANCEL);
  });
  EXPECT_EQ(OpenColumnSetup(parent_, grid, 0), 0);
  EXPECT_EQ(driver_.Opened().size(), 1u);
  EXPECT_EQ(OpenColumnSetup(parent_, grid, 3), 0);  // beyond the columns: refused silently
  EXPECT_EQ(OpenColumnSetup(parent_, nullptr, 0), 0);
  EXPECT_EQ(driver_.Opened().size(), 1u);
}

TEST_F(ColumnSetup, EachChangeReachesTheGridAtOnce) {
  HWND grid = ThreeColumns();
  driver_.OnDialogCaption("Configure Column 1 of 3", [&](HWND dialog) {
    SetFocus(FindControl(dialog, 107));
    SendDlgItemMessage(dialog, 107, CB_SETCURSEL, 8, 0);  // "ZString"
    SendMessage(dialog, WM_COMMAND, MAKEWPARAM(107, CBN_SELCHANGE),
                reinterpret_cast<LPARAM>(FindControl(dialog, 107)));
    EXPECT_EQ(Send(grid, TSM_GETCOLTYPE, 0), TST_ZSTRING);
    EXPECT_TRUE(Enabled(dialog, 108));
    TypeField(dialog, 108, "24");
    EXPECT_EQ(Send(grid, TSM_GETCOLLEN, 0), 24);
    TypeField(dialog, 109, "Total");
    TypeField(dialog, 115, "64");
    TypeField(dialog, 122, "Sum Total");
    TypeField(dialog, 126, "0.000");
    Column now = GetColumn(grid, 0);
    EXPECT_EQ(now.name, "Total");
    EXPECT_EQ(now.width, 64);
    EXPECT_EQ(now.heading, "Sum Total");
    EXPECT_EQ(now.format, "0.000");
    EXPECT_NE(SendDlgItemMessage(dialog, 126, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                 reinterpret_cast<LPARAM>("0.000")),
              CB_ERR);
    PressButton(dialog, 118);  // width Default
    PressButton(dialog, 121);  // data Default
    PressButton(dialog, 125);  // heading Right
    PressButton(dialog, 127);  // data Left
    // 0x0186 less 0x0003, 0x000C, 0x0300, 0x00C0, plus heading right 0x0200.
    EXPECT_EQ(Send(grid, TSM_GETCOLSTYLE, 0), 0x0200);
    PressButton(dialog, 111);
    EXPECT_EQ(Send(grid, TSM_GETCOLSTYLE, 0), 0x2200);
    PressButton(dialog, 110);
    EXPECT_EQ(Send(grid, TSM_GETCOLSTYLE, 0), 0x2220);
    PressButton(dialog, IDOK);
  });
  EXPECT_EQ(OpenColumnSetup(parent_, grid, 0), 1);
  EXPECT_EQ(GetColumn(grid, 0).name, "Total");
}

TEST_F(ColumnSetup, RestructuringDialogsChangeTheGridAndCheckTheirNumbers) {
  HWND grid = ThreeColumns();
  driver_.OnDialogCaption("Configure Column 1 of 3", [&](HWND dialog) {
    Sub(dialog, 103, "Insert Columns", [&](HWND insert) {
      EXPECT_EQ(ControlTextOf(insert, 131), "1");
      EXPECT_EQ(ControlTextOf(insert, 103), "1");
      SetControlText(insert, 131, "2");
      SetControlText(insert, 103, "9");
      PressButton(insert, IDOK);
      EXPECT_EQ(LastBox().text, "Target Column must be between 1 and 3");
      EXPECT_EQ(LastBox().caption, "Insert Columns");
      EXPECT_EQ(LastBox().type, static_cast<UINT>(MB_OK));
      SetControlText(insert, 103, "2");
      PressButton(insert, IDOK);
    });
    EXPECT_EQ(Names(grid), (std::vector<std::string>{"A", "", "", "B", "C"}));
    EXPECT_EQ(GetColumn(grid, 1).width, 40);
    EXPECT_EQ(GetColumn(grid, 2).editStyle, static_cast<uint32_t>(ES_AUTOHSCROLL));
    EXPECT_EQ(Caption(dialog), "Configure Column 1 of 5");
    Sub(dialog, 104, "Copy Columns", [&](HWND copy) {
      SetControlText(copy, 101, "4");
      SetControlText(copy, 103, "1");
      PressButton(copy, IDOK);
    });
    EXPECT_EQ(Names(grid), (std::vector<std::string>{"B", "A", "", "", "B", "C"}));
    Sub(dialog, 105, "Move Columns", [&](HWND move) {
      SetControlText(move, 101, "2");
      SetControlText(move, 102, "3");
      SetControlText(move, 103, "3");
      PressButton(move, IDOK);
      EXPECT_EQ(LastBox().text, "Ending Column must be outside of the range");
      SetControlText(move, 102, "1");
      PressButton(move, IDOK);
      EXPECT_EQ(LastBox().text, "Ending Column must be between 2 and 6");
      SetControlText(move, 102, "2");
      PressButton(move, 105);
      PressButton(move, IDOK);
    });
    EXPECT_EQ(Names(grid), (std::vector<std::string>{"B", "", "", "B", "C", "A"}));
    Sub(dialog, 106, "Delete Columns", [&](HWND remove) {
      SetControlText(remove, 101, "0");
      PressButton(remove, IDOK);
      EXPECT_EQ(LastBox().text, "Starting Column must be between 1 and 6");
      SetControlText(remove, 101, "2");
      SetControlText(remove, 102, "3");
      PressButton(remove, IDOK);
    });
    EXPECT_EQ(Names(grid), (std::vector<std::string>{"B", "B", "C", "A"}));
    PressButton(dialog, IDOK);
  });
  EXPECT_EQ(OpenColumnSetup(parent_, grid, 0), 1);
  EXPECT_EQ(Names(grid), (std::vector<std::string>{"B", "B", "C", "A"}));
}

TEST_F(ColumnSetup, SeveralCopiesOfTheLastColumnBeforeTheFirst) {
  HWND grid = ThreeColumns();
  driver_.OnDialogCaption("Configure Column 1 of 3", [&](HWND dialog) {
    Sub(dialog, 104, "Copy Columns", [&](HWND copy) {
      SetControlText(copy, 101, "3");
      SetControlText(copy, 131, "2");
      SetControlText(copy, 103, "1");
      PressButton(copy, IDOK);
    });
    PressButton(dialog, IDOK);
  });
  EXPECT_EQ(OpenColumnSetup(parent_, grid, 0), 1);
  EXPECT_EQ(Names(grid), (std::vector<std::string>{"C", "C", "A", "B", "C"}));
  EXPECT_TRUE(Boxes().Shown().empty());
}

namespace {

LRESULT RefusingRestructure(HWND grid, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == TSM_INSERTBLANKCOL || message == TSM_COPYCOL || message == TSM_MOVECOL ||
      message == TSM_DELETECOL)
    return TSERR_STATE;
  return TesselWndFn(grid, message, wParam, lParam);
}

}  // namespace

TEST_F(ColumnSetup, ARefusedRestructureIsReportedAndTheDialogStaysOpen) {
  HWND grid = ThreeColumns();
  SetWindowLongPtr(grid, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(RefusingRestructure));
  driver_.OnDialogCaption("Configure Column 2 of 3", [&](HWND dialog) {
    const struct {
      int button;
      const char* caption;
      const char* text;
    } subs[] = {{103, "Insert Columns", "Can't insert columns"},
                {104, "Copy Columns", "Can't copy column"},
                {105, "Move Columns", "Can't move columns"},
                {106, "Delete Columns", "Can't delete columns"}};
    for (const auto& sub : subs) {
      Sub(dialog, sub.button, sub.caption, [&](HWND child) {
        PressButton(child, IDOK);
        EXPECT_EQ(LastBox().text, sub.text);
        EXPECT_EQ(LastBox().caption, sub.caption);
        EXPECT_TRUE(IsWindow(child));
        PressButton(child, IDCANCEL);
      });
    }
    PressButton(dialog, IDCANCEL);
  });
  EXPECT_EQ(OpenColumnSetup(parent_, grid, 1), 0);
  EXPECT_EQ(Boxes().Shown().size(), 4u);
  SetWindowLongPtr(grid, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(TesselWndFn));
}

TEST_F(ColumnSetup, CancelUndoesAWholeRunButTheRowsStayDeleted) {
  HWND grid = ThreeColumns();
  double value = 4.5;
  std::vector<uint8_t> row(static_cast<size_t>(64), 0);
  std::memcpy(row.data(), &value, sizeof value);
  Send(grid, TSM_SETCURSOR, 0, TSROW_APPEND);
  Send(grid, TSM_INSERTROW, 0, reinterpret_cast<LPARAM>(row.data()));
  ASSERT_EQ(Send(grid, TSM_GETROWCOUNT), 1);
  std::vector<Column> before = Columns(grid);
  driver_.OnDialogCaption("Configure Column 1 of 3", [&](HWND dialog) {
    EXPECT_EQ(Send(grid, TSM_GETROWCOUNT), 0);
    TypeField(dialog, 109, "Changed");
    Sub(dialog, 103, "Insert Columns", [](HWND d) { PressButton(d, IDOK); });
    Sub(dialog, 104, "Copy Columns", [](HWND d) { PressButton(d, IDOK); });
    Sub(dialog, 105, "Move Columns", [](HWND d) {
      PressButton(d, 105);
      PressButton(d, IDOK);
    });
    Sub(dialog, 106, "Delete Columns", [](HWND d) { PressButton(d, IDOK); });
    Sub(dialog, 134, "List Box Items", [](HWND d) {
      SetControlText(d, 104, "one");
      PressButton(d, 102);
      PressButton(d, IDOK);
    });
    Sub(dialog, 133, "Editing Style", [](HWND d) {
      PressButton(d, 105);
      PressButton(d, IDOK);
    });
    Sub(dialog, 135, "Sorting Information", [](HWND d) {
      SetControlText(d, 100, "1");
      PressButton(d, IDOK);
    });
    EXPECT_NE(Columns(grid), before);
    PressButton(dialog, IDCANCEL);
  });
  EXPECT_EQ(OpenColumnSetup(parent_, grid, 0), 0);
  EXPECT_EQ(driver_.Opened().size(), 8u);
  EXPECT_EQ(Columns(grid), before);
  EXPECT_EQ(Send(grid, TSM_GETSORTKEY, 0, 1), TSERR_NONE);
  EXPECT_EQ(Send(grid, TSM_GETROWCOUNT), 0);
}

TEST_F(ColumnSetup, ASecondColumnSetupIsRefused) {
  HWND grid = ThreeColumns();
  HWND other = ThreeColumns();
  driver_.OnDialogCaption("Configure Column 1 of 3", [&](HWND dialog) {
    EXPECT_EQ(OpenColumnSetup(dialog, other, 0), 0);
    PressButton(dialog, IDOK);
  });
  EXPECT_EQ(OpenColumnSetup(parent_, grid, 0), 1);
  ASSERT_EQ(Boxes().Shown().size(), 1u);
  EXPECT_EQ(LastBox().text, "This Dialog is already in use.");
  EXPECT_EQ(LastBox().caption, "Column Setup");
  EXPECT_EQ(LastBox().type & MB_ICONMASK, static_cast<UINT>(MB_ICONSTOP));
}

TEST_F(ColumnSetup, SortKeysAreShownSetAndRemoved) {
  HWND grid = ThreeColumns();
  // Key 1 on column 2, descending; key 2 on column 1, case insensitive.
  Send(grid, TSM_SETCOLSTYLE, 1, TSCS_HIDDEN | TSCS_SORTKEY1 | TSCS_SORTDES);
  Send(grid, TSM_SETCOLSTYLE, 0, 0x0186 | TSCS_SORTKEY2 | TSCS_SORTCASEI);
  ASSERT_EQ(Send(grid, TSM_GETSORTKEY, 0, 1), 1);
  ASSERT_EQ(Send(grid, TSM_GETSORTKEY, 0, 2), 0);
  driver_.OnDialogCaption("Configure Column 1 of 3", [&](HWND dialog) {
    Sub(dialog, 135, "Sorting Information", [&](HWND sort) {
      EXPECT_EQ(ControlTextOf(sort, 100), "2");
      EXPECT_TRUE(On(sort, 102));
      EXPECT_EQ(ControlTextOf(sort, 104), "1");
      EXPECT_TRUE(On(sort, 107) && On(sort, 105));
      EXPECT_EQ(ControlTextOf(sort, 108), "0");
      EXPECT_TRUE(Enabled(sort, 108));
      TypeField(sort, 100, "9");
      EXPECT_EQ(LastBox().text, "Sort Key must be between 0 and 3");
      TypeField(sort, 100, "3");
      TypeField(sort, 104, "0");
      EXPECT_FALSE(Enabled(sort, 108));
      PressButton(sort, IDOK);
    });
    PressButton(dialog, IDOK);
  });
  EXPECT_EQ(OpenColumnSetup(parent_, grid, 0), 1);
  // Column 3 is key 1, ascending; columns 1 and 2 lost every key bit.
  EXPECT_EQ(Send(grid, TSM_GETCOLSTYLE, 2), 0x0249 | TSCS_SORTKEY1);
  EXPECT_EQ(Send(grid, TSM_GETCOLSTYLE, 1), TSCS_HIDDEN);
  EXPECT_EQ(Send(grid, TSM_GETCOLSTYLE, 0), 0x0186);
}

TEST_F(ColumnSetup, AGridWithoutKeysKeepsThemAndListAndEditStylesAreSet) {
  HWND grid = ThreeColumns();
  std::string longItem(60, 'x');
  driver_.OnDialogCaption("Configure Column 1 of 3", [&](HWND dialog) {
    Sub(dialog, 135, "Sorting Information", [&](HWND sort) {
      for (int id : {100, 104, 108}) EXPECT_EQ(ControlTextOf(sort, id), "0");
      EXPECT_FALSE(Enabled(sort, 104));
      EXPECT_FALSE(Enabled(sort, 108));
      PressButton(sort, IDOK);
    });
    Sub(dialog, 134, "List Box Items", [&](HWND list) {
      for (const std::string& item : {longItem, std::string("second"), longItem + "y"}) {
        TypeField(list, 104, item);
        PressButton(list, 102);
      }
      SendDlgItemMessage(list, 101, LB_SETCURSEL, 1, 0);
      PressButton(list, 103);
      PressButton(list, IDOK);
    });
    Sub(dialog, 133, "Editing Style", [&](HWND edit) {
      EXPECT_EQ(IsDlgButtonChecked(edit, 103), static_cast<UINT>(BST_UNCHECKED));
      PressButton(edit, 101);
      PressButton(edit, 110);
      PressButton(edit, IDOK);
    });
    PressButton(dialog, IDOK);
  });
  std::vector<uint16_t> flags;
  for (int c = 0; c < 3; ++c)
    flags.push_back(static_cast<uint16_t>(Send(grid, TSM_GETCOLSTYLE, c)));
  EXPECT_EQ(OpenColumnSetup(parent_, grid, 0), 1);
  EXPECT_EQ(Send(grid, TSM_GETSORTKEY, 0, 1), TSERR_NONE);
  Column first = GetColumn(grid, 0);
  EXPECT_EQ(first.listItems, longItem + "\t" + longItem + "y");
  EXPECT_EQ(first.editStyle, static_cast<uint32_t>(ES_MULTILINE | ES_UPPERCASE));
}

TEST_F(ColumnSetup, EachHelpButtonOpensItsAnchor) {
  HWND grid = ThreeColumns();
  driver_.OnDialogCaption("Configure Column 1 of 3", [&](HWND dialog) {
    PressButton(dialog, 998);
    const std::pair<int, const char*> subs[] = {
        {103, "Insert Columns"},     {104, "Copy Columns"},   {105, "Move Columns"},
        {106, "Delete Columns"},     {134, "List Box Items"}, {133, "Editing Style"},
        {135, "Sorting Information"}};
    for (const auto& sub : subs)
      Sub(dialog, sub.first, sub.second, [](HWND child) {
        PressButton(child, 998);
        PressButton(child, IDCANCEL);
      });
    PressButton(dialog, IDCANCEL);
  });
  OpenColumnSetup(parent_, grid, 0);
  EXPECT_EQ(help_, (std::vector<std::string>{
                       "the-column-configuration-dialog", "inserting-columns-at-design-time",
                       "copying-columns-at-design-time", "moving-columns-at-design-time",
                       "deleting-columns-at-design-time", "setting-list-box-items-at-design-time",
                       "setting-editing-style-at-design-time", "defining-sorting-at-design-time"}));
}

TEST_F(ColumnSetup, TheRemainingNumbersAreCheckedAndZeroChangesNothing) {
  HWND grid = ThreeColumns();
  driver_.OnDialogCaption("Configure Column 2 of 3", [&](HWND dialog) {
    Sub(dialog, 103, "Insert Columns", [&](HWND insert) {
      SetControlText(insert, 131, "0");
      PressButton(insert, IDOK);
    });
    Sub(dialog, 104, "Copy Columns", [&](HWND copy) {
      EXPECT_EQ(ControlTextOf(copy, 101), "2");
      EXPECT_EQ(ControlTextOf(copy, 131), "1");
      SetControlText(copy, 101, "4");
      PressButton(copy, IDOK);
      EXPECT_EQ(LastBox().text, "Source Column must be between 1 and 3");
      SetControlText(copy, 101, "1");
      SetControlText(copy, 103, "0");
      PressButton(copy, IDOK);
      EXPECT_EQ(LastBox().text, "Target Column must be between 1 and 3");
      EXPECT_EQ(LastBox().caption, "Copy Columns");
      SetControlText(copy, 131, "0");
      PressButton(copy, IDOK);
    });
    Sub(dialog, 106, "Delete Columns", [&](HWND remove) {
      EXPECT_EQ(ControlTextOf(remove, 101), "2");
      EXPECT_EQ(ControlTextOf(remove, 102), "2");
      SetControlText(remove, 102, "1");
      PressButton(remove, IDOK);
      EXPECT_EQ(LastBox().text, "Ending Column must be between 2 and 3");
      EXPECT_EQ(LastBox().caption, "Delete Columns");
      PressButton(remove, IDCANCEL);
    });
    EXPECT_EQ(Names(grid), (std::vector<std::string>{"A", "B", "C"}));
    PressButton(dialog, IDOK);
  });
  EXPECT_EQ(OpenColumnSetup(parent_, grid, 1), 1);
  EXPECT_EQ(Boxes().Shown().size(), 3u);
}

TEST_F(ColumnSetup, AGridWithoutColumnsOffersOnlyInsertWhichAppends) {
  HWND grid = MakeGrid();
  driver_.OnDialogCaption("Configure Column 0 of 0", [&](HWND dialog) {
    for (int id : {101, 102, 104, 105, 106, 107, 109, 110, 111, 134, 135})
      EXPECT_FALSE(Enabled(dialog, id)) << id;
    for (int id : {103, IDOK, IDCANCEL, 998}) EXPECT_TRUE(Enabled(dialog, id)) << id;
    Sub(dialog, 103, "Insert Columns", [&](HWND insert) {
      EXPECT_FALSE(Enabled(insert, 103));
      EXPECT_FALSE(Enabled(insert, 104));
      EXPECT_FALSE(Enabled(insert, 105));
      SetControlText(insert, 131, "2");
      PressButton(insert, IDOK);
    });
    EXPECT_EQ(Caption(dialog), "Configure Column 1 of 2");
    EXPECT_TRUE(Enabled(dialog, 104));
    PressButton(dialog, IDOK);
  });
  EXPECT_EQ(OpenColumnSetup(parent_, grid, 0), 1);
  EXPECT_EQ(Send(grid, TSM_GETCOLCOUNT), 2);
}

namespace {

LRESULT NoSnapshot(HWND grid, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == TSM_CLONEDATA) return 0;
  return TesselWndFn(grid, message, wParam, lParam);
}

}  // namespace

TEST_F(ColumnSetup, WithoutASnapshotToUndoByTheDialogDoesNotOpen) {
  HWND grid = ThreeColumns();
  SetWindowLongPtr(grid, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(NoSnapshot));
  EXPECT_EQ(OpenColumnSetup(parent_, grid, 0), 0);
  EXPECT_TRUE(driver_.Opened().empty());
  ASSERT_EQ(Boxes().Shown().size(), 1u);
  EXPECT_EQ(LastBox().text, "Not enough memory to open Column Setup.");
  EXPECT_EQ(LastBox().caption, "Column Setup");
  EXPECT_EQ(LastBox().type & MB_ICONMASK, static_cast<UINT>(MB_ICONSTOP));
  SetWindowLongPtr(grid, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(TesselWndFn));
}
