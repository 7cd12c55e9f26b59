/*
** The application fixture.
*/
#include "zarne_app_fixture.h"

#include "platform/framework/frame.h"
#include "platform/framework/mdi.h"
#include "platform/testing/dialog_driver.h"
#include "platform/testing/synthetic_input.h"
#include "platform/user/virtual_keys.h"
#include "platform/user/message_queue.h"
#include "platform/user/window_manager.h"
#include "shell/shell_ids.h"
#include "shell/zarne_mdi_client.h"

#include <QCoreApplication>

#include <filesystem>
#include <fstream>
#include <sstream>

void ZarneAppTest::StartApp() {
  app_ = std::make_unique<ZarneApp>();
  app_->InitInstance();
  PumpUntilIdle();
}

int ZarneAppTest::PumpUntilIdle() {
  MSG msg;
  for (int guard = 0; guard < 100000 && PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE); ++guard) {
    if (msg.message == WM_QUIT) {
      quitSeen_ = true;
      quitCode_ = static_cast<int>(msg.wParam);
      continue;
    }
    if (app_ && app_->ProcessAppMsg(msg)) continue;
    TranslateMessage(&msg);
    DispatchMessage(&msg);
  }
  TApplication::DeleteCondemned();
  return quitCode_;
}

ZarneMDIClient* ZarneAppTest::Client() const {
  return Frame() ? static_cast<ZarneMDIClient*>(Frame()->GetClientWindow()) : nullptr;
}

void ZarneAppTest::FileCommandByKeys(char letter, const std::string& number) {
  DialogDriver driver;
  driver.OnDialog(IDD_FILEDLG, [&](HWND dialog) {
    SetFocus(FindControl(dialog, 101));
    TypeIntoDialog(dialog, number);
    PressDialogKey(dialog, VK_RETURN);
    if (IsWindowVisible(dialog)) PressButton(dialog, IDCANCEL);
  });
  SetFocus(Frame()->HWindow);
  PressKey('F', Qt::AltModifier);
  PressKey(letter);
  PumpUntilIdle();
  EXPECT_EQ(driver.Pending(), 0u) << "the file dialog did not open";
}

bool ZarneAppTest::CloseApp() {
  if (!Frame() || !Frame()->HWindow) return true;
  Frame()->CloseWindow();
  PumpUntilIdle();
  return !Frame() || !Frame()->HWindow;
}

void ZarneAppTest::TearDown() {
  if (app_) {
    CloseApp();
    app_.reset();
  }
  GuiTest::TearDown();
}

bool ZarneAppTest::FrameShown() const {
  return Frame() && Frame()->HWindow && IsWindowVisible(Frame()->HWindow);
}

std::vector<std::string> ZarneAppTest::BoxTexts() {
  std::vector<std::string> texts;
  for (const MessageBoxRequest& box : Boxes().Shown()) texts.push_back(box.text);
  return texts;
}

std::string ZarneAppTest::ReadHostFile(const std::string& path) const {
  std::ifstream in(path, std::ios::binary);
  std::stringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

void ZarneAppTest::WriteHostFile(const std::string& path, const std::string& bytes) const {
  std::filesystem::create_directories(std::filesystem::path(path).parent_path());
  std::ofstream(path, std::ios::binary) << bytes;
}

void ZarneAppTest::WriteIni(const std::string& text) const {
  WriteHostFile(Root() + "/windows/zarne.ini", text);
}
