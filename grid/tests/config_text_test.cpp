// Saved configurations in text form: the writer's exact text under both switches, the
// reader's search, versions, tokens and texts, and its behaviour at every cut of a block.
// Expected texts are written by hand from the rules of the text form.
#include "grid/tests/config_fixture.h"

#include <string>

namespace {

const char kSampleText[] =
    "CustGrid TESSELCFG LOADONCALL MOVEABLE DISCARDABLE\r\n"
    "BEGIN\r\n"
    "8, 25, 2, 0x4044, 40, 0x0000, 0x0000, 0x0000, 0x0000\r\n"
    "   TSCS_EDIT, TST_ZSTRING, 16, 60, 0, 0, 0, 0, 0x0000, 0x0000,\r\n"
    "   \"\\0\",\r\n"
    "   \"File Number\\0\",\r\n"
    "   \"FileNum\\0\",\r\n"
    "   \"\\0\",\r\n"
    "   TSCS_EDIT | TSCS_LEFT | TSCS_RIGHT, TST_REAL8, 8, 50, 0, 0, 0, 0, 0x0000, 0x0000,\r\n"
    "   \"\\0\",\r\n"
    "   \"Amount\\0\",\r\n"
    "   \"Amount\\0\",\r\n"
    "   \"\\0\",\r\n"
    "END\r\n"
    "\r\n";

/* A version-25 block of one column with the given name, heading and width. */
std::string Block(const std::string& name, const std::string& heading, int width = 30) {
  return name +
         " TESSELCFG LOADONCALL MOVEABLE DISCARDABLE\r\nBEGIN\r\n8, 25, 1, 0, 0, 0, 0, 0, 0\r\n"
         "   TSCS_EDIT, TST_INT2, 2, " +
         std::to_string(width) +
         ", 0, 0, 0, 0, 0, 0,\r\n"
         "   \"\\0\",\r\n   \"" +
         heading + "\\0\",\r\n   \"N\\0\",\r\n   \"\\0\",\r\nEND\r\n\r\n";
}

class ConfigText : public ConfigTest {
 protected:
  HWND MakeSampleGrid() {
    HWND grid = MakeGrid(TSS_ROWNUMBERS | TSS_HGRID | TSS_EDIT);
    Send(grid, TSM_SETCOLCOUNT, 2);
    SetColumn(grid, 0, {TSCS_EDIT, TST_ZSTRING, 16, 60, 0, 0, 0, "", "File Number", "FileNum", ""});
    SetColumn(grid, 1, {0x0084, TST_REAL8, 8, 50, 0, 0, 0, "", "Amount", "Amount", ""});
    Send(grid, TSM_SETCOLWIDTH, TSCOL_ROWLABEL, 40);
    return grid;
  }
};

}  // namespace

TEST_F(ConfigText, TheSampleGridIsWrittenWithNamesExactlyAsShown) {
  Load("Y");
  int result = -1;
  EXPECT_EQ(SaveText(MakeSampleGrid(), "CustGrid", &result), kSampleText);
  EXPECT_EQ(result, 0);
}

TEST_F(ConfigText, WithoutSwitchesFlagsAreHexAndWithoutPrivStyleTheStyleIsZero) {
  // GetVersion answers 4.0 here, so names default to off.
  Load("", "N");
  std::string text = SaveText(MakeSampleGrid(), "CustGrid");
  EXPECT_NE(text.find("\r\n8, 25, 2, 0, 40, 0x0000, 0x0000, 0x0000, 0x0000\r\n"), std::string::npos)
      << text;
  EXPECT_NE(text.find("\r\n   0x0004, TST_ZSTRING, 16, 60, 0, 0, 0, 0, 0x0000, 0x0000,\r\n"),
            std::string::npos);
  EXPECT_NE(text.find("\r\n   0x0084, TST_REAL8, 8, 50, "), std::string::npos);
}

TEST_F(ConfigText, TextsValuesAndUnnamedBitsRoundTripAsDocumented) {
  Load("Y");
  HWND grid = MakeGrid();
  Send(grid, TSM_SETCOLCOUNT, 2);
  std::string list;
  for (int i = 0; i < 12; ++i)
    list += (i ? "\t" : "") + std::string("Item number ") + std::to_string(i);
  ASSERT_GT(list.size(), 100u);
  Column first{
      0x0014,  TST_INT4, 4, 44, 0xFFFFFFFFu, 70000, 0x0080, "0", "Say \"hi\"\\\tA\r\nB\xE9",
      "First", list};
  Column second{0x0014, 0x0099, 4, 40, 0, 0, 0, "", "", "", ""};
  SetColumn(grid, 0, first);
  Send(grid, TSM_SETCOLTYPE, 1, 0);
  std::string text = SaveText(grid, "Rich");
  SCOPED_TRACE(text);
  // Hand-escaped: quotes doubled, backslash doubled, TAB, CR and LF as escapes, 0xE9 as is.
  EXPECT_NE(text.find("   \"Say \"\"hi\"\"\\\\\\tA\\r\\nB\xE9\\0\",\r\n"), std::string::npos)
      << text;
  // Entries of value 0 are taken whenever they are reached while bits remain.
  EXPECT_NE(
      text.find(
          "   TSCS_EDIT | TSCS_LEFT | TSCS_HEADLEFT | 0x0010, TST_INT4, 4, 44, 65535, 65535, 4464, 1, 0x0080, 0x0000,\r\n"),
      std::string::npos);
  // A column of type 0 is written as a one-byte integer.
  EXPECT_NE(text.find(", TST_INT1, 1, "), std::string::npos);
  HWND copy = MakeGrid(TSS_HGRID, "", 201);
  ASSERT_EQ(LoadText(copy, text, "Rich"), 0);
  Column expected = first;
  expected.flags = TSCS_EDIT;  // the unnamed bit is lost through names
  EXPECT_EQ(GetColumn(copy, 0), expected);
  EXPECT_EQ(static_cast<int32_t>(GetColumn(copy, 0).value1), -1);
  (void)second;
}

TEST_F(ConfigText, ThroughNumbersTheUnnamedBitIsKept) {
  Load("N");
  HWND grid = MakeGrid();
  Send(grid, TSM_SETCOLCOUNT, 1);
  SetColumn(grid, 0, {0x0014, TST_INT2, 2, 30, 0, 0, 0, "", "H", "N", ""});
  std::string text = SaveText(grid, "Bits");
  EXPECT_NE(text.find("   0x0014, TST_INT2, 2, 30,"), std::string::npos);
  HWND copy = MakeGrid(TSS_HGRID, "", 201);
  ASSERT_EQ(LoadText(copy, text, "Bits"), 0);
  EXPECT_EQ(GetColumn(copy, 0).flags, 0x0014);
}

TEST_F(ConfigText, NamesMatchOnlyAsWholeResourceNames) {
  Load();
  HWND grid = MakeGrid();
  std::string text =
      Block("MyGrid", "Mine") + "  " + Block("Grid", "Ours") + Block("XBEGINX", "Begun");
  ASSERT_EQ(LoadText(grid, text, "Grid"), 0);
  EXPECT_EQ(GetColumn(grid, 0).heading, "Ours");
  ASSERT_EQ(LoadText(grid, text, "XBEGINX"), 0);
  EXPECT_EQ(GetColumn(grid, 0).heading, "Begun");
  ASSERT_EQ(LoadText(grid, text, ""), 0);
  EXPECT_EQ(GetColumn(grid, 0).heading, "Mine");
  EXPECT_EQ(LoadText(grid, text, "grid"), 3);  // case counts in text
  EXPECT_EQ(LoadText(grid, text, "Gri"), 3);
  std::string longName(91, 'L');
  EXPECT_EQ(LoadText(grid, Block(longName, "Long"), longName.c_str()), 3);
  std::string ninety(90, 'L');
  EXPECT_EQ(LoadText(grid, Block(ninety, "Long"), ninety.c_str()), 0);
}

TEST_F(ConfigText, VersionAndFormatPairsAreAcceptedOrRefusedBeforeAnythingChanges) {
  Load();
  HWND grid = MakeGrid();
  Send(grid, TSM_SETCOLCOUNT, 1);
  SetColumn(grid, 0, {0, TST_INT2, 2, 30, 0, 0, 0, "", "Kept", "", ""});
  struct Pair {
    int format, version, result;
  } pairs[] = {{6, 11, 0}, {8, 11, 5}, {8, 12, 0}, {6, 13, 5}, {3, 14, 0},
               {8, 24, 0}, {8, 25, 0}, {8, 26, 5}, {8, 10, 5}};
  for (const Pair& p : pairs) {
    std::string head = std::to_string(p.format) + ", " + std::to_string(p.version) + ", 1";
    if (p.version >= 12) head += ", 0";
    if (p.version == 25) head += ", 0, 0, 0, 0, 0";
    std::string column = p.version < 25 ? "   0, TSCS_EDIT, TST_INT2, 2, 40, 0, 0, 0, 0,\r\n"
                                        : "   TSCS_EDIT, TST_INT2, 2, 40, 0, 0, 0, 0, 0, 0,\r\n";
    std::string text = "V TESSELCFG\r\nBEGIN\r\n" + head + "\r\n" + column +
                       "   \"\\0\",\r\n   \"New\\0\",\r\n   \"\\0\",\r\n";
    if (p.version == 25) text += "   \"\\0\",\r\n";
    text += "END\r\n";
    SCOPED_TRACE(text);
    EXPECT_EQ(LoadText(grid, text, "V"), p.result);
    EXPECT_EQ(GetColumn(grid, 0).heading, p.result == 5 ? "Kept" : "New");
    if (p.result == 5) continue;
    // Widths of versions 11 and 12 are pixels: 40 pixels at base unit 8 are 20 units.
    int units = LOWORD(GetDialogBaseUnits());
    EXPECT_EQ(GetColumn(grid, 0).width, p.version < 13 ? 40 * 4 / units : 40);
    SetColumn(grid, 0, {0, TST_INT2, 2, 30, 0, 0, 0, "", "Kept", "", ""});
  }
}

TEST_F(ConfigText, AVersion24BlockGivesNoEditStyleAndKeepsTheRowLabelSettingsAlone) {
  Load();
  HWND grid = MakeGrid(TSS_ROWNUMBERS | TSS_HGRID);
  HWND fresh = MakeGrid(TSS_ROWNUMBERS | TSS_HGRID, "", 201);
  Send(grid, TSM_SETEXSTYLE, 0, 0x0041);
  Send(grid, TSM_SETCOLWIDTH, TSCOL_ROWLABEL, 55);
  std::string text =
      "Old TESSELCFG\r\nBEGIN\r\n8, 24, 1, 0\r\n   0, 0x0004, TST_ZSTRING, 010, 40, 1, 0, 0, 0,\r\n"
      "   \"\\0\",\r\n   \"Old\\0\",\r\n   \"OldName\\0\",\r\n";  // no END line
  ASSERT_EQ(LoadText(grid, text, "Old"), 0);
  Column c = GetColumn(grid, 0);
  EXPECT_EQ(c.length, 8);  // "010" is octal here, unlike the resource compiler's ten
  EXPECT_EQ(c.editStyle, 0u);
  EXPECT_EQ(c.name, "OldName");
  EXPECT_EQ(Send(grid, TSM_GETEXSTYLE), 0x0041);
  // Width 0 is sent, which the grid takes as its default row-label width.
  EXPECT_EQ(Send(grid, TSM_GETCOLWIDTH, TSCOL_ROWLABEL),
            Send(fresh, TSM_GETCOLWIDTH, TSCOL_ROWLABEL));
}

TEST_F(ConfigText, AHeaderCountAboveItsEntriesTakesNothingFromTheNextBlock) {
  Load();
  HWND grid = MakeGrid();
  std::string text =
      "Short TESSELCFG\r\nBEGIN\r\n8, 25, 3, 0, 0, 0, 0, 0, 0\r\n   TSCS_EDIT, TST_INT2, 2, 30, 0, 0, 0, 0, 0, 0,\r\n"
      "   \"\\0\",\r\n   \"One\\0\",\r\n   \"\\0\",\r\n   \"\\0\",\r\nEND\r\n\r\n" +
      Block("Next", "Stranger") + Block("Last", "Other");
  EXPECT_EQ(LoadText(grid, text, "Short"), 4);
  ASSERT_EQ(Send(grid, TSM_GETCOLCOUNT), 3);
  EXPECT_EQ(GetColumn(grid, 0).heading, "One");
  EXPECT_EQ(GetColumn(grid, 1).heading, "");
  EXPECT_EQ(GetColumn(grid, 1).name, "");
}

TEST_F(ConfigText, OversizedTextsAndTokensAreCutAndTheParseStaysAligned) {
  Load();
  HWND grid = MakeGrid();
  std::string heading(250, 'h'), name(150, 'n'), format(130, 'f'), list(300, 'l');
  std::string flags;
  while (flags.size() < 260) flags += "TSCS_EDIT | ";
  flags += "TSCS_RIGHT";  // beyond the token's buffer: lost
  std::string number = "0x" + std::string(120, '0') + "7";
  std::string text =
      "Big TESSELCFG\r\nBEGIN\r\n8, 25, 2, 0, 0, 0, 0, 0, 0\r\n   " + flags +
      ", TST_INT4, 4, 30, " + number + ", 0, 0, 0, 0, 0,\r\n   \"" + format + "\\0\",\r\n   \"" +
      heading + "\\0\",\r\n   \"" + name + "\\0\",\r\n   \"" + list + "\\0\",\r\n" +
      "   TSCS_FIXED, TST_INT2, 2, 31, 5, 0, 0, 0, 0, 0,\r\n   \"\\0\",\r\n   \"Two\\0\",\r\n   \"Second\\0\",\r\n"
      "   \"a\\tb\\0\",\r\nEND\r\n";
  ASSERT_EQ(LoadText(grid, text, "Big"), 0);
  Column one = GetColumn(grid, 0);
  EXPECT_EQ(one.flags, TSCS_EDIT);
  EXPECT_EQ(one.type, TST_INT4);
  EXPECT_EQ(one.value1, 0u);
  EXPECT_EQ(one.heading, std::string(199, 'h'));
  EXPECT_EQ(one.name, std::string(99, 'n'));
  EXPECT_EQ(one.format, std::string(119, 'f'));
  EXPECT_EQ(one.listItems, list);  // list items have no cap
  Column two = GetColumn(grid, 1);
  EXPECT_EQ(two, (Column{TSCS_FIXED, TST_INT2, 2, 31, 5, 0, 0, "", "Two", "Second", "a\tb"}));
}

TEST_F(ConfigText, AGridWithoutColumnsSavesCountZeroAndLoadsAsUnparsable) {
  Load();
  HWND empty = MakeGrid();
  std::string text = SaveText(empty, "Empty");
  EXPECT_NE(text.find("\r\n8, 25, 0, "), std::string::npos);
  EXPECT_NE(text.find("\r\nEND\r\n\r\n"), std::string::npos);
  HWND grid = MakeGrid();
  Send(grid, TSM_SETCOLCOUNT, 2);
  EXPECT_EQ(LoadText(grid, text, "Empty"), 4);
  EXPECT_EQ(Send(grid, TSM_GETCOLCOUNT), 0);  // reset before the count was read
}

namespace {

/* The grid refuses to describe its second column, as a damaged grid would. */
LRESULT RefusingSecondColumn(HWND grid, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == TSM_GETCOLDEFEX && wParam == 1) return TSERR_BADCOL;
  return TesselWndFn(grid, message, wParam, lParam);
}

}  // namespace

TEST_F(ConfigText, AColumnThatCannotBeReadFailsTheSaveInsteadOfShorteningIt) {
  Load();
  HWND grid = MakeSampleGrid();
  SetWindowLongPtr(grid, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(RefusingSecondColumn));
  int result = 0;
  std::string text = SaveText(grid, "CustGrid", &result);
  EXPECT_EQ(result, 2);
  EXPECT_EQ(text.find("8, 25, 2"), std::string::npos);
  SetWindowLongPtr(grid, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(TesselWndFn));
}

TEST_F(ConfigText, EveryCutOfABlockAnswersDoneOrUnparsable) {
  Load("Y");
  std::string text = SaveText(MakeSampleGrid(), "CustGrid");
  HWND grid = MakeGrid();
  size_t keyEnd = text.find("TESSELCFG") + 9;
  for (size_t n = 1; n <= text.size(); ++n) {
    int result = LoadText(grid, text.substr(0, n), "CustGrid");
    if (n < keyEnd) EXPECT_EQ(result, 3) << n;
    else EXPECT_TRUE(result == 0 || result == 4) << n << " gives " << result;
  }
  // Cut after the last list item's closing quote, every column is there: done.
  size_t lastText = text.rfind("\\0\",") + 4;
  EXPECT_EQ(LoadText(grid, text.substr(0, lastText), "CustGrid"), 0) << text.substr(0, lastText);
  // Cut inside the last text, after its backslash: unparsable.
  EXPECT_EQ(LoadText(grid, text.substr(0, lastText - 3), "CustGrid"), 4);
}
