/*
** The four form libraries as the program uses them: loaded by name, their exports found by
** name, the layout records copied into the data-field lists, and the painters drawing the
** screen form and the printed pages. Writes the printed backgrounds as PDFs and the screen
** form with every statement box outlined as a PNG into the build tree's hudform folder.
*/
#include "hudform/field_layout.h"
#include "hudform/form_description.h"
#include "hudform/hudform_exports.h"
#include "hudform/print_layout.h"
#include "platform/gdi/gdi.h"
#include "platform/gdi/gdi_print.h"
#include "platform/kernel/modules.h"
#include "platform/testing/gui_test.h"
#include "platform/user/message_queue.h"
#include "platform/user/painting.h"
#include "platform/user/window_class.h"
#include "platform/user/window_manager.h"
#include "platform/user/winuser.h"

#ifdef HUDFORM_TEST_FIELD_LISTS
#include "tableaccess/field_list.h"
#endif

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>

using namespace hudform;

namespace {

/* A library loaded for one test and unloaded at its end. */
class Library {
 public:
  explicit Library(const char* name) : module_(LoadLibrary(name)) {}
  ~Library() {
    if (module_) FreeLibrary(module_);
  }
  HMODULE get() const { return module_; }
  template <typename Proc>
  Proc Find(const char* name) const {
    return reinterpret_cast<Proc>(GetProcAddress(module_, name));
  }

 private:
  HMODULE module_;
};

std::string OutputPath(const char* name) {
  std::filesystem::create_directories(HUDFORM_OUTPUT_DIR);
  return std::string(HUDFORM_OUTPUT_DIR) + "/" + name;
}

}  // namespace

TEST(FormLibraries, LayoutLibrariesExportTheirRecords) {
  Library stmlay("stmlay32.dll");
  ASSERT_NE(stmlay.get(), nullptr);
  auto count = stmlay.Find<GetFieldCountProc>("GetRespaFieldCount");
  auto get = stmlay.Find<GetRespaFieldProc>("GetRespaField");
  ASSERT_NE(count, nullptr);
  ASSERT_NE(get, nullptr);
  ASSERT_EQ(count(), static_cast<std::int32_t>(StatementFields().size()));
  const RespaLayoutRecord* first = get(0);
  ASSERT_NE(first, nullptr);
  EXPECT_STREQ(first->name, "LoanType");
  EXPECT_EQ(first->fieldId, 184);
  EXPECT_EQ(get(-1), nullptr);
  EXPECT_EQ(get(static_cast<std::int16_t>(count())), nullptr);

  Library auxlay("auxlay32");
  ASSERT_NE(auxlay.get(), nullptr);
  auto otherCount = auxlay.Find<GetFieldCountProc>("GetOtherFieldCount");
  auto other = auxlay.Find<GetOtherFieldProc>("GetOtherField");
  ASSERT_NE(otherCount, nullptr);
  ASSERT_NE(other, nullptr);
  ASSERT_EQ(otherCount(), static_cast<std::int32_t>(OtherFields().size()));
  EXPECT_NE(other(0), nullptr);
  EXPECT_EQ(other(static_cast<std::int16_t>(otherCount())), nullptr);
}

#ifdef HUDFORM_TEST_FIELD_LISTS
TEST(FormLibraries, RecordsCopyIntoFieldListsThatOutliveTheLibraries) {
  TFieldList statement;
  TFieldList others;
  std::int32_t statementCount = 0;
  {
    Library stmlay("stmlay32.dll");
    Library auxlay("auxlay32.dll");
    ASSERT_NE(stmlay.get(), nullptr);
    ASSERT_NE(auxlay.get(), nullptr);
    auto count = stmlay.Find<GetFieldCountProc>("GetRespaFieldCount");
    statementCount = count();
    EXPECT_EQ(
        AppendRespaRecords(&statement, count, stmlay.Find<GetRespaFieldProc>("GetRespaField")),
        statementCount);
    AppendOtherRecords(&others, auxlay.Find<GetFieldCountProc>("GetOtherFieldCount"),
                       auxlay.Find<GetOtherFieldProc>("GetOtherField"));
  }
  // The libraries are gone; the nodes hold their own copies.
  TFieldNode* price = FindFieldByNumber(&statement, 213);
  ASSERT_NE(price, nullptr);
  EXPECT_STREQ(price->name, "A101");
  EXPECT_EQ(price->tableIndex, kSummary1Table);
  EXPECT_EQ(price->fieldNumber, 3);
  EXPECT_EQ(price->displayKind, 3);
  for (const StatementField& f : StatementFields()) {
    if (f.id != 213) continue;
    EXPECT_EQ(price->left, f.rect.left);
    EXPECT_EQ(price->top, f.rect.top);
    EXPECT_EQ(price->right, f.rect.right);
    EXPECT_EQ(price->bottom, f.rect.bottom);
  }
  EXPECT_EQ(FindFieldAtPoint(&statement, (price->left + price->right) / 2,
                             (price->top + price->bottom) / 2),
            price);
  EXPECT_EQ(FindFieldByName(&statement, "CDATE")->fieldId, 212);
  TFieldNode* pid = FindFieldByName(&others, "PID");
  ASSERT_NE(pid, nullptr);
  EXPECT_EQ(pid->fieldId, 0);
  EXPECT_EQ(pid->left, 0);
  EXPECT_EQ(FindFieldByName(&others, "A101"), nullptr);
  int walked = 0;
  for (TFieldNode* n = FirstField(&statement); n; n = n->next) ++walked;
  EXPECT_EQ(walked, statementCount);
}
#endif

/* ---- Drawing ---------------------------------------------------------------------------- */

class FormDrawing : public GuiTest {};

TEST_F(FormDrawing, ScreenFormDrawsOnlyWhatMeetsThePaintRectangle) {
  Library pntfrm("pntfrm32.dll");
  auto paint = pntfrm.Find<PaintRespaBackgroundProc>("PaintRespaBackground");
  ASSERT_NE(paint, nullptr);
  HDC dc = GdiCreateRecordingDC();
  ASSERT_NE(dc, nullptr);
  const RECT strip{0, 2000, 640, 2048};
  paint(dc, &strip);
  const auto calls = GdiRecordedCalls(dc);
  int texts = 0;
  for (const GdiDrawRecord& call : calls) {
    if (call.call == "DrawText") {
      ++texts;
      EXPECT_LE(call.rect.top, strip.bottom) << call.text;
      EXPECT_GE(call.rect.bottom, strip.top) << call.text;
      EXPECT_LE(call.rect.left, strip.right) << call.text;
    }
  }
  EXPECT_GT(texts, 0);
  GdiClearRecording(dc);
  const RECT beyond{0, ScreenFormHeight() + 100, 640, ScreenFormHeight() + 200};
  paint(dc, &beyond);
  for (const GdiDrawRecord& call : GdiRecordedCalls(dc))
    EXPECT_NE(call.call, "DrawText") << "text drawn outside the form: " << call.text;
  paint(dc, nullptr);  // refused quietly
  DeleteDC(dc);
}

TEST_F(FormDrawing, PrintedBackgroundsDrawNothingForPrePrintedPaper) {
  Library stmtbg("stmtbg32.dll");
  for (const char* name : {"PrintHUD1ABkg", "PrintHUD1BStdBkg", "PrintHUD1BExtraBkg"}) {
    auto print = stmtbg.Find<PrintBackgroundProc>(name);
    ASSERT_NE(print, nullptr) << name;
    HDC dc = GdiCreateRecordingDC();
    EXPECT_TRUE(print(dc, FALSE));
    EXPECT_TRUE(GdiRecordedCalls(dc).empty()) << name;
    EXPECT_TRUE(print(dc, TRUE));
    EXPECT_FALSE(GdiRecordedCalls(dc).empty()) << name;
    // Everything drawn lies on the page: x 0 to 7950, y 0 down to the page's height.
    for (const GdiDrawRecord& call : GdiRecordedCalls(dc)) {
      for (const POINT& p : call.points) {
        EXPECT_GE(p.x, 0) << name << " " << call.call;
        EXPECT_LE(p.x, kPrintPageWidth) << name << " " << call.call;
        EXPECT_LE(p.y, 0) << name << " " << call.call;
        EXPECT_GE(p.y, -15700) << name << " " << call.call;
      }
    }
    EXPECT_FALSE(print(nullptr, TRUE));
    DeleteDC(dc);
  }
  for (const char* name : {"PrintHUD1BStdSigBkg", "PrintHUD1BExtraSigBkg", "PrintHUD1CSigBkg"}) {
    auto print = stmtbg.Find<PrintSignatureProc>(name);
    ASSERT_NE(print, nullptr) << name;
    HDC dc = GdiCreateRecordingDC();
    EXPECT_TRUE(print(dc));
    EXPECT_FALSE(GdiRecordedCalls(dc).empty()) << name;
    DeleteDC(dc);
  }
}

namespace {

/* One printed page as the printout sets it up: anisotropic, 7950 across, -height down. */
struct PageJob {
  const char* file;
  PrintBackgroundProc background;
  PrintSignatureProc signature;
  int height;
  std::vector<PrintTable> tables;
};

/* Prints a page's background and, over it, each print row's field id at its position, so
   the picture shows where every value will stand. */
bool PrintPage(const PageJob& job, std::string* path) {
  DEVMODE mode;
  if (!GdiDefaultDevMode("PDF", &mode)) return false;
  mode.dmPaperSize = DMPAPER_LEGAL;
  mode.dmFields |= DM_PAPERSIZE;
  HDC dc = CreateDCA("winspool", "PDF", "PDF:", &mode);
  if (!dc) return false;
  *path = OutputPath(job.file);
  std::remove(path->c_str());
  DOCINFOA info{sizeof(DOCINFOA), "HUD-1", path->c_str(), nullptr, 0};
  bool ok = StartDocA(dc, &info) > 0 && StartPage(dc) > 0;
  if (ok) {
    SetMapMode(dc, MM_ANISOTROPIC);
    SetWindowExtEx(dc, kPrintPageWidth, -job.height, nullptr);
    SetViewportExtEx(dc, GetDeviceCaps(dc, HORZRES), GetDeviceCaps(dc, VERTRES), nullptr);
    if (job.background) job.background(dc, TRUE);
    if (job.signature) job.signature(dc);
    HFONT font = CreateFontA(128, 0, 0, 0, 400, 0, 0, 0, 0, 0, 0, 0, 0, "Times New Roman");
    HGDIOBJ old = SelectObject(dc, font);
    SetTextColor(dc, RGB(0, 0, 200));
    SetBkMode(dc, TRANSPARENT);
    for (PrintTable table : job.tables) {
      for (const PrintRow& row : PrintRows(table)) {
        char text[16];
        std::snprintf(text, sizeof text, "%d", row.code);
        SetTextAlign(dc, row.align);
        TextOutA(dc, row.x, row.y, text, static_cast<int>(std::strlen(text)));
      }
    }
    SelectObject(dc, old);
    DeleteObject(font);
    ok = EndPage(dc) > 0 && EndDoc(dc) > 0;
  }
  DeleteDC(dc);
  return ok;
}

/* pntfrm32's painter, as the statement window would call it. */
PaintRespaBackgroundProc gPaintBackground = nullptr;

LRESULT CALLBACK FormWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != WM_PAINT) return DefWindowProc(hwnd, message, wParam, lParam);
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(hwnd, &ps);
  gPaintBackground(dc, &ps.rcPaint);
  // Each statement box as the statement window frames it: grey, with its id.
  HPEN pen = CreatePen(PS_SOLID, 1, RGB(128, 128, 128));
  HGDIOBJ oldPen = SelectObject(dc, pen);
  HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(LTGRAY_BRUSH));
  HFONT font = CreateFontA(-10, 0, 0, 0, 400, 0, 0, 0, 0, 0, 0, 0, 0, "Arial");
  HGDIOBJ oldFont = SelectObject(dc, font);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, RGB(0, 0, 160));
  for (const StatementField& f : StatementFields()) {
    Rectangle(dc, f.rect.left, f.rect.top, f.rect.right, f.rect.bottom);
    char text[8];
    std::snprintf(text, sizeof text, "%d", f.id);
    TextOutA(dc, f.rect.left + 3, f.rect.top + 3, text, static_cast<int>(std::strlen(text)));
  }
  SelectObject(dc, oldFont);
  SelectObject(dc, oldBrush);
  SelectObject(dc, oldPen);
  DeleteObject(font);
  DeleteObject(pen);
  EndPaint(hwnd, &ps);
  return 0;
}

}  // namespace

TEST_F(FormDrawing, PrintedPagesAsPdfs) {
  Library stmtbg("stmtbg32.dll");
  auto page1 = stmtbg.Find<PrintBackgroundProc>("PrintHUD1ABkg");
  auto standard = stmtbg.Find<PrintBackgroundProc>("PrintHUD1BStdBkg");
  auto extended = stmtbg.Find<PrintBackgroundProc>("PrintHUD1BExtraBkg");
  auto standardSig = stmtbg.Find<PrintSignatureProc>("PrintHUD1BStdSigBkg");
  auto extendedSig = stmtbg.Find<PrintSignatureProc>("PrintHUD1BExtraSigBkg");
  auto page3 = stmtbg.Find<PrintSignatureProc>("PrintHUD1CSigBkg");
  const std::vector<PageJob> jobs = {
      {"hud1-page1.pdf", page1, nullptr, 13250, {PrintTable::Page1}},
      {"hud1-page2-standard.pdf",
       standard,
       nullptr,
       11580,
       {PrintTable::Page2Top, PrintTable::Page2Standard, PrintTable::Page2TotalsStandard,
        PrintTable::LoanLinesStandard}},
      {"hud1-page2-standard-signature.pdf",
       standard,
       standardSig,
       13250,
       {PrintTable::Page2Top, PrintTable::Page2Standard, PrintTable::Page2TotalsStandard,
        PrintTable::LoanLinesStandard, PrintTable::SignatureStandard}},
      {"hud1-page2-extended.pdf",
       extended,
       nullptr,
       13630,
       {PrintTable::Page2Top, PrintTable::Page2Extended, PrintTable::Page2TotalsExtended,
        PrintTable::LoanLinesExtended}},
      {"hud1-page2-extended-signature.pdf",
       extended,
       extendedSig,
       15700,
       {PrintTable::Page2Top, PrintTable::Page2Extended, PrintTable::Page2TotalsExtended,
        PrintTable::LoanLinesExtended, PrintTable::SignatureExtended}},
      {"hud1-page3.pdf", nullptr, page3, 13250, {PrintTable::SignaturePage3}},
  };
  for (const PageJob& job : jobs) {
    std::string path;
    ASSERT_TRUE(PrintPage(job, &path)) << job.file;
    ASSERT_TRUE(std::filesystem::exists(path)) << path;
    EXPECT_GT(std::filesystem::file_size(path), 2000u) << path;
  }
}

TEST_F(FormDrawing, ScreenFormWithEveryBoxOutlinedAsPng) {
  Library pntfrm("pntfrm32.dll");
  gPaintBackground = pntfrm.Find<PaintRespaBackgroundProc>("PaintRespaBackground");
  ASSERT_NE(gPaintBackground, nullptr);
  WNDCLASS wc{};
  wc.lpfnWndProc = FormWindowProc;
  wc.lpszClassName = "HudFormPicture";
  wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  ASSERT_NE(RegisterClass(&wc), 0);
  HWND window =
      CreateWindowEx(0, "HudFormPicture", "", WS_POPUP | WS_VISIBLE, 0, 0, ScreenFormWidth(),
                     ScreenFormHeight(), nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(window, nullptr);
  ProcessPendingMessages();
  const std::string path = OutputPath("hud1-screen-form.png");
  EXPECT_TRUE(SaveWindowScreenshot(window, path));
  EXPECT_GT(std::filesystem::file_size(path), 10000u);
  DestroyWindow(window);
  UnregisterClass("HudFormPicture", nullptr);
}
