/*
** The fixture of GUI tests: one offscreen QApplication for the test program, a fresh
** ZARNE_ROOT per test, scripted message boxes, and at the end every window destroyed and
** every pending message and deferred deletion dispatched.
*/
#ifndef ZARNE_PLATFORM_TESTING_GUI_TEST_H
#define ZARNE_PLATFORM_TESTING_GUI_TEST_H

#include "platform/testing/recording_dc.h"
#include "platform/testing/screenshot.h"
#include "platform/testing/scripted_boxes.h"
#include "platform/testing/synthetic_input.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

/* The test program's application object, made on first use (offscreen unless told otherwise). */
void EnsureTestApplication();

class GuiTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  ScriptedMessageBoxes& Boxes() { return *boxes_; }
  /* The private root of this test, and a path below it. */
  const std::string& Root() const { return root_; }
  std::string PathInRoot(const std::string& name) const { return root_ + "/" + name; }

 private:
  std::unique_ptr<ScriptedMessageBoxes> boxes_;
  std::string root_;
  std::string previousRoot_;
  bool hadRoot_ = false;
};

#endif
