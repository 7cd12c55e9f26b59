// Saved configurations in compiled form: the reader over resource data bounded by the
// resource's size, SetupTessel's results, and the dialog-wide setups. The data is laid out
// by hand, word by word, as the compiled form puts the fields.
#include "grid/tests/config_fixture.h"

namespace {

void Word(std::vector<uint8_t>& data, uint16_t value) {
  data.push_back(static_cast<uint8_t>(value));
  data.push_back(static_cast<uint8_t>(value >> 8));
}
void Text(std::vector<uint8_t>& data, const char* text) {
  data.insert(data.end(), text, text + std::strlen(text) + 1);
}

/* Version 25, one column, with the extended style 2 and heading row style 2. */
std::vector<uint8_t> OneColumn() {
  std::vector<uint8_t> data;
  for (uint16_t w : {8, 25, 1, 0, 0, 2, 0, 0, 2}) Word(data, w);
  for (uint16_t w : {0x0004, 0x0087, 10, 40, 1, 0, 0, 1, 0x0080, 0}) Word(data, w);
  for (const char* t : {"0.00", "Head", "Nm", "a\tb"}) Text(data, t);
  return data;
}

using ConfigResource = ConfigTest;

}  // namespace

TEST_F(ConfigResource, ACompiledBlockIsAppliedWordByWord) {
  Load();
  RegisterConfig("Orders", OneColumn());
  HWND grid = MakeGrid();
  ASSERT_EQ(SetupTessel(library_, "Orders", grid), 0);
  ASSERT_EQ(Send(grid, TSM_GETCOLCOUNT), 1);
  EXPECT_EQ(GetColumn(grid, 0),
            (Column{4, 0x87, 10, 40, 1, 65536, 0x80, "0.00", "Head", "Nm", "a\tb"}));
  EXPECT_EQ(Send(grid, TSM_GETEXSTYLE), 2);
  Send(grid, TSM_SETCURSOR, 0, TSROW_HEADING);
  EXPECT_EQ(Send(grid, TSM_GETROWSTYLE, TSREF_CURSOR), 2);
  // The module's lookup ignores case, unlike the text reader's.
  HWND other = MakeGrid(TSS_HGRID, "", 201);
  EXPECT_EQ(SetupTessel(library_, "ORDERS", other), 0);
}

TEST_F(ConfigResource, SetupTesselRefusesMissingPieces) {
  Load();
  RegisterConfig("Orders", OneColumn());
  HWND grid = MakeGrid();
  EXPECT_EQ(SetupTessel(library_, "Orders", nullptr), TSERR_NOWINDOW);
  EXPECT_EQ(SetupTessel(nullptr, "Orders", grid), TSERR_NOWINDOW);
  EXPECT_EQ(SetupTessel(library_, "", grid), TSERR_NULLPTR);
  EXPECT_EQ(SetupTessel(library_, nullptr, grid), TSERR_NULLPTR);
  EXPECT_EQ(SetupTessel(library_, "Nowhere", grid), TSERR_NORESOURCE);
}

TEST_F(ConfigResource, EveryCutOfACompiledBlockAnswersUnparsableAndReadsNoFurther) {
  Load();
  std::vector<uint8_t> data = OneColumn();
  HWND grid = MakeGrid();
  for (size_t n = 1; n <= data.size(); ++n) {
    std::string name = "Cut" + std::to_string(n);
    RegisterConfig(name, std::vector<uint8_t>(data.begin(), data.begin() + static_cast<long>(n)));
    EXPECT_EQ(SetupTessel(library_, name.c_str(), grid), n == data.size() ? 0 : 4) << n;
  }
}

TEST_F(ConfigResource, EightBytesThatClaimAColumnGiveUnparsable) {
  Load();
  // "6, 11, 1L": format 6, version 11, then the long 1 as the count 1 and a word 0.
  RegisterConfig("20100Tessel201", {6, 0, 11, 0, 1, 0, 0, 0});
  HWND grid = MakeGrid();
  EXPECT_EQ(SetupTessel(library_, "20100Tessel201", grid), 4);
  EXPECT_EQ(Send(grid, TSM_GETCOLCOUNT), 1);
  std::vector<uint8_t> bad = OneColumn();
  bad[2] = 26;  // version 26
  RegisterConfig("Future", bad);
  Send(grid, TSM_SETCOLNAME, 0, reinterpret_cast<LPARAM>("Kept"));
  EXPECT_EQ(SetupTessel(library_, "Future", grid), 5);
  EXPECT_EQ(GetColumn(grid, 0).name, "Kept");
}

TEST_F(ConfigResource, DialogSetupsFormTheirNamesAndStopAtTheFirstFailure) {
  Load();
  RegisterConfig("PaysTessel201", OneColumn());
  RegisterConfig("PaysTessel202", OneColumn());
  HWND a = MakeGrid(TSS_HGRID, "", 201);
  CreateWindow("static", "", WS_CHILD, 0, 0, 5, 5, parent_, reinterpret_cast<HMENU>(300), nullptr,
               nullptr);
  HWND b = MakeGrid(TSS_HGRID, "", 202);
  EXPECT_EQ(SetupMultiTessel(library_, parent_, "Pays"), 0);
  EXPECT_EQ(Send(a, TSM_GETCOLCOUNT), 1);
  EXPECT_EQ(Send(b, TSM_GETCOLCOUNT), 1);
  MakeGrid(TSS_HGRID, "", 203);
  EXPECT_EQ(SetupMultiTessel(library_, parent_, "Pays"), TSERR_NORESOURCE);
  EXPECT_EQ(SetupMultiTessel(library_, parent_, ""), TSERR_NULLPTR);
  EXPECT_EQ(SetupMultiTessel(library_, nullptr, "Pays"), TSERR_NOWINDOW);
  Send(a, TSM_RESET);
  EXPECT_EQ(SetupDlgTessel(library_, parent_, 201, nullptr, "Pays"), 0);
  EXPECT_EQ(Send(a, TSM_GETCOLCOUNT), 1);
  EXPECT_EQ(SetupDlgTessel(library_, parent_, 201, "PaysTessel202", nullptr), 0);
  EXPECT_EQ(SetupDlgTessel(library_, parent_, 201, "", ""), TSERR_NULLPTR);
  EXPECT_EQ(SetupDlgTessel(library_, nullptr, 201, "X", "Y"), TSERR_NOWINDOW);
}
