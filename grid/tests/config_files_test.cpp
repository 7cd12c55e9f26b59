// Configurations in script files: DlgFileSave and DlgFileLoad over a dialog's grids, and
// the Load and Save dialogs answered by scripted file dialogs and boxes. The file contents
// expected are written out by hand.
#include "grid/config_dialogs.h"
#include "grid/tests/config_fixture.h"
#include "platform/testing/common_dialog_answers.h"

#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

const char kOrdersBlock[] =
    "Orders TESSELCFG LOADONCALL MOVEABLE DISCARDABLE\r\n"
    "BEGIN\r\n"
    "8, 25, 1, 0x00C0, -4, 0x0000, 0x0000, 0x0000, 0x0000\r\n"
    "   0x0004, TST_ZSTRING, 16, 60, 0, 0, 0, 0, 0x0000, 0x0000,\r\n"
    "   \"\\0\",\r\n"
    "   \"File Number\\0\",\r\n"
    "   \"FileNum\\0\",\r\n"
    "   \"\\0\",\r\n"
    "END\r\n"
    "\r\n";

const char kTotalsBlock[] =
    "Totals TESSELCFG LOADONCALL MOVEABLE DISCARDABLE\r\n"
    "BEGIN\r\n"
    "8, 25, 1, 0x00C0, -4, 0x0000, 0x0000, 0x0000, 0x0000\r\n"
    "   0x0080, TST_REAL8, 8, 50, 0, 0, 0, 0, 0x0000, 0x0000,\r\n"
    "   \"#,##0.00\\0\",\r\n"
    "   \"Total\\0\",\r\n"
    "   \"Sum\\0\",\r\n"
    "   \"\\0\",\r\n"
    "END\r\n"
    "\r\n";

class ConfigFiles : public ConfigTest {
 protected:
  void SetUp() override {
    ConfigTest::SetUp();
    Load();
    std::filesystem::create_directories(Host(""));
  }
  std::string Host(const std::string& name) const { return Root() + "/drive_c/DESIGN/" + name; }
  void Write(const std::string& name, const std::string& bytes) {
    std::ofstream(Host(name), std::ios::binary) << bytes;
  }
  std::string Read(const std::string& name) const {
    std::ifstream in(Host(name), std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
  }
  HWND Orders(int id = 101, const char* text = "Orders") {
    HWND grid = MakeGrid(TSS_HGRID | TSS_VGRID, text, id);
    Send(grid, TSM_SETCOLCOUNT, 1);
    SetColumn(grid, 0, {TSCS_EDIT, TST_ZSTRING, 16, 60, 0, 0, 0, "", "File Number", "FileNum", ""});
    return grid;
  }
  HWND Totals(int id = 102, const char* text = "Totals") {
    HWND grid = MakeGrid(TSS_HGRID | TSS_VGRID, text, id);
    Send(grid, TSM_SETCOLCOUNT, 1);
    SetColumn(grid, 0, {TSCS_RIGHT, TST_REAL8, 8, 50, 0, 0, 0, "#,##0.00", "Total", "Sum", ""});
    return grid;
  }
  int SaveDialogInto(const std::string& file, int flags = OF_READWRITE) {
    HFILE handle = _lopen(("C:\\DESIGN\\" + file).c_str(), flags);
    EXPECT_NE(handle, HFILE_ERROR);
    int result = DlgFileSave(handle, parent_, "Pay");
    _lclose(handle);
    return result;
  }
  int LoadDialogFrom(const std::string& file) {
    HFILE handle = _lopen(("C:\\DESIGN\\" + file).c_str(), OF_READ);
    int result = DlgFileLoad(handle, parent_, "Pay");
    _lclose(handle);
    return result;
  }
  std::string DialogBlock() const {
    return std::string("\r\n/* Dialog Pay: Control 101 */\r\n") + kOrdersBlock +
           "/* Dialog Pay: Control 102 */\r\n" + kTotalsBlock;
  }
};

}  // namespace

TEST_F(ConfigFiles, DlgFileSaveWritesBeforeAFinalCtrlZAndAfterAnyLastLine) {
  Orders();
  Totals();
  Write("Z.DLG", "SCRIPT\r\n\x1A");
  Write("PLAIN.DLG", "SCRIPT\r\n");
  Write("OPEN.DLG", "SCRIPT END");
  EXPECT_EQ(SaveDialogInto("Z.DLG"), 0);
  EXPECT_EQ(Read("Z.DLG"), "SCRIPT\r\n" + DialogBlock() + "\x1A");
  EXPECT_EQ(SaveDialogInto("PLAIN.DLG"), 0);
  EXPECT_EQ(Read("PLAIN.DLG"), "SCRIPT\r\n" + DialogBlock());
  EXPECT_EQ(SaveDialogInto("OPEN.DLG"), 0);
  EXPECT_EQ(Read("OPEN.DLG"), "SCRIPT END" + DialogBlock());
}

TEST_F(ConfigFiles, AWriteOnlyHandleKeepsTheScriptsLastByte) {
  Orders();
  Totals();
  Write("W.DLG", "SCRIPT;");
  EXPECT_EQ(SaveDialogInto("W.DLG", OF_WRITE), 0);
  EXPECT_EQ(Read("W.DLG"), "SCRIPT;" + DialogBlock());
}

TEST_F(ConfigFiles, ADialogWithoutGridsLeavesTheFileAlone) {
  Write("NONE.DLG", "SCRIPT\r\n\x1A");
  EXPECT_EQ(SaveDialogInto("NONE.DLG"), 0);
  EXPECT_EQ(Read("NONE.DLG"), "SCRIPT\r\n\x1A");
  EXPECT_EQ(LoadDialogFrom("NONE.DLG"), 0);
}

TEST_F(ConfigFiles, NamesAreCleanedOnSaveAndLoadAndUnusableNamesRefused) {
  HWND cust = Orders(101, "Cust. Grid");
  HWND unnamed = Totals(102, "");
  Write("N.DLG", "");
  EXPECT_EQ(SaveDialogInto("N.DLG"), 0);
  std::string file = Read("N.DLG");
  EXPECT_EQ(file.find("Cust. Grid"), std::string::npos);
  EXPECT_NE(file.find("\r\nCustGrid TESSELCFG "), std::string::npos);
  EXPECT_NE(file.find("\r\nTessel102 TESSELCFG "), std::string::npos);
  Send(cust, TSM_RESET);
  Send(unnamed, TSM_RESET);
  EXPECT_EQ(LoadDialogFrom("N.DLG"), 0) << file;
  EXPECT_EQ(GetColumn(cust, 0).name, "FileNum");
  EXPECT_EQ(GetColumn(unnamed, 0).name, "Sum");
  SetWindowText(unnamed, "Net-Total");
  EXPECT_EQ(SaveDialogInto("N.DLG"), TSCFG_BADNAME);
  SetWindowText(unnamed, "2024");
  EXPECT_EQ(LoadDialogFrom("N.DLG"), TSCFG_BADNAME);
}

TEST_F(ConfigFiles, DlgFileLoadFallsBackToTheControlNameAndStopsAtAFailingGrid) {
  HWND orders = MakeGrid(TSS_HGRID, "Orders", 101);
  HWND totals = MakeGrid(TSS_HGRID, "Totals", 102);
  HWND missing = MakeGrid(TSS_HGRID, "Missing", 103);
  HWND after = MakeGrid(TSS_HGRID, "Orders", 104);
  std::string totalsByControl = kTotalsBlock;
  totalsByControl.replace(0, 6, "TotalsTessel102");
  Write("L.DLG", std::string("/* a script */\r\n") + kOrdersBlock + totalsByControl);
  EXPECT_EQ(LoadDialogFrom("L.DLG"), TSCFG_NOTFOUND);
  EXPECT_EQ(GetColumn(orders, 0).name, "FileNum");
  EXPECT_EQ(GetColumn(totals, 0).name, "Sum");
  EXPECT_EQ(Send(missing, TSM_GETCOLCOUNT), 0);
  EXPECT_EQ(Send(after, TSM_GETCOLCOUNT), 0);  // loading stopped at the failing grid
}

class ConfigDialogs : public ConfigFiles {
 protected:
  CommonDialogAnswers files_;
  const MessageBoxRequest& LastBox() { return Boxes().Shown().back(); }
};

TEST_F(ConfigDialogs, SaveIntoANewFileWritesTheBlockAlone) {
  HWND grid = Orders();
  files_.ChooseFiles({"C:\\DESIGN\\ORDERS.DLG"});
  EXPECT_EQ(RunSaveDialog(parent_, grid, "Orders"), 1);
  EXPECT_EQ(Read("ORDERS.DLG"), kOrdersBlock);
  EXPECT_TRUE(Boxes().Shown().empty());
  ASSERT_EQ(files_.FileRequests().size(), 1u);
  const FileDialogRequest& request = files_.FileRequests()[0];
  EXPECT_TRUE(request.save);
  EXPECT_EQ(request.title, "Save Column Configurations");
  EXPECT_EQ(request.defaultExtension, "DLG");
  ASSERT_EQ(request.filters.size(), 2u);
  EXPECT_EQ(request.filters[0], (std::pair<std::string, std::string>{"DLG File (*.dlg)", "*.dlg"}));
  EXPECT_EQ(request.filters[1], (std::pair<std::string, std::string>{"RC File (*.rc)", "*.rc"}));
  EXPECT_EQ(request.flags & (OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_NOREADONLYRETURN),
            static_cast<DWORD>(OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_NOREADONLYRETURN));
  // The next dialog starts from the title of the file chosen last.
  files_.CancelFileDialog();
  EXPECT_EQ(RunLoadDialog(parent_, grid, "Orders"), 0);
  EXPECT_EQ(files_.FileRequests()[1].initialName, "ORDERS.DLG");
  EXPECT_EQ(files_.FileRequests()[1].title, "Load Column Configurations");
}

TEST_F(ConfigDialogs, YesReplacesTheBlockOfTheSameNameInPlace) {
  HWND grid = Orders();
  std::string old = kOrdersBlock;
  old.replace(old.find("File Number"), 11, "Old Heading");
  Write("S.DLG", "TOP\r\n" + old + kTotalsBlock + "\x1A");
  files_.ChooseFiles({"C:\\DESIGN\\S.DLG"});
  Boxes().QueueAnswer(IDYES);
  EXPECT_EQ(RunSaveDialog(parent_, grid, "Orders"), 1);
  EXPECT_EQ(Read("S.DLG"), std::string("TOP\r\n") + kOrdersBlock + kTotalsBlock + "\x1A");
  ASSERT_EQ(Boxes().Shown().size(), 1u);
  EXPECT_EQ(LastBox().caption, "Save Column Configurations");
  EXPECT_EQ(LastBox().text,
            "The file 'S.DLG' already exists. Append to file?\n(Yes appends, No replaces)");
  EXPECT_EQ(LastBox().type, static_cast<UINT>(MB_YESNOCANCEL | MB_ICONQUESTION | MB_DEFBUTTON3));
  // The script still compiles: one block of each name, and the compiler stops at Ctrl-Z.
  std::string script = Host("S.RC");
  std::ofstream(script, std::ios::binary)
      << "#pragma code_page(1252)\r\n#include \"grid/tessel_codes.h\"\r\n"
      << Read("S.DLG").substr(5);
  std::string command =
      std::string(ZRC_PATH) + " --blob " + Host("S.BLOB") + " -I " + SOURCE_ROOT + " " + script;
  EXPECT_EQ(std::system(command.c_str()), 0) << command;
}

TEST_F(ConfigDialogs, YesAppendsBeforeCtrlZAndAfterALineBreakOfItsOwn) {
  HWND grid = Orders();
  Write("A.DLG", "ENDLESS\x1A");
  files_.ChooseFiles({"C:\\DESIGN\\A.DLG"});
  Boxes().QueueAnswer(IDYES);
  EXPECT_EQ(RunSaveDialog(parent_, grid, "Orders"), 1);
  EXPECT_EQ(Read("A.DLG"), std::string("ENDLESS\r\n") + kOrdersBlock + "\x1A");
}

TEST_F(ConfigDialogs, NoReplacesTheFileAndCancelLeavesIt) {
  HWND grid = Orders();
  Write("R.DLG", "SOMETHING ELSE\r\n");
  files_.ChooseFiles({"C:\\DESIGN\\R.DLG"});
  Boxes().QueueAnswer(IDCANCEL);
  EXPECT_EQ(RunSaveDialog(parent_, grid, "Orders"), 0);
  EXPECT_EQ(Read("R.DLG"), "SOMETHING ELSE\r\n");
  files_.ChooseFiles({"C:\\DESIGN\\R.DLG"});
  Boxes().QueueAnswer(IDNO);
  EXPECT_EQ(RunSaveDialog(parent_, grid, "Orders"), 1);
  EXPECT_EQ(Read("R.DLG"), kOrdersBlock);
}

TEST_F(ConfigDialogs, AFileThatCannotBeOpenedIsReportedAndTheDialogRunsAgain) {
  HWND grid = Orders();
  std::filesystem::create_directories(Host("FOLDER.DLG"));
  // A folder is no file: nothing to append to, and it cannot be created.
  files_.ChooseFiles({"C:\\DESIGN\\FOLDER.DLG"});
  files_.CancelFileDialog();
  EXPECT_EQ(RunSaveDialog(parent_, grid, "Orders"), 0);
  ASSERT_EQ(Boxes().Shown().size(), 1u);
  EXPECT_EQ(LastBox().text, "Error Opening File");
  EXPECT_EQ(LastBox().caption, "Save Column Configurations");
  EXPECT_EQ(LastBox().type & MB_ICONMASK, static_cast<UINT>(MB_ICONEXCLAMATION));
  EXPECT_EQ(files_.FileRequests().size(), 2u);
}

TEST_F(ConfigDialogs, LoadReportsEachResultWithItsTextAndAsksAgain) {
  HWND grid = MakeGrid(TSS_HGRID, "", 101);
  std::string bad = kOrdersBlock;
  Write(
      "V.DLG",
      "Orders TESSELCFG\r\nBEGIN\r\n8, 26, 1\r\nEND\r\nCut TESSELCFG\r\nBEGIN\r\n8, 25, 1, 0, 0, 0, 0, 0, 0\r\n");
  const char* path = "C:\\DESIGN\\V.DLG";
  struct Case {
    const char* name;
    std::string text;
  } cases[] = {
      {"Orders", "The 'Orders' resource in C:\\DESIGN\\V.DLG has an incorrect version"},
      {"Cut", "The 'Cut' resource in C:\\DESIGN\\V.DLG could not be parsed"},
      {"Gone", "The 'Gone' resource could not be found in C:\\DESIGN\\V.DLG"},
  };
  for (const Case& c : cases) {
    Boxes().Clear();
    files_.ChooseFiles({path});
    files_.CancelFileDialog();
    EXPECT_EQ(RunLoadDialog(parent_, grid, c.name), 0);
    ASSERT_EQ(Boxes().Shown().size(), 1u);
    EXPECT_EQ(LastBox().text, c.text);
    EXPECT_EQ(LastBox().caption, "Load Column Configurations");
    EXPECT_EQ(LastBox().type, static_cast<UINT>(MB_OK | MB_ICONEXCLAMATION));
  }
  Write("O.DLG", kOrdersBlock);
  files_.ChooseFiles({"C:\\DESIGN\\O.DLG"});
  EXPECT_EQ(RunLoadDialog(parent_, grid, "Orders"), 1);
  EXPECT_EQ(GetColumn(grid, 0).name, "FileNum");
  // The codes of the file-level loader and the writer, shown by the same report.
  Boxes().Clear();
  ReportConfigResult(1, parent_, "Cap", "C:\\BIG.DLG", "X");
  ReportConfigResult(2, parent_, "Cap", "C:\\BIG.DLG", "X");
  ReportConfigResult(0, parent_, "Cap", "C:\\BIG.DLG", "X");
  ASSERT_EQ(Boxes().Shown().size(), 2u);
  EXPECT_EQ(Boxes().Shown()[0].text, "C:\\BIG.DLG is to large to be processed");
  EXPECT_EQ(Boxes().Shown()[1].text, "Not enough memory to parse C:\\BIG.DLG");
}

TEST_F(ConfigDialogs, EmptyAndRefusedNames) {
  HWND grid = Orders(107, "");
  files_.ChooseFiles({"C:\\DESIGN\\E.DLG"});
  EXPECT_EQ(RunSaveDialog(parent_, grid, ""), 1);
  EXPECT_EQ(Read("E.DLG").rfind("Tessel107 TESSELCFG ", 0), 0u);
  files_.ChooseFiles({"C:\\DESIGN\\E.DLG"});
  EXPECT_EQ(RunLoadDialog(parent_, grid, ". ;"), 1);
  files_.ChooseFiles({"C:\\DESIGN\\E.DLG"});
  EXPECT_EQ(RunSaveDialog(parent_, grid, "Net-Total"), 0);
  EXPECT_EQ(LastBox().text,
            "The name 'Net-Total' cannot be used for a resource in C:\\DESIGN\\E.DLG");
  EXPECT_EQ(LastBox().caption, "Save Column Configurations");
  EXPECT_EQ(Read("E.DLG").rfind("Tessel107 TESSELCFG ", 0), 0u);
  std::string longName(91, 'x');
  files_.ChooseFiles({"C:\\DESIGN\\E.DLG"});
  EXPECT_EQ(RunLoadDialog(parent_, grid, longName.c_str()), 0);
  EXPECT_EQ(LastBox().text,
            "The name '" + longName + "' cannot be used for a resource in C:\\DESIGN\\E.DLG");
  EXPECT_EQ(LastBox().caption, "Load Column Configurations");
}
