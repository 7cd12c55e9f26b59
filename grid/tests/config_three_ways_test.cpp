// One configuration three ways: a grid holding every type and every flag bit is saved as
// text, loaded from that text into a second grid, and compiled by zrc (with the 1252 code
// page and the grid's header) and set up into a third. They agree but for the documented
// difference: bits without a name are lost through names and kept through numbers. One
// case per pair of win.ini switches, each in its own process.
#include "grid/tests/config_fixture.h"

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <unistd.h>

namespace {

const uint16_t kTypes[24] = {
    TST_SQLVARCHAR, TST_SQLCHAR,     TST_SQLINT1, TST_SQLBIT,  TST_SQLINT2,  TST_SQLINT4,
    TST_SQLMONEY,   TST_SQLDATETIME, TST_SQLFLT8, TST_INT1,    TST_INT2,     TST_INT4,
    TST_REAL4,      TST_REAL8,       TST_CHAR,    TST_ZSTRING, TST_FILEDATE, TST_FILETIME,
    TST_CDATETIME,  TST_UINT1,       TST_UINT2,   TST_UINT4,   TST_CHECKBOX, TST_BITMAP};
// Every bit of the flags word over the columns; 0x0010 has no name.
const uint16_t kFlags[6] = {0x0001 | 0x0004 | 0x0040 | 0x0100,
                            0x0002 | 0x0008 | 0x0080 | 0x0200 | 0x0010,
                            0x0020 | 0x2000 | 0x0800,
                            0x4000 | 0x8000 | 0x0400,
                            0x1000,
                            0x0010};

struct Header {
  LRESULT style, exStyle, labelFlags, labelWidth, headingStyle;
  bool operator==(const Header&) const = default;
};

class ThreeWays : public ConfigTest {
 protected:
  HWND Designed() {
    HWND grid = MakeGrid(TSS_ROWNUMBERS | TSS_HGRID | TSS_VGRID | TSS_RESIZE, "Designed", 201);
    Send(grid, TSM_SETCOLCOUNT, 24);
    std::string list;
    for (int i = 0; i < 9; ++i)
      list += (i ? "\t" : "") + std::string("List item ") + std::to_string(i);
    for (int c = 0; c < 24; ++c) {
      Column column{kFlags[c % 6],
                    kTypes[c],
                    static_cast<uint16_t>(c % 2 ? 8 : 4),
                    static_cast<uint16_t>(30 + c),
                    c == 0 ? 0xFFFFFFFFu : 0u,
                    c == 0 ? 70000u : static_cast<uint32_t>(c),
                    c == 1 ? 0x0088u : 0u,
                    c == 2 ? "#,##0.00" : "",
                    c == 0 ? "Say \"so\" \\ \tTab\r\nCaf\xE9" : "H" + std::to_string(c),
                    "N" + std::to_string(c),
                    c == 0 ? list : ""};
      SetColumn(grid, c, column);
    }
    Send(grid, TSM_SETCOLWIDTH, TSCOL_ROWLABEL, 30);
    Send(grid, TSM_SETEXSTYLE, 0, 0x0241);
    Send(grid, TSM_SETCOLSTYLE, TSCOL_ROWLABEL, 1);
    Send(grid, TSM_SETCURSOR, 0, TSROW_HEADING);
    Send(grid, TSM_SETROWSTYLE, TSREF_CURSOR, 2);
    return grid;
  }
  static Header HeaderOf(HWND grid) {
    Send(grid, TSM_SETCURSOR, 0, TSROW_HEADING);
    return {Send(grid, TSM_GETSTYLE) & 0xFFFF, Send(grid, TSM_GETEXSTYLE),
            Send(grid, TSM_GETCOLSTYLE, TSCOL_ROWLABEL),
            Send(grid, TSM_GETCOLWIDTH, TSCOL_ROWLABEL), Send(grid, TSM_GETROWSTYLE, TSREF_CURSOR)};
  }
  /* The text compiled by zrc at test time and registered under the library's module. */
  void Compile(const std::string& text) {
    std::string base = Root() + "/saved" + std::to_string(getpid());
    std::ofstream(base + ".rc", std::ios::binary)
        << "#pragma code_page(1252)\r\n#include \"grid/tessel_codes.h\"\r\n"
        << text;
    std::string command =
        std::string(ZRC_PATH) + " --blob " + base + ".blob -I " + SOURCE_ROOT + " " + base + ".rc";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
    std::ifstream in(base + ".blob", std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    std::string blob = bytes.str();
    blobs_.emplace_back(blob.begin(), blob.end());  // kept alive until the fixture unregisters it
    ASSERT_TRUE(RegisterModuleResources(library_, blobs_.back().data(), blobs_.back().size()));
  }
  void Run(bool names, bool privStyle) {
    HWND designed = Designed();
    std::string text = SaveText(designed, "Orders");
    HWND fromText = MakeGrid(TSS_ROWNUMBERS, "", 202);
    ASSERT_EQ(LoadText(fromText, text, "Orders"), 0);
    Compile(text);
    HWND compiled = MakeGrid(TSS_ROWNUMBERS, "", 203);
    ASSERT_EQ(SetupTessel(library_, "Orders", compiled), 0);
    std::vector<Column> expected = Columns(designed);
    std::vector<Column> compiledColumns = Columns(compiled);
    EXPECT_EQ(compiledColumns, expected) << "numbers keep every bit";
    if (names)
      for (Column& c : expected) c.flags &= static_cast<uint16_t>(~0x0010);
    EXPECT_EQ(Columns(fromText), expected);
    Header header = HeaderOf(designed);
    if (!privStyle)
      header.style = Send(fromText, TSM_GETSTYLE) & 0xFFFF;  // style 0: the grid keeps its own
    EXPECT_EQ(HeaderOf(fromText), header);
    if (!privStyle) header.style = Send(compiled, TSM_GETSTYLE) & 0xFFFF;
    EXPECT_EQ(HeaderOf(compiled), header);
    EXPECT_EQ(text.find("#include"), std::string::npos) << "the writer writes no include";
  }
};

}  // namespace

TEST_F(ThreeWays, NamesAndPrivateStyle) {
  Load("Y", "Y");
  Run(true, true);
}
TEST_F(ThreeWays, NamesWithoutPrivateStyle) {
  Load("Y", "N");
  Run(true, false);
}
TEST_F(ThreeWays, NumbersAndPrivateStyle) {
  Load("N", "Y");
  Run(false, true);
}
TEST_F(ThreeWays, NumbersWithoutPrivateStyle) {
  Load("N", "N");
  Run(false, false);
}
