/*
** The second workstation of the office day: zarne32's application in a program of its own,
** on its own root and settings (whose zarne.ini names the shared database directory), driven
** by keys. It reads its orders one a line from its standard input and answers each on its
** standard output:
**   open NUMBER     File Open: "opened NUMBER", or "refused <the first box's text>"
**   close           File Close of the front file: "closed"
**   print NUMBER    File Open, Accounting | Disburse, Print Checks with the number and date
**                   it proposes, on the PDF device, tried again while another workstation
**                   prints: "printed <the file's check numbers> after <n> refused"
**   quit            File Exit: the program ends
** It says "ready" once started.
*/
#include "acceptance/app_driving.h"
#include "accounting/ledger_rows.h"
#include "grid/tessel_codes.h"
#include "platform/framework/frame.h"
#include "platform/testing/common_dialog_answers.h"
#include "platform/testing/dialog_driver.h"
#include "platform/testing/gui_test.h"
#include "platform/testing/scripted_boxes.h"
#include "platform/user/winuser.h"
#include "shell/shell_ids.h"
#include "shell/zarne_app.h"

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <vector>
#include <iostream>
#include <memory>
#include <sstream>
#include <string>

namespace {

void Say(const std::string& line) {
  std::printf("%s\n", line.c_str());
  std::fflush(stdout);
}

std::string FirstBox(const ScriptedMessageBoxes& boxes) {
  return boxes.Shown().empty() ? std::string("no box") : boxes.Shown().front().text;
}

/* The first box of a print run other than the one saying where its checks went; "" for none. */
std::string FirstRefusal(const ScriptedMessageBoxes& boxes) {
  for (const MessageBoxRequest& box : boxes.Shown())
    if (box.caption != "Printed to a File") return box.text;
  return "";
}

void Open(ZarneApp& app, ScriptedMessageBoxes& boxes, const std::string& number) {
  boxes.Clear();
  if (FileCommandByKeys(app, 'O', number)) Say("opened " + number);
  else Say("refused " + FirstBox(boxes));
}

/* One Print Checks run from the disbursing dialog of the front file: the numbers of its
   checks afterwards (0 for a check still unprinted). */
std::vector<long> PrintRun(ZarneApp& app) {
  CommonDialogAnswers answers;
  DialogDriver driver;
  std::vector<long> numbers;
  driver.OnDialog(20900, [&](HWND dialog) {
    driver.OnDialog(20905, [](HWND print) { PressButton(print, IDOK); });
    answers.ChoosePrinter("PDF");
    PressButton(dialog, 502);
    HWND grid = FindControl(dialog, 300);
    for (LRESULT i = 0, n = SendMessage(grid, TSM_GETROWCOUNT, 0, 0); i < n; ++i) {
      TDisburseCheckRow row{};
      SendMessage(grid, TSM_SETCURSOR, 0, i);
      SendMessage(grid, TSM_GETROW, TSREF_CURSOR, reinterpret_cast<LPARAM>(&row));
      numbers.push_back(row.Number);
    }
    PressButton(dialog, IDOK);
  });
  SendMessage(app.GetMainWindow()->HWindow, WM_COMMAND, CM_DISBURSE, 0);
  PumpApp(app);
  return numbers;
}

/* Prints the file's Ready checks; a run refused while another workstation prints (its box
   shown, nothing printed) is tried again, as the user would, a moment later. */
void Print(ZarneApp& app, ScriptedMessageBoxes& boxes, const std::string& number) {
  boxes.Clear();
  if (!FileCommandByKeys(app, 'O', number)) {
    Say("refused " + FirstBox(boxes));
    return;
  }
  std::vector<long> numbers;
  int refusals = 0;
  for (int attempt = 0; attempt < 200; ++attempt) {
    boxes.Clear();
    numbers = PrintRun(app);
    bool unprinted = std::count(numbers.begin(), numbers.end(), 0L) > 0;
    if (!unprinted || FirstRefusal(boxes).empty()) break;
    ++refusals;
    struct timespec pause {
      0, 100'000'000
    };
    nanosleep(&pause, nullptr);
  }
  std::string line = "printed";
  for (long n : numbers) line += " " + std::to_string(n);
  Say(line + " after " + std::to_string(refusals) + " refused" +
      (FirstRefusal(boxes).empty() ? "" : " box " + FirstRefusal(boxes)));
  FileMenuByKeys(app, 'C');
}

}  // namespace

int main() {
  EnsureTestApplication();
  ScriptedMessageBoxes boxes;
  auto app = std::make_unique<ZarneApp>();
  app->InitInstance();
  PumpApp(*app);
  if (!app->StartedUp()) {
    Say("no start " + FirstBox(boxes));
    return 1;
  }
  Say("ready");
  for (std::string line; std::getline(std::cin, line);) {
    std::istringstream order(line);
    std::string verb, number;
    order >> verb >> number;
    if (verb == "open") Open(*app, boxes, number);
    else if (verb == "close") {
      FileMenuByKeys(*app, 'C');
      Say("closed");
    } else if (verb == "print") Print(*app, boxes, number);
    else if (verb == "quit") break;
  }
  app->GetMainWindow()->CloseWindow();
  PumpApp(*app);
  app.reset();
  return 0;
}
