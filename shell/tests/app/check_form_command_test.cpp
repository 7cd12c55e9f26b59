/*
** Options > Check Form in the running application: the layout editor opens over the MDI
** client with the layout start-up read, and its OK writes chkform.dat in the check-control
** directory and changes the program's layout.
*/
#include "zarne_app_fixture.h"

#include "platform/framework/frame.h"
#include "platform/kernel/paths.h"
#include "platform/testing/dialog_driver.h"
#include "platform/user/winuser.h"
#include "shell/shell_ids.h"
#include "shell/zarne_mdi_client.h"
#include "tableaccess/check_form_settings.h"
#include "tableaccess/px_globals.h"
#include "tableaccess/value_forms.h"

#include <fstream>
#include <iterator>
#include <vector>

namespace {

class CheckFormCommandTest : public ZarneAppTest {};

TEST_F(CheckFormCommandTest, CheckFormEditsTheLayoutOverTheClientAndOkWritesIt) {
  StartApp();
  ASSERT_TRUE(app_->StartedUp());
  Boxes().Clear();
  DialogDriver driver;
  HWND parent = nullptr;
  std::string shownX;
  driver.OnDialog(20002, [&](HWND form) {
    parent = GetParent(form);
    driver.OnDialog(20003, [&](HWND position) {
      shownX = ControlTextOf(position, 101);
      SetControlText(position, 101, "1250");
      SetControlText(position, 102, "375");
      PressButton(position, IDOK);
    });
    PressButton(form, 106);  // the check number's button
    PressButton(form, IDOK);
  });
  SendMessage(Frame()->HWindow, WM_COMMAND, CM_CHECKFORM, 0);
  PumpUntilIdle();
  EXPECT_EQ(Frame()->HWindow, parent);  // made over the client, owned by its top-level window
  EXPECT_EQ("-1000", shownX);           // a new check-control directory: every position unplaced
  EXPECT_EQ(1250, gCheckFormLayout[8]);
  EXPECT_EQ(375, gCheckFormLayout[9]);
  char path[MAX_PATH];
  BuildPath(path, gCheckCtlDir, "chkform.dat", nullptr, sizeof path);
  std::ifstream in(HostPathFromWindowsPath(path), std::ios::binary);
  const std::vector<unsigned char> bytes(std::istreambuf_iterator<char>(in), {});
  ASSERT_EQ(128u, bytes.size());
  // 1250 = 0x04E2 and 375 = 0x0177, low byte first; -1000 = 0xFC18.
  EXPECT_EQ(0xE2, bytes[16]);
  EXPECT_EQ(0x04, bytes[17]);
  EXPECT_EQ(0x77, bytes[18]);
  EXPECT_EQ(0x01, bytes[19]);
  EXPECT_EQ(0x18, bytes[20]);
  EXPECT_EQ(0xFC, bytes[21]);
  EXPECT_TRUE(Boxes().Shown().empty());
}

}  // namespace
