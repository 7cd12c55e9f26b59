/*
** The 1099 export: selection by year, dates and file numbers (a reversed range, bounds with
** ',' and " OR "), each field of the line byte for byte, the seller's name split, missing
** records read as blanks and never inserted, refusals that leave an earlier export alone,
** a failed query, a write error, browsing and the default file name.
*/
#include "accounting/export_1099.h"
#include "accounting/person_name.h"
#include "accounting/report_commands.h"
#include "accounting_tables.h"
#include "platform/framework/application.h"
#include "platform/kernel/paths.h"
#include "platform/testing/common_dialog_answers.h"
#include "platform/testing/dialog_driver.h"
#include "platform/user/winuser.h"
#include "tableaccess/px_globals.h"
#include "tableaccess/px_table.h"
#include "tableaccess/value_forms.h"

#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <sstream>
#include <string>

namespace {

constexpr const char kExportPath[] = "C:\\ZARNE\\OUT\\Tax1099.txt";

struct Closing {
  std::string file;
  LONG closeDate;
  double a101, a106, a107;
  std::string sellerName, sig1, street, city, state, zip;
  std::string taxId;
  std::string pStreet, pCity, pState, pZip;
};

class Export1099Test : public AccountingTablesTest {
 protected:
  void SetUp() override {
    AccountingTablesTest::SetUp();
    application_ =
        std::make_unique<TApplication>("Zarne");  // boxes without a caption take its name
    ASSERT_TRUE(MakeDirectoryPath("C:\\ZARNE\\OUT"));
  }
  void TearDown() override {
    gFailExportQueryForTest = false;
    application_.reset();
    AccountingTablesTest::TearDown();
  }
  std::unique_ptr<TApplication> application_;

  static void PutClosing(const Closing& c, bool seller = true, bool agent = true,
                         bool property = true) {
    TPXRecord summary(gTables[kSummary1Table], true);
    summary.Clear();
    summary.SetString(1, c.file.c_str());
    summary.SetLong(2, c.closeDate);
    summary.SetDouble(3, c.a101);
    summary.SetDouble(19, c.a106);
    summary.SetDouble(24, c.a107);
    ASSERT_TRUE(summary.Insert());
    if (seller) {
      TPXRecord r(gTables[kSellerTable], true);
      r.Clear();
      r.SetString(1, c.file.c_str());
      r.SetString(2, c.sellerName.c_str());
      r.SetString(4, c.sig1.c_str());
      r.SetString(8, c.street.c_str());
      r.SetString(9, c.city.c_str());
      r.SetString(10, c.state.c_str());
      r.SetString(11, c.zip.c_str());
      ASSERT_TRUE(r.Insert());
    }
    if (agent) {
      TPXRecord r(gTables[kSagentTable], true);
      r.Clear();
      r.SetString(1, c.file.c_str());
      r.SetString(8, c.taxId.c_str());
      ASSERT_TRUE(r.Insert());
    }
    if (property) {
      TPXRecord r(gTables[kPropertyTable], true);
      r.Clear();
      r.SetString(1, c.file.c_str());
      r.SetString(2, c.pStreet.c_str());
      r.SetString(3, c.pCity.c_str());
      r.SetString(4, c.pState.c_str());
      r.SetString(5, c.pZip.c_str());
      ASSERT_TRUE(r.Insert());
    }
  }

  void PutSample() {
    PutClosing({"1001", DateOf(3, 15, 1998), 250000.00, 1200.50, 300.25, "John A. Smith Jr.", "",
                "12 Oak St", "Springfield", "IL", "62701", "123-45-6789", "99 Elm Rd",
                "Shelbyville", "IL", "62565"});
    PutClosing({"1002", DateOf(7, 1, 2001), -1500.50, 0, 10, "Acme Holdings LLC", "Jane Doe",
                "1 Main", "Capital", "TX", "73301-0001", "98-7654321", "", "", "", ""});
    PutClosing({"1003", DateOf(12, 31, 1998), 80000, 0, 0, "Cher", "", "", "", "", "", "", "5 Pine",
                "Ogden", "UT", "84401"});
    PutClosing({"1004", DateOf(1, 1, 1999), 1, 2, 3, "Out Of Range", "", "", "", "", "", "", "", "",
                "", ""});
  }

  /* Runs the export command; `fill` sets the dialog, then OK; a dialog still open after OK
     is cancelled. Answers whether OK closed it. */
  bool Export(DialogDriver::Script fill) {
    bool closedByOk = false;
    DialogDriver driver;
    driver.OnDialog(20990, [&](HWND dialog) {
      SetControlText(dialog, 496, kExportPath);
      fill(dialog);
      PressButton(dialog, IDOK);
      closedByOk = !IsWindow(dialog) || !IsWindowVisible(dialog);
      if (!closedByOk) PressButton(dialog, IDCANCEL);
    });
    RunExport1099(nullptr);
    EXPECT_EQ(0u, driver.Pending());
    return closedByOk;
  }

  static std::string ReadHostFile(const std::string& windowsPath) {
    std::ifstream in(HostPathFromWindowsPath(windowsPath.c_str()), std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
  }
  static void WriteHostFile(const std::string& windowsPath, const std::string& bytes) {
    std::ofstream out(HostPathFromWindowsPath(windowsPath.c_str()), std::ios::binary);
    out << bytes;
  }
  static DialogDriver::Script ByYear(const std::string& year) {
    return [year](HWND dialog) { SetControlText(dialog, 397, year); };
  }
  static DialogDriver::Script ByFiles(const std::string& first, const std::string& last) {
    return [first, last](HWND dialog) {
      PressButton(dialog, 300);
      SetControlText(dialog, 301, first);
      SetControlText(dialog, 302, last);
    };
  }
  static DialogDriver::Script ByDates(const std::string& first, const std::string& last) {
    return [first, last](HWND dialog) {
      PressButton(dialog, 400);
      SetControlText(dialog, 401, first);
      SetControlText(dialog, 402, last);
    };
  }
};

// The lines of the sample, written out by hand from the records above.
const std::string kLine1001 =
    "Smith\tJohn A Jr\t123-45-6789\t12 Oak St\tSpringfield\tIL\t62701\t1001\t03/15/98\t250000.00\t"
    "99 Elm Rd Shelbyville IL  62565\t1500.75\r\n";
const std::string kLine1002 =
    "Acme Holdings LLC\t\t98-7654321\t1 Main\tCapital\tTX\t73301-0001\t1002\t07/01/2001\t-1500.50\t"
    "    \t10.00\r\n";
const std::string kLine1003 =
    "Cher\t\t\t\t\t\t\t1003\t12/31/98\t80000.00\t5 Pine Ogden UT  84401\t0.00\r\n";

TEST_F(Export1099Test, TwoDigitYearExportsThatYearsFilesInFileOrder) {
  PutSample();
  EXPECT_TRUE(Export(ByYear("98")));
  EXPECT_EQ(kLine1001 + kLine1003, ReadHostFile(kExportPath));
  EXPECT_TRUE(Shown().empty()) << Shown()[0].text;
}

TEST_F(Export1099Test, FourDigitYearAndADateRange) {
  PutSample();
  EXPECT_TRUE(Export(ByYear("2001")));
  EXPECT_EQ(kLine1002, ReadHostFile(kExportPath));
  EXPECT_TRUE(Export(ByDates("12/31/98", "07/01/01")));  // both ends inclusive
  EXPECT_EQ(kLine1002 + kLine1003 + "Range\tOut Of\t\t\t\t\t\t1004\t01/01/99\t1.00\t    \t5.00\r\n",
            ReadHostFile(kExportPath));
}

TEST_F(Export1099Test, ReversedFileRangeIsSwitchedOnYesAndWritesNothingOnNo) {
  PutSample();
  WriteHostFile(kExportPath, "earlier export\r\n");
  Boxes().QueueAnswer(IDNO);
  EXPECT_FALSE(Export(ByFiles("1003", "1002")));
  ASSERT_EQ(1u, Shown().size());
  EXPECT_EQ("File range is reversed.  Switch first and last?", Shown()[0].text);
  EXPECT_EQ("", Shown()[0].caption);
  EXPECT_EQ("earlier export\r\n", ReadHostFile(kExportPath));

  Boxes().QueueAnswer(IDYES);
  EXPECT_TRUE(Export(ByFiles("1003", "1002")));
  EXPECT_EQ(kLine1002 + kLine1003, ReadHostFile(kExportPath));
}

TEST_F(Export1099Test, FileBoundsWithCommaAndOrSelectExactlyTheirRange) {
  // Byte order: "A" < "A OR B" < "A,1" < "B,2" < "C".
  for (const char* file : {"A", "A OR B", "A,1", "B,2", "C"})
    PutClosing({file, DateOf(6, 1, 2005), 1, 0, 0, "Solo", "", "", "", "", "", "", "", "", "", ""});
  EXPECT_TRUE(Export(ByFiles("A OR B", "B,2")));
  const std::string tail = "\t06/01/2005\t1.00\t    \t0.00\r\n";
  EXPECT_EQ("Solo\t\t\t\t\t\t\tA OR B" + tail + "Solo\t\t\t\t\t\t\tA,1" + tail +
                "Solo\t\t\t\t\t\t\tB,2" + tail,
            ReadHostFile(kExportPath));
}

TEST_F(Export1099Test, StoredTabsAndLineBreaksBecomeBlanks) {
  PutClosing({"2001", DateOf(2, 2, 2002), 5, 0, 0, "Ann\tLee", "", "1\r\n2 St", "Odd\x0BTown", "",
              "", "", "a\tb", "", "", ""});
  EXPECT_TRUE(Export(ByYear("02")));
  EXPECT_EQ("Lee\tAnn\t\t1  2 St\tOdd Town\t\t\t2001\t02/02/2002\t5.00\ta b    \t0.00\r\n",
            ReadHostFile(kExportPath));
}

TEST_F(Export1099Test, MissingRecordsReadAsBlanksAndNothingIsInserted) {
  PutClosing({"3001", DateOf(4, 4, 2004), 7.5, 0, 0, "X", "", "", "", "", "", "T", "", "", "", ""},
             false, false, false);
  EXPECT_TRUE(Export(ByYear("2004")));
  EXPECT_EQ("\t\t\t\t\t\t\t3001\t04/04/2004\t7.50\t    \t0.00\r\n", ReadHostFile(kExportPath));
  for (int table : {1, 3, 4}) {
    TPXRecord record(gTables[table], true);
    EXPECT_FALSE(record.First()) << kSharedTableNames[table] << " gained a record";
  }
}

TEST_F(Export1099Test, AnExportOverALongerFileLeavesNoStaleTail) {
  PutSample();
  WriteHostFile(kExportPath, std::string(5000, 'x'));
  EXPECT_TRUE(Export(ByYear("2001")));
  EXPECT_EQ(kLine1002, ReadHostFile(kExportPath));
}

TEST_F(Export1099Test, EachRefusalShowsItsTextAndLeavesTheEarlierExportAlone) {
  PutSample();
  WriteHostFile(kExportPath, "earlier export\r\n");
  struct Case {
    DialogDriver::Script fill;
    std::string text;
  };
  const Case cases[] = {
      {[](HWND d) { SetControlText(d, 496, "C:\\ZARNE\\OUT\\"); }, "Not a valid file name."},
      {ByYear("123"), "Two or four digit year required."},
      {ByYear(""), "Two or four digit year required."},
      {ByYear("1990"), "Year must be in range of 1991 - 2090 or 91 - 90."},
      {ByYear("2091"), "Year must be in range of 1991 - 2090 or 91 - 90."},
      {ByYear("0100"), "Year must be in range of 1991 - 2090 or 91 - 90."},
      {ByDates("", "01/01/99"), "Invalid date(s)"},
      {ByDates("02/01/99", "01/01/99"), "Invalid date(s)"},
      {ByFiles("", "1002"), "Invalid file number(s)"},
      {ByFiles("10\"01", "1002"), "Invalid file number(s)"},
  };
  for (const Case& c : cases) {
    Boxes().Clear();
    EXPECT_FALSE(Export(c.fill)) << c.text;
    ASSERT_EQ(1u, Shown().size()) << c.text;
    EXPECT_EQ(c.text, Shown()[0].text);
    EXPECT_EQ("Zarne", Shown()[0].caption);
    EXPECT_EQ("earlier export\r\n", ReadHostFile(kExportPath)) << c.text;
  }
}

TEST_F(Export1099Test, FailedQueryStopsWithTheEarlierExportIntact) {
  PutSample();
  WriteHostFile(kExportPath, "earlier export\r\n");
  gFailExportQueryForTest = true;
  EXPECT_FALSE(Export(ByYear("98")));
  EXPECT_EQ("earlier export\r\n", ReadHostFile(kExportPath));
}

TEST_F(Export1099Test, WriteErrorIsShownAndTheDialogStays) {
  PutSample();
  bool closed = Export([](HWND dialog) {
    SetControlText(dialog, 496, "/dev/full");
    SetControlText(dialog, 397, "98");
  });
  EXPECT_FALSE(closed);
  ASSERT_EQ(1u, Shown().size());
  EXPECT_EQ("Could not write file /dev/full.", Shown()[0].text);
  EXPECT_EQ("Zarne", Shown()[0].caption);
  EXPECT_EQ(static_cast<UINT>(MB_ICONSTOP), Shown()[0].type & MB_ICONMASK);
}

TEST_F(Export1099Test, DefaultNameBrowseAndAMissingDirectory) {
  PutSample();
  std::string shown;
  {
    DialogDriver driver;
    driver.OnDialog(20990, [&](HWND dialog) {
      shown = ControlTextOf(dialog, 496);
      PressButton(dialog, IDCANCEL);
    });
    RunExport1099(nullptr);
  }
  EXPECT_EQ(std::string(kTestDatabaseDir) + "\\Tax1099.txt", shown);

  CommonDialogAnswers answers;
  answers.ChooseFiles({"C:\\ZARNE\\OUT\\Chosen.txt"});
  {
    DialogDriver driver;
    driver.OnDialog(20990, [&](HWND dialog) {
      PressButton(dialog, 625);
      shown = ControlTextOf(dialog, 496);
      PressButton(dialog, IDCANCEL);
    });
    RunExport1099(nullptr);
  }
  EXPECT_EQ("C:\\ZARNE\\OUT\\Chosen.txt", shown);
  ASSERT_EQ(1u, answers.FileRequests().size());
  EXPECT_EQ("1099 Export File", answers.FileRequests()[0].title);

  // A directory that does not exist: No stops, Yes creates it and exports.
  Boxes().QueueAnswer(IDNO);
  EXPECT_FALSE(Export([](HWND d) {
    SetControlText(d, 496, "C:\\ZARNE\\NEW\\T.txt");
    SetControlText(d, 397, "98");
  }));
  EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributes("C:\\ZARNE\\NEW"));
  Boxes().QueueAnswer(IDYES);
  EXPECT_TRUE(Export([](HWND d) {
    SetControlText(d, 496, "C:\\ZARNE\\NEW\\T.txt");
    SetControlText(d, 397, "98");
  }));
  EXPECT_EQ(kLine1001 + kLine1003, ReadHostFile("C:\\ZARNE\\NEW\\T.txt"));
}

struct Split {
  const char* name;
  const char* first;
  const char* last;
};

TEST(SplitPersonNameTest, SuffixesPunctuationAndOneWordNames) {
  const Split cases[] = {
      {"John Smith", "John", "Smith"},
      {"John Q. Public", "John Q", "Public"},
      {"Robert Jones jr", "Robert jr", "Jones"},
      {"Robert Jones JR.", "Robert JR", "Jones"},
      {"Henry Ford II", "Henry II", "Ford"},
      {"Henry Ford iii", "Henry iii", "Ford"},
      {"Louis Bourbon Iv", "Louis Iv", "Bourbon"},
      {"Al Gore I", "Al I", "Gore"},
      {"Sam Eagle Sr", "Sam Sr", "Eagle"},
      {"Perry Mason, Esq.", "Perry Esq", "Mason"},
      {"Smith, John", "Smith", "John"},
      {"Smith ,", "", "Smith"},
      {"  Ann   Lee  ", "Ann", "Lee"},
      {"Ann   Lee   Jr", "Ann Jr", "Lee"},
      {"Cher", "", "Cher"},
      {"Smith Jr", "Jr", "Smith"},
      {"", "", ""},
  };
  for (const Split& c : cases) {
    char first[64], last[64];
    SplitPersonName(c.name, first, last);
    EXPECT_STREQ(c.first, first) << c.name;
    EXPECT_STREQ(c.last, last) << c.name;
  }
}

}  // namespace
