/*
** The seventeen table definitions: every field's name, type and size in field order, and
** each table's indexes. This is the system's stored format; the field numbers fixed here are
** the ones every other module reads and writes by. The rows are expanded into the engine's
** creation descriptors at compile time, so the whole catalogue is read-only data.
*/
#include "catalogue/table_catalog.h"
#include "catalogue/field_rows.h"

namespace {

using namespace catalog_rows;

/* ---- Field rows and indexes, per table ------------------------------------------------- */

constexpr FieldRow kBuyerRows[] = {
    Str("FileNum", 15),     Str("B1NAME", 60),   Str("B1SUFFIX", 60),    Str("B1SIG1", 30),
    Str("B1SIG1TITLE", 25), Str("B1SIG2", 30),   Str("B1SIG2TITLE", 25), Str("B1STREET", 35),
    Str("B1CITY", 17),      Str("B1STATE", 3),   Str("B1ZIP", 12),       Str("B2NAME", 60),
    Str("B2SUFFIX", 60),    Str("B2SIG1", 30),   Str("B2SIG1TITLE", 25), Str("B2SIG2", 30),
    Str("B2SIG2TITLE", 25), Str("B2STREET", 35), Str("B2CITY", 17),      Str("B2STATE", 3),
    Str("B2ZIP", 12),       Str("B3NAME", 60),   Str("B3SUFFIX", 60),    Str("B3SIG1", 30),
    Str("B3SIG1TITLE", 25), Str("B3SIG2", 30),   Str("B3SIG2TITLE", 25), Str("B3STREET", 35),
    Str("B3CITY", 17),      Str("B3STATE", 3),   Str("B3ZIP", 12),       Str("B4NAME", 60),
    Str("B4SUFFIX", 60),    Str("B4SIG1", 30),   Str("B4SIG1TITLE", 25), Str("B4SIG2", 30),
    Str("B4SIG2TITLE", 25), Str("B4STREET", 35), Str("B4CITY", 17),      Str("B4STATE", 3),
    Str("B4ZIP", 12),       Str("BESTATE", 75),
};
constexpr IndexRow kBuyerIndexes[] = {PrimaryKey(15, 4096)};

constexpr FieldRow kSellerRows[] = {
    Str("FileNum", 15),     Str("S1NAME", 60),   Str("S1SUFFIX", 60),    Str("S1SIG1", 30),
    Str("S1SIG1TITLE", 25), Str("S1SIG2", 30),   Str("S1SIG2TITLE", 25), Str("S1STREET", 35),
    Str("S1CITY", 17),      Str("S1STATE", 3),   Str("S1ZIP", 12),       Str("S2NAME", 60),
    Str("S2SUFFIX", 60),    Str("S2SIG1", 30),   Str("S2SIG1TITLE", 25), Str("S2SIG2", 30),
    Str("S2SIG2TITLE", 25), Str("S2STREET", 35), Str("S2CITY", 17),      Str("S2STATE", 3),
    Str("S2ZIP", 12),       Str("S3NAME", 60),   Str("S3SUFFIX", 60),    Str("S3SIG1", 30),
    Str("S3SIG1TITLE", 25), Str("S3SIG2", 30),   Str("S3SIG2TITLE", 25), Str("S3STREET", 35),
    Str("S3CITY", 17),      Str("S3STATE", 3),   Str("S3ZIP", 12),       Str("S4NAME", 60),
    Str("S4SUFFIX", 60),    Str("S4SIG1", 30),   Str("S4SIG1TITLE", 25), Str("S4SIG2", 30),
    Str("S4SIG2TITLE", 25), Str("S4STREET", 35), Str("S4CITY", 17),      Str("S4STATE", 3),
    Str("S4ZIP", 12),       Str("SESTATE", 75),
};
constexpr IndexRow kSellerIndexes[] = {PrimaryKey(15, 4096)};

constexpr FieldRow kLenderRows[] = {
    Str("FileNum", 15), Str("LoanType", 24),   Str("LoanNumber", 15), Str("MINumber", 15),
    Str("LNAME", 65),   Str("LSUFFIX", 80),    Str("LSIG1", 35),      Str("LSIG1TITLE", 30),
    Str("LSIG2", 35),   Str("LSIG2TITLE", 30), Str("LESTATE", 70),    Str("LSTREET", 35),
    Str("LCITY", 17),   Str("LSTATE", 2),      Str("LZIP", 10),       Str("LASSIGNS", 60),
};
constexpr IndexRow kLenderIndexes[] = {PrimaryKey(15, 2048)};

constexpr FieldRow kSagentRows[] = {
    Str("FileNum", 15), Str("SANAME", 35),  Str("SACOMPANY", 35), Str("SASTREET", 35),
    Str("SACITY", 17),  Str("SASTATE", 2),  Str("SAZIP", 10),     Str("S1TAXID", 14),
    Str("S2TAXID", 14), Str("S3TAXID", 14), Str("S4TAXID", 14),   Str("B1TAXID", 14),
    Str("B2TAXID", 14), Str("B3TAXID", 14), Str("B4TAXID", 14),   Str("SATAXID", 14),
    Date("TRACKDATE1"), Date("TRACKDATE2"), Date("TRACKDATE3"),   Date("TRACKDATE4"),
    Date("TRACKDATE6"), Date("TRACKDATE7"), Str("TRACKREF1", 5),
};
constexpr IndexRow kSagentIndexes[] = {PrimaryKey(15, 2048)};

constexpr FieldRow kPropertyRows[] = {
    Str("FileNum", 15), Str("PSTREET", 35), Str("PCITY", 17),  Str("PSTATE", 2), Str("PZIP", 10),
    Memo("PLEGAL"),     Str("PCOUNTY", 17), Float("PTAXYEAR"), Str("PID", 30),
};
constexpr IndexRow kPropertyIndexes[] = {PrimaryKey(15, 2048)};

constexpr FieldRow kSummary1Rows[] = {
    Str("FileNum", 15), Date("CDATE"),   Money("A101"),      Money("A102"),   Str("S403", 25),
    Money("A403"),      Str("S104", 25), Money("A104"),      Str("S404", 25), Money("A404"),
    Str("S105", 25),    Money("A105"),   Str("S405", 25),    Money("A405"),   Date("DB106"),
    Date("DE106"),      Money("PA106"),  Float("PA106DAYS"), Money("A106"),   Date("DB107"),
    Date("DE107"),      Money("PA107"),  Float("PA107DAYS"), Money("A107"),   Date("DB108"),
    Date("DE108"),      Money("PA108"),  Float("PA108DAYS"), Money("A108"),   Str("S109", 25),
    Money("A109"),      Str("S110", 25), Money("A110"),      Str("S111", 25), Money("A111"),
    Str("S112", 25),    Money("A112"),   Money("A120"),      Money("A420"),
};
constexpr IndexRow kSummary1Indexes[] = {PrimaryKey(15, 2048)};

constexpr FieldRow kSummary2Rows[] = {
    Str("FileNum", 15), Money("A201"),   Money("A501"),   Money("A202"),   Money("A203"),
    Str("S204", 25),    Money("A204"),   Money("A504"),   Str("S205", 25), Money("A205"),
    Money("A505"),      Str("S206", 25), Money("A206"),   Str("S506", 25), Money("A506"),
    Str("S207", 25),    Money("A207"),   Str("S507", 25), Money("A507"),   Str("S208", 25),
    Money("A208"),      Str("S508", 25), Money("A508"),   Str("S209", 25), Money("A209"),
    Str("S509", 25),    Money("A509"),   Date("DB210"),   Date("DE210"),   Money("PA210"),
    Float("PA210DAYS"), Money("A210"),   Date("DB211"),   Date("DE211"),   Money("PA211"),
    Float("PA211DAYS"), Money("A211"),   Date("DB212"),   Date("DE212"),   Money("PA212"),
    Float("PA212DAYS"), Money("A212"),   Str("S213", 25), Money("A213"),   Str("S214", 25),
    Money("A214"),      Str("S215", 25), Money("A215"),   Str("S216", 25), Money("A216"),
    Str("S217", 25),    Money("A217"),   Str("S218", 25), Money("A218"),   Str("S219", 25),
    Money("A219"),      Money("A220"),   Money("A520"),   Money("A303"),   Money("A603"),
};
constexpr IndexRow kSummary2Indexes[] = {PrimaryKey(15, 4096)};

constexpr FieldRow kExpense1Rows[] = {
    Str("FileNum", 15), Money("PA700"),  Float("PC700"),  Money("A700"),   Money("A701"),
    Str("S701", 40),    Money("A702"),   Str("S702", 40), Money("A703B"),  Money("A703S"),
    Str("S704", 40),    Money("POC704"), Money("A704B"),  Money("A704S"),  Money("POC801"),
    Money("A801B"),     Money("A801S"),  Money("POC802"), Money("A802B"),  Money("A802S"),
    Str("S803", 40),    Money("POC803"), Money("A803B"),  Money("A803S"),  Str("S804", 40),
    Money("POC804"),    Money("A804B"),  Money("A804S"),  Money("POC805"), Money("A805B"),
    Money("A805S"),     Str("S806", 40), Money("POC806"), Money("A806B"),  Money("A806S"),
    Money("POC807"),    Money("A807B"),  Money("A807S"),  Str("S808", 40), Money("POC808"),
    Money("A808B"),     Money("A808S"),  Str("S809", 40), Money("POC809"), Money("A809B"),
    Money("A809S"),     Str("S810", 40), Money("POC810"), Money("A810B"),  Money("A810S"),
    Str("S811", 40),    Money("POC811"), Money("A811B"),  Money("A811S"),  Float("PC801"),
    Float("PC802"),     Str("S812", 40), Money("POC812"), Money("A812B"),  Money("A812S"),
    Str("S813", 40),    Money("POC813"), Money("A813B"),  Money("A813S"),  Str("S814", 40),
    Money("POC814"),    Money("A814B"),  Money("A814S"),  Str("S815", 40), Money("POC815"),
    Money("A815B"),     Money("A815S"),  Str("S816", 40), Money("POC816"), Money("A816B"),
    Money("A816S"),     Str("S817", 40), Money("POC817"), Money("A817B"),  Money("A817S"),
    Str("S818", 40),    Money("POC818"), Money("A818B"),  Money("A818S"),  Str("S819", 40),
    Money("POC819"),    Money("A819B"),  Money("A819S"),  Str("S820", 38), Money("POC820"),
    Money("A820B"),     Money("A820S"),
};
constexpr IndexRow kExpense1Indexes[] = {PrimaryKey(15, 4096)};

constexpr FieldRow kExpense2Rows[] = {
    Str("FileNum", 15), Date("DB901"),   Date("DE901"),   Float("PD901"),   Money("A901B"),
    Money("A901S"),     Float("M902"),   Str("S902", 40), Money("A902B"),   Money("A902S"),
    Float("Y903"),      Str("S903", 40), Money("A903B"),  Money("A903S"),   Float("Y904"),
    Str("S904", 40),    Money("A904B"),  Money("A904S"),  Str("S905", 40),  Money("A905B"),
    Money("A905S"),     Float("M1001"),  Money("PA1001"), Money("A1001B"),  Float("M1002"),
    Money("PA1002"),    Money("A1002B"), Float("M1003"),  Money("PA1003"),  Money("A1003B"),
    Float("M1004"),     Money("PA1004"), Money("A1004B"), Float("M1005"),   Money("PA1005"),
    Money("A1005B"),    Float("M1006"),  Money("PA1006"), Money("A1006B"),  Str("S1007", 40),
    Float("M1007"),     Money("PA1007"), Money("A1007B"), Str("S1008", 40), Float("M1008"),
    Money("PA1008"),    Money("A1008B"), Str("S906", 40), Money("A906B"),   Money("A906S"),
    Str("S1009", 40),   Money("A1009B"),
};
constexpr IndexRow kExpense2Indexes[] = {PrimaryKey(15, 2048)};

constexpr FieldRow kExpense3Rows[] = {
    Str("FileNum", 15), Str("S1101", 40), Money("A1101B"),  Money("A1101S"),   Str("S1102", 40),
    Money("A1102B"),    Money("A1102S"),  Str("S1103", 40), Money("A1103B"),   Money("A1103S"),
    Str("S1104", 40),   Money("A1104B"),  Money("A1104S"),  Str("S1105", 40),  Money("A1105B"),
    Money("A1105S"),    Str("S1106", 40), Money("A1106B"),  Money("A1106S"),   Str("S1107X", 40),
    Str("S1107Y", 20),  Money("A1107B"),  Money("A1107S"),  Str("S1108X", 40), Str("S1108Y", 20),
    Money("A1108B"),    Money("A1108S"),  Money("A1109"),   Money("PREM1109"), Money("A1110"),
    Money("PREM1110"),  Str("S1111", 40), Money("A1111B"),  Money("A1111S"),   Str("S1112", 40),
    Money("A1112B"),    Money("A1112S"),  Str("S1113", 40), Money("A1113B"),   Money("A1113S"),
    Str("S1114", 40),   Money("A1114B"),  Money("A1114S"),  Str("S1115", 40),  Money("A1115B"),
    Money("A1115S"),
};
constexpr IndexRow kExpense3Indexes[] = {PrimaryKey(15, 4096)};

constexpr FieldRow kExpense4Rows[] = {
    Str("FileNum", 15), Money("A1201D"),  Str("P1201D", 1), Money("A1201M"),  Str("P1201M", 1),
    Money("A1201R"),    Str("P1201R", 1), Money("A1201B"),  Money("A1201S"),  Money("A1202D"),
    Str("P1202D", 1),   Money("A1202M"),  Str("P1202M", 1), Money("A1202B"),  Money("A1202S"),
    Money("A1203D"),    Str("P1203D", 1), Money("A1203M"),  Str("P1203M", 1), Money("A1203B"),
    Money("A1203S"),    Str("S1204", 40), Money("A1204B"),  Money("A1204S"),  Str("S1205", 40),
    Money("A1205B"),    Money("A1205S"),  Str("S1301", 40), Money("A1301B"),  Money("A1301S"),
    Str("S1302", 40),   Money("A1302B"),  Money("A1302S"),  Str("S1303", 40), Money("A1303B"),
    Money("A1303S"),    Str("S1304", 40), Money("A1304B"),  Money("A1304S"),  Str("S1305", 40),
    Money("A1305B"),    Money("A1305S"),  Str("S1306", 40), Money("A1306B"),  Money("A1306S"),
    Str("S1307", 40),   Money("A1307B"),  Money("A1307S"),  Money("A1400B"),  Money("A1400S"),
    Str("S1206", 40),   Money("A1206B"),  Money("A1206S"),  Str("S1207", 40), Money("A1207B"),
    Money("A1207S"),    Str("S1308", 40), Money("A1308B"),  Money("A1308S"),  Str("S1309", 40),
    Money("A1309B"),    Money("A1309S"),  Str("S1310", 40), Money("A1310B"),  Money("A1310S"),
};
constexpr IndexRow kExpense4Indexes[] = {PrimaryKey(15, 4096)};

constexpr FieldRow kTitleaRows[] = {
    Str("FileNum", 15),     Str("TICommitNum", 15), Date("TICommitDate"),   Str("TICommitTime", 10),
    Str("TIOwnerNum", 15),  Date("TIOwnerDate"),    Str("TIOwnerTime", 10), Date("TIOwnerRecDate"),
    Float("TIOwnerORBook"), Float("TIOwnerORPage"), Str("TILoanNum", 15),   Date("TILoanDate"),
    Str("TILoanTime", 10),  Date("TILoanRecDate"),  Float("TILoanORBook"),  Float("TILoanORPage"),
};
constexpr IndexRow kTitleaIndexes[] = {PrimaryKey(15, 2048)};

constexpr FieldRow kExtraRows[] = {
    Str("FileNum", 15), Str("S801", 40), Str("S802", 40), Str("S805", 40), Str("S807", 40),
    Money("A1001S"),    Money("A1002S"), Money("A1003S"), Money("A1004S"), Money("A1005S"),
    Money("A1006S"),    Money("A1007S"), Money("A1008S"), Money("A1009S"), Money("POC902"),
    Money("POC903"),    Money("POC904"), Str("S504", 60), Str("S505", 60), Date("DDATE"),
};
constexpr IndexRow kExtraIndexes[] = {PrimaryKey(15, 4096)};

constexpr FieldRow kTitlebRows[] = {
    Str("FileNum", 15), Str("Type", 2), Float("Seq"), Memo("Text"), Str("Policy", 1),
};
constexpr IndexRow kTitlebIndexes[] = {PrimaryKey123(25)};

constexpr FieldRow kCheckctlRows[] = {
    Float("NextCheckNumber"),
    Short("Account"),
};

constexpr FieldRow kBankRows[] = {
    Short("KeyNumber"),        Str("AccountName", 40),  Str("BankName", 40),
    Str("AccountNumber", 20),  Date("LastCloseDate"),   Date("LastBalanceDate"),
    Money("LastBeginBalance"), Money("LastEndBalance"),
};
constexpr IndexRow kBankIndexes[] = {PrimaryKey(2, 2048)};

constexpr FieldRow kAccountRows[] = {
    Str("FileNum", 15),     Str("Type", 1),  Float("Seq"), Float("Number"),
    Short("Bank"),          Short("Status"), Date("Date"), Str("PayeeDepositor", 60),
    Str("Description", 60), Money("Amount"),
};
constexpr IndexRow kAccountIndexes[] = {
    PrimaryKey123(24),
    SecondaryKey("AcctDate", 7, 4),
    SecondaryKey("AcctNumber", 4, 8),
};

/* ---- The descriptors ------------------------------------------------------------------ */

#define CATALOG_TABLE(Id, NAME)                                     \
  constexpr auto k##Id##Fields = ExpandFields(k##Id##Rows);         \
  constexpr auto k##Id##IndexDescs = ExpandIndexes(k##Id##Indexes); \
  constexpr EngineTableCreateDesc k##Id##Desc = TableDesc(NAME, k##Id##Fields, k##Id##IndexDescs)

CATALOG_TABLE(Buyer, "BUYER");
CATALOG_TABLE(Seller, "SELLER");
CATALOG_TABLE(Lender, "LENDER");
CATALOG_TABLE(Sagent, "SAGENT");
CATALOG_TABLE(Property, "PROPERTY");
CATALOG_TABLE(Summary1, "SUMMARY1");
CATALOG_TABLE(Summary2, "SUMMARY2");
CATALOG_TABLE(Expense1, "EXPENSE1");
CATALOG_TABLE(Expense2, "EXPENSE2");
CATALOG_TABLE(Expense3, "EXPENSE3");
CATALOG_TABLE(Expense4, "EXPENSE4");
CATALOG_TABLE(Titlea, "TITLEA");
CATALOG_TABLE(Extra, "EXTRA");
CATALOG_TABLE(Titleb, "TITLEB");
CATALOG_TABLE(Bank, "BANK");
CATALOG_TABLE(Account, "ACCOUNT");

#undef CATALOG_TABLE

/* CHECKCTL is the one table without an index: its index pointer stays null. */
constexpr auto kCheckctlFields = ExpandFields(kCheckctlRows);
constexpr EngineTableCreateDesc kCheckctlDesc = TableDesc(
    "CHECKCTL", static_cast<WORD>(kCheckctlFields.size()), kCheckctlFields.data(), 0, nullptr);

}  // namespace

const CatalogEntry kTableCatalog[kCatalogTableCount] = {
    {"BUYER", &kBuyerDesc},       {"SELLER", &kSellerDesc},     {"LENDER", &kLenderDesc},
    {"SAGENT", &kSagentDesc},     {"PROPERTY", &kPropertyDesc}, {"SUMMARY1", &kSummary1Desc},
    {"SUMMARY2", &kSummary2Desc}, {"EXPENSE1", &kExpense1Desc}, {"EXPENSE2", &kExpense2Desc},
    {"EXPENSE3", &kExpense3Desc}, {"EXPENSE4", &kExpense4Desc}, {"TITLEA", &kTitleaDesc},
    {"EXTRA", &kExtraDesc},       {"TITLEB", &kTitlebDesc},     {"CHECKCTL", &kCheckctlDesc},
    {"BANK", &kBankDesc},         {"ACCOUNT", &kAccountDesc},
};
