/*
** The in-process fixture of the application tests: a fresh root, then ZarneApp's start-up
** run in this test program (the frame offscreen), with every box recorded. At the end the
** application is asked to close and is deleted, as the program's end does.
*/
#ifndef ZARNE_SHELL_TESTS_APP_ZARNE_APP_FIXTURE_H
#define ZARNE_SHELL_TESTS_APP_ZARNE_APP_FIXTURE_H

#include "platform/testing/gui_test.h"
#include "shell/zarne_app.h"

class ZarneMDIClient;

#include <memory>
#include <string>
#include <vector>

class ZarneAppTest : public GuiTest {
 protected:
  void TearDown() override;

  /* Runs the start-up; the boxes answer from the queue, else with their default button. */
  void StartApp();
  /* Runs the loop until it is empty (start-up posts the quit when it fails). */
  int PumpUntilIdle();
  /* Closes the frame as File|Exit does; answers whether everything agreed. */
  bool CloseApp();

  TFrameWindow* Frame() const { return app_ ? app_->GetMainWindow() : nullptr; }
  ZarneMDIClient* Client() const;
  /* Alt+F, the File menu item's letter, then the number typed into the file dialog and
     Enter (Cancel when the dialog stays); fails the test when the dialog did not open. */
  void FileCommandByKeys(char letter, const std::string& number);
  bool FrameShown() const;
  std::vector<std::string> BoxTexts();
  std::string ZarneDir() const { return Root() + "/drive_c/ZARNE"; }
  std::string ReadHostFile(const std::string& path) const;
  void WriteHostFile(const std::string& path, const std::string& bytes) const;
  /* The program's settings file, as text. */
  std::string Ini() const { return ReadHostFile(Root() + "/windows/zarne.ini"); }
  void WriteIni(const std::string& text) const;

  std::unique_ptr<ZarneApp> app_;
  bool quitSeen_ = false;
  int quitCode_ = -1;
};

#endif
