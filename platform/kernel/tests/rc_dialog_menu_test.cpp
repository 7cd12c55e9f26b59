// Dialog templates, menus and accelerator tables compiled by zrc, read back field by field.
#include "platform/kernel/resource_formats.h"
#include "platform/kernel/resources.h"

#include <gtest/gtest.h>

using namespace resource_format;

namespace {

constexpr DWORD kChildVisible = 0x50000000;

template <typename Parsed, typename Parser>
Parsed Load(LPCSTR name, LPCSTR type, Parser parse) {
  HRSRC found = FindResource(nullptr, name, type);
  EXPECT_NE(found, nullptr);
  Parsed parsed{};
  if (found) {
    EXPECT_TRUE(
        parse(LockResource(LoadResource(nullptr, found)), SizeofResource(nullptr, found), &parsed));
  }
  return parsed;
}

DialogTemplate LoadDialog(int id) {
  return Load<DialogTemplate>(MAKEINTRESOURCE(id), RT_DIALOG, ParseDialogTemplate);
}

}  // namespace

TEST(RcDialog, HeaderCarriesStyleFontClassMenuAndCaption) {
  DialogTemplate dialog = LoadDialog(400);
  EXPECT_TRUE(dialog.extended);
  // DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU, and DS_SETFONT for the FONT line.
  EXPECT_EQ(dialog.style, 0x80000080u | 0x00C00000u | 0x00080000u | 0x40u);
  EXPECT_EQ(dialog.exStyle, 0x400u);
  EXPECT_EQ(dialog.helpId, 77u);
  EXPECT_EQ(dialog.x, 10);
  EXPECT_EQ(dialog.y, 20);
  EXPECT_EQ(dialog.cx, 200);
  EXPECT_EQ(dialog.cy, 120);
  EXPECT_EQ(dialog.caption, "Entry");
  EXPECT_EQ(dialog.pointSize, 8);
  EXPECT_EQ(dialog.weight, 700);
  EXPECT_EQ(dialog.italic, 1);
  EXPECT_EQ(dialog.charset, 0);
  EXPECT_EQ(dialog.faceName, "MS Sans Serif");
  EXPECT_EQ(dialog.windowClass.name, "BorDlg");
  ASSERT_TRUE(dialog.menu.IsOrdinal());
  EXPECT_EQ(dialog.menu.id, 500);
  ASSERT_EQ(dialog.controls.size(), 20u);
}

TEST(RcDialog, GenericControlsKeepEveryField) {
  DialogTemplate dialog = LoadDialog(400);
  const DialogControlTemplate& grid = dialog.controls[2];
  EXPECT_EQ(grid.className, "Tessel");
  EXPECT_EQ(grid.id, 201u);  // IDC_NAME + 100 from the header
  EXPECT_EQ(grid.style, 0x50800044u);
  EXPECT_EQ(grid.exStyle, 0x200u);
  EXPECT_EQ(grid.helpId, 9u);
  EXPECT_EQ(grid.x, 5);
  EXPECT_EQ(grid.y, 20);
  EXPECT_EQ(grid.cx, 190);
  EXPECT_EQ(grid.cy, 60);
  EXPECT_EQ(grid.text.kind, kRefName);
  EXPECT_EQ(grid.text.name, "");
  const DialogControlTemplate& check = dialog.controls[3];
  EXPECT_EQ(check.className, "BUTTON");
  EXPECT_EQ(check.style, 0x40000003u);  // NOT WS_VISIBLE took the default away
  EXPECT_EQ(check.text.name, "Check");
}

TEST(RcDialog, ShortFormsGetThePlatformsDefaultStyles) {
  DialogTemplate dialog = LoadDialog(400);
  struct Expected {
    const char* className;
    DWORD id;
    DWORD style;
  } expected[] = {
      {"STATIC", 0xFFFFFFFF, kChildVisible | 0x00020000},       // LTEXT
      {"EDIT", 101, kChildVisible | 0x00810000 | 0x08 | 0x80},  // EDITTEXT + styles
      {"Tessel", 201, 0x50800044},
      {"BUTTON", 102, 0x40000003},
      {"BUTTON", 1, kChildVisible | 0x00010001},    // DEFPUSHBUTTON
      {"BUTTON", 2, kChildVisible | 0x00020000},    // NOT WS_TABSTOP | WS_GROUP
      {"STATIC", 103, kChildVisible | 0x00020002},  // RTEXT
      {"STATIC", 104, kChildVisible | 0x00020001},  // CTEXT
      {"BUTTON", 105, kChildVisible | 0x00010002},
      {"BUTTON", 106, kChildVisible | 0x00010003},
      {"BUTTON", 107, kChildVisible | 0x00010004},
      {"BUTTON", 108, kChildVisible | 0x00010009},
      {"BUTTON", 109, kChildVisible | 0x00000007},  // GROUPBOX
      {"LISTBOX", 110, kChildVisible | 0x00800001 | 0x2 | 0x00200000},
      {"COMBOBOX", 111, kChildVisible | 0x00010001 | 0x3},
      {"SCROLLBAR", 112, kChildVisible | 0x1},
      {"STATIC", 113, kChildVisible | 0x3},  // ICON
      {"STATIC", 114, kChildVisible | 0x3},
      {"COMBOBOX", 115, kChildVisible | 0x00010000 | 0x2 | 0x100},  // an editable drop-down
      {"COMBOBOX", 116, kChildVisible | 0x00010001},                // CBS_SIMPLE by default
  };
  ASSERT_EQ(dialog.controls.size(), std::size(expected));
  for (size_t i = 0; i < std::size(expected); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(dialog.controls[i].className, expected[i].className);
    EXPECT_EQ(dialog.controls[i].id, expected[i].id);
    EXPECT_EQ(dialog.controls[i].style, expected[i].style);
  }
  EXPECT_EQ(dialog.controls[0].text.name, "&Name:");
  EXPECT_EQ(dialog.controls[1].text.name, "");  // EDITTEXT has no text
  EXPECT_EQ(dialog.controls[16].text.name, "AppIcon");
  EXPECT_EQ(dialog.controls[16].x, 7);
  EXPECT_EQ(dialog.controls[16].cx, 0);
  ASSERT_TRUE(dialog.controls[17].text.IsOrdinal());
  EXPECT_EQ(dialog.controls[17].text.id, 1001);
  EXPECT_EQ(dialog.controls[17].cy, 4);
}

TEST(RcDialog, PlainDialogGetsTheDefaultStyleAndNoFont) {
  DialogTemplate dialog = LoadDialog(401);
  EXPECT_FALSE(dialog.extended);
  EXPECT_EQ(dialog.style, 0x80880000u);  // WS_POPUP | WS_BORDER | WS_SYSMENU
  EXPECT_EQ(dialog.pointSize, 0);
  EXPECT_TRUE(dialog.menu.IsNone());
  EXPECT_TRUE(dialog.windowClass.IsNone());
  ASSERT_EQ(dialog.controls.size(), 1u);
  EXPECT_EQ(dialog.controls[0].style, kChildVisible | 0x00010000u);
}

TEST(RcDialog, DamagedTemplatesAreRefused) {
  HRSRC found = FindResource(nullptr, MAKEINTRESOURCE(400), RT_DIALOG);
  const void* data = LockResource(LoadResource(nullptr, found));
  DWORD size = SizeofResource(nullptr, found);
  DialogTemplate dialog;
  for (DWORD cut : {DWORD{0}, DWORD{10}, DWORD{40}, size / 2, size - 1})
    EXPECT_FALSE(ParseDialogTemplate(data, cut, &dialog)) << cut;
  EXPECT_FALSE(ParseDialogTemplate(nullptr, 100, &dialog));
}

TEST(RcMenu, TreeWithFlagsIdsAndSeparators) {
  auto items =
      Load<std::vector<MenuItemTemplate>>(MAKEINTRESOURCE(500), RT_MENU, ParseMenuTemplate);
  ASSERT_EQ(items.size(), 3u);
  EXPECT_TRUE(items[0].IsPopup());
  EXPECT_EQ(items[0].text, "&File");
  ASSERT_EQ(items[0].items.size(), 3u);
  EXPECT_EQ(items[0].items[0].text, "&Open...\tCtrl+O");
  EXPECT_EQ(items[0].items[0].id, 24332);
  EXPECT_TRUE(items[0].items[1].IsSeparator());
  EXPECT_EQ(items[0].items[2].id, 24310);
  EXPECT_EQ(items[0].items[2].flags, kMenuItemGrayed | kMenuItemChecked);
  EXPECT_EQ(items[1].flags, kMenuItemPopup | kMenuItemHelp);
  ASSERT_EQ(items[1].items.size(), 1u);
  ASSERT_EQ(items[1].items[0].items.size(), 1u);
  const MenuItemTemplate& deep = items[1].items[0].items[0];
  EXPECT_EQ(deep.text, "Deep");
  EXPECT_EQ(deep.id, 7);
  EXPECT_EQ(deep.flags, kMenuItemInactive | kMenuItemMenuBreak);
  EXPECT_FALSE(items[2].IsPopup());
  EXPECT_EQ(items[2].id, 8);
}

TEST(RcMenu, ItemsWithoutAnEndMarkAreRefused) {
  const BYTE unended[] = {0, 0, 0, 0, 0, 0, 5, 0, 'A', 0};  // one item, no end flag
  std::vector<MenuItemTemplate> items;
  EXPECT_FALSE(ParseMenuTemplate(unended, sizeof unended, &items));
}

TEST(RcAccelerators, EntriesThroughLoadAccelerators) {
  HACCEL table = LoadAccelerators(nullptr, MAKEINTRESOURCE(500));
  ASSERT_NE(table, nullptr);
  ASSERT_EQ(CopyAcceleratorTable(table, nullptr, 0), 5);
  ACCEL entries[5];
  ASSERT_EQ(CopyAcceleratorTable(table, entries, 5), 5);
  EXPECT_EQ(entries[0].key, 15);  // "^O"
  EXPECT_EQ(entries[0].fVirt, 0);
  EXPECT_EQ(entries[0].cmd, 24332);
  EXPECT_EQ(entries[1].key, 0x70);  // VK_F1
  EXPECT_EQ(entries[1].fVirt, FVIRTKEY);
  EXPECT_EQ(entries[2].key, 'X');  // virtual keys of letters are capitals
  EXPECT_EQ(entries[2].fVirt, FVIRTKEY | FALT | FSHIFT);
  EXPECT_EQ(entries[3].key, 'a');
  EXPECT_EQ(entries[3].fVirt, FALT);
  EXPECT_EQ(entries[4].key, 0x2E);
  EXPECT_EQ(entries[4].fVirt, FVIRTKEY | FCONTROL | FNOINVERT);
  EXPECT_EQ(CopyAcceleratorTable(table, entries, 2), 2);
  EXPECT_EQ(LoadAccelerators(nullptr, MAKEINTRESOURCE(501)), nullptr);
  EXPECT_EQ(CopyAcceleratorTable(nullptr, entries, 5), 0);
}
