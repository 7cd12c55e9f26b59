/*
** TPrintout and TPrinter: the page loop on a printer DC, the abort window and its abort
** procedure, the report of printer errors, and telling the user where a job printed to a
** file went.
*/
#include "platform/framework/printer.h"

#include "platform/framework/print_dialog.h"
#include "platform/framework/window.h"
#include "platform/gdi/gdi_print.h"
#include "platform/kernel/message_paths.h"
#include "platform/user/message_box.h"
#include "platform/user/message_queue.h"
#include "platform/user/window_manager.h"
#include "platform/user/window_styles.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstring>
#include <vector>

/* ---- printout ---- */

TPrintout::TPrintout(const char* title) : Title(title ? title : "") {}

TPrintout::~TPrintout() = default;

void TPrintout::GetDialogInfo(int& minPage, int& maxPage, int& selFromPage, int& selToPage) {
  minPage = 1;
  maxPage = 1;
  selFromPage = selToPage = 0;
}

void TPrintout::SetPrintParams(TPrintDC* dc, TSize pageSize) {
  DC = dc;
  PageSize = pageSize;
}

void TPrintout::BeginDocument(int, int, unsigned) {}

void TPrintout::PrintPage(int, TRect&, unsigned) {}

/* ---- abort window ---- */

namespace {

// Owner: platform/framework.
HDC gUserAbortDC = nullptr;
bool gUserAbort = false;

/* The small window shown while a document prints; its Cancel ends the job after the page. */
class TPrinterAbortWindow : public TWindow {
 public:
  TPrinterAbortWindow(TWindow* parent, const char* title, const char* device)
      : TWindow(parent, "Printing") {
    Attr.Style = WS_POPUP | WS_CAPTION | WS_BORDER;
    Attr.X = 100;
    Attr.Y = 100;
    Attr.W = 300;
    Attr.H = 110;
    char text[256];
    std::snprintf(text, sizeof text, "Printing \"%s\" on %s", title, device);
    line_ = text;
    DisableAutoCreate();  // made by the printer, not with its parent
  }
  const char* GetClassName() override { return "ZarnePrintAbort"; }
  void SetupWindow() override {
    TWindow::SetupWindow();
    // The button is the system's; without it the window still shows the job.
    CreateWindow("button", "Cancel", WS_CHILD | WS_VISIBLE, 110, 45, 80, 24, HWindow,
                 reinterpret_cast<HMENU>(static_cast<ULONG_PTR>(IDCANCEL)), *GetModule(), nullptr);
  }
  void Paint(TDC& dc, bool, TRect&) override { dc.TextOut(10, 12, line_.c_str()); }
  LRESULT EvCommand(UINT id, HWND, UINT) override {
    if (id == IDCANCEL) TPrinter::SetUserAbort();
    return 0;
  }

 private:
  std::string line_;
};

BOOL CALLBACK PrinterAbortProc(HDC dc, int) {
  // Let the abort window's Cancel (and paint) through while pages go out.
  MSG msg;
  while (!gUserAbort && PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      gUserAbort = true;
      break;
    }
    TranslateMessage(&msg);
    DispatchMessage(&msg);
  }
  if (gUserAbort) gUserAbortDC = dc;
  return !gUserAbort;
}

const char* PrinterErrorText(int error) {
  switch (error) {
    case SP_OUTOFDISK: return "There is not enough disk space for the print job.";
    case SP_OUTOFMEMORY: return "There is not enough memory for the print job.";
    default: return "The printer could not print the document.";
  }
}

}  // namespace

/* ---- printer ---- */

TPrinter::TPrinter(TApplication*) : Data(new TPrintDialogData) { ClearDevice(); }

TPrinter::~TPrinter() { delete Data; }

void TPrinter::ClearDevice() {
  GdiPrinter printer = GdiDefaultPrinter();
  Data->SetDevNames(printer.driver.c_str(), printer.device.c_str(), printer.port.c_str());
  DEVMODE mode{};
  if (GdiDefaultDevMode(printer.device.c_str(), &mode)) Data->SetDevMode(&mode);
  else Data->ClearDevMode();
}

void TPrinter::SetUserAbort(HDC dc) {
  gUserAbort = true;
  gUserAbortDC = dc;
}

bool TPrinter::Setup(TWindow* parent) {
  DWORD flags = Data->Flags;
  Data->Flags = PD_PRINTSETUP;
  bool ok = TPrintDialog(parent, *Data).Execute() == IDOK;
  Data->Flags = flags;
  return ok;
}

bool TPrinter::ExecPrintDialog(TWindow* parent) {
  return TPrintDialog(parent, *Data).Execute() == IDOK;
}

void TPrinter::ReportError(TWindow* parent, TPrintout& printout) {
  if (!Error || Error == SP_APPABORT || Error == SP_USERABORT) return;
  char text[400];
  std::snprintf(text, sizeof text, "\"%s\" was not printed on %s: %s", printout.GetTitle(),
                *Data->GetDeviceName() ? Data->GetDeviceName() : "the printer",
                PrinterErrorText(Error));
  MessageBox(parent && parent->HWindow ? parent->HWindow : GetFocus(), text, "Printer Error",
             MB_OK | MB_ICONSTOP);
}

int TPrinter::RunPages(TPrintDC& dc, TPrintout& printout, int fromPage, int toPage,
                       unsigned flags) {
  if (dc.StartDoc(printout.GetTitle()) <= 0) return SP_ERROR;
  printout.BeginDocument(fromPage, toPage, flags);
  int result = 0;
  TRect pageRect(TPoint(0, 0), printout.GetPageSize());
  for (int page = fromPage; page <= toPage && printout.HasPage(page); ++page) {
    if (dc.StartPage() <= 0) {
      result = SP_ERROR;
      break;
    }
    TRect rect(pageRect);
    printout.PrintPage(page, rect, flags);
    int ended = dc.EndPage();
    if (ended <= 0) {
      result = ended < 0 ? ended : SP_ERROR;
      break;
    }
    if (page == INT_MAX) break;
  }
  printout.EndDocument();
  if (result == 0) {
    if (dc.EndDoc() <= 0) result = gUserAbort ? SP_APPABORT : SP_ERROR;
  } else if (result != SP_APPABORT) {
    dc.AbortDoc();
  }
  return result;
}

namespace {

/* The device mode the job is printed with: the setup's own (or the device's default) with the
** copies asked for multiplied into its count, so the device makes them from one pass of the
** pages; the printout's page loop never runs twice (its pages are one pass over tables). */
std::vector<unsigned char> ModeWithCopies(const DEVMODE* given, const char* device, int copies) {
  DEVMODE defaults{};
  if (!given) {
    if (!GdiDefaultDevMode(device, &defaults)) return {};
    given = &defaults;
  }
  size_t stored = (given->dmSize ? given->dmSize : sizeof(DEVMODE)) + given->dmDriverExtra;
  std::vector<unsigned char> bytes(std::max(stored, sizeof(DEVMODE)), 0);
  std::memcpy(bytes.data(), given, stored);
  DEVMODE mode;
  std::memcpy(&mode, bytes.data(), sizeof mode);
  int already = (mode.dmFields & DM_COPIES) && mode.dmCopies > 0 ? mode.dmCopies : 1;
  mode.dmCopies = static_cast<SHORT>(std::clamp(already * std::max(copies, 1), 1, 9999));
  mode.dmFields |= DM_COPIES;
  if (!mode.dmSize) mode.dmSize = sizeof(DEVMODE);
  std::memcpy(bytes.data(), &mode, sizeof mode);
  return bytes;
}

}  // namespace

void TPrinter::ProposePageRange() {
  // With all pages chosen the dialog's From and To show the printout's whole range (an unset
  // range showed "To: 1" for a two-page document); a range the user chose keeps what lies
  // within the printout's pages.
  if (!(Data->Flags & PD_PAGENUMS) || Data->FromPage < Data->MinPage ||
      Data->FromPage > Data->MaxPage)
    Data->FromPage = Data->MinPage;
  if (!(Data->Flags & PD_PAGENUMS) || Data->ToPage < Data->FromPage || Data->ToPage > Data->MaxPage)
    Data->ToPage = Data->MaxPage;
}

bool TPrinter::Print(TWindow* parent, TPrintout& printout, bool prompt) {
  Error = 0;
  int selFrom = 0, selTo = 0;
  printout.GetDialogInfo(Data->MinPage, Data->MaxPage, selFrom, selTo);
  if (selFrom) Data->Flags &= ~PD_NOSELECTION;
  else Data->Flags |= PD_NOSELECTION;
  ProposePageRange();
  if (prompt && !ExecPrintDialog(parent)) return false;

  // All pages means every page the printout has; a range only when the dialog asked for one.
  int fromPage = 1, toPage = INT_MAX;
  if (prompt && (Data->Flags & PD_PAGENUMS)) {
    fromPage = Data->FromPage;
    toPage = Data->ToPage;
  } else if (prompt && (Data->Flags & PD_SELECTION)) {
    fromPage = selFrom;
    toPage = selTo;
  }

  std::vector<unsigned char> mode =
      ModeWithCopies(Data->GetDevMode(), Data->GetDeviceName(), Data->Copies);
  TPrintDC dc(Data->GetDriverName(), Data->GetDeviceName(), Data->GetOutputName(),
              mode.empty() ? Data->GetDevMode() : reinterpret_cast<const DEVMODE*>(mode.data()));
  if (!dc.IsValid()) {
    Error = SP_ERROR;
    ReportError(parent, printout);
    return false;
  }
  printout.SetPrintParams(&dc, TSize(dc.GetDeviceCaps(HORZRES), dc.GetDeviceCaps(VERTRES)));
  gUserAbort = false;
  gUserAbortDC = nullptr;
  TPrinterAbortWindow abortWindow(parent, printout.GetTitle(), Data->GetDeviceName());
  abortWindow.Create();
  abortWindow.Show(SW_SHOWNA);
  dc.SetAbortProc(PrinterAbortProc);
  // While pages go out only the abort window takes input: the messages the abort procedure
  // lets through must not close or change the window the job prints for.
  HWND owner = parent ? parent->HWindow : nullptr;
  while (owner && ::GetParent(owner)) owner = ::GetParent(owner);
  bool ownerDisabled = owner && ::IsWindowEnabled(owner);
  if (ownerDisabled) ::EnableWindow(owner, FALSE);

  printout.BeginPrinting();
  Error = RunPages(dc, printout, fromPage, toPage, pfBoth);
  printout.EndPrinting();

  if (ownerDisabled) ::EnableWindow(owner, TRUE);
  abortWindow.Destroy();
  printout.SetPrintParams(nullptr, TSize(0, 0));
  if (Error) {
    ReportError(parent, printout);
    return false;
  }
  std::string file = GdiPrintOutputPath(dc.GetHDC());
  if (!file.empty()) PrintedFiles.push_back(file);
  if (TellEachFile) TellPrintedFiles(parent, printout.GetTitle());
  return true;
}

namespace {

/* A run of more files than this names its first and last only, so the box stays on the screen. */
constexpr size_t kFilesNamedOneByOne = 8;

/* Where the jobs went, as the desktop names the files: one file by its path; several in one
** directory by that directory and their names. */
std::string PrintedFilesText(const std::vector<std::string>& files, const char* what) {
  std::vector<std::string> shown;
  for (const std::string& file : files) shown.push_back(PathForMessages(file.c_str()));
  std::string text = std::string("\"") + (what ? what : "") + "\" was printed to ";
  if (shown.size() == 1) return text + "the PDF file\n" + shown[0];
  std::string directory = shown[0].substr(0, shown[0].find_last_of('/') + 1);
  bool oneDirectory = std::all_of(shown.begin(), shown.end(), [&](const std::string& path) {
    return path.compare(0, directory.size(), directory) == 0 &&
           path.find('/', directory.size()) == std::string::npos;
  });
  text += std::to_string(shown.size()) + " PDF files";
  if (oneDirectory) {
    text += " in\n" + directory;
    for (std::string& path : shown) path.erase(0, directory.size());
  }
  if (shown.size() > kFilesNamedOneByOne)
    return text + "\n" + shown.front() + " to " + shown.back();
  for (const std::string& path : shown) text += "\n" + path;
  return text;
}

}  // namespace

void TPrinter::TellPrintedFiles(TWindow* parent, const char* what) {
  if (PrintedFiles.empty()) return;
  std::string text = PrintedFilesText(PrintedFiles, what);
  PrintedFiles.clear();
  MessageBox(parent && parent->HWindow ? parent->HWindow : GetFocus(), text.c_str(),
             "Printed to a File", MB_OK | MB_ICONINFORMATION);
}
