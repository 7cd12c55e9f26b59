/*
** A window's own message box: a null caption shows the application's name, an empty caption
** shows none, the window owns the box; the free MessageBox keeps its own caption rule.
*/
#include "platform/framework/application.h"
#include "platform/framework/window.h"
#include "platform/testing/gui_test.h"
#include "platform/testing/scripted_boxes.h"
#include "platform/user/message_box.h"
#include "platform/user/winuser.h"

namespace {

class WindowMessageBoxTest : public GuiTest {};

TEST_F(WindowMessageBoxTest, NullCaptionIsTheApplicationsNameAndEmptyIsNone) {
  TApplication application("Zarne");
  TWindow window(nullptr, "Owner");
  ASSERT_TRUE(window.Create());
  ScriptedMessageBoxes boxes;
  boxes.QueueAnswer(IDNO);
  EXPECT_EQ(window.MessageBox("Suppress zero balances?", "", MB_YESNO), IDNO);
  EXPECT_EQ(window.MessageBox("Posted."), IDOK);
  EXPECT_EQ(window.MessageBox("Void this check?", "Zarne Message", MB_YESNO | MB_ICONQUESTION),
            IDYES);
  ASSERT_EQ(boxes.Shown().size(), 3u);
  EXPECT_EQ(boxes.Shown()[0].caption, "");
  EXPECT_EQ(boxes.Shown()[0].type, static_cast<UINT>(MB_YESNO));
  EXPECT_EQ(boxes.Shown()[0].owner, window.HWindow);
  EXPECT_EQ(boxes.Shown()[1].caption, "Zarne");
  EXPECT_EQ(boxes.Shown()[1].type, static_cast<UINT>(MB_OK));
  EXPECT_EQ(boxes.Shown()[2].caption, "Zarne Message");
  // The free call, also when written inside a window class, says "Error" for a null caption.
  window.MessageBox(window.HWindow, "Gone", nullptr, MB_OK);
  MessageBox(nullptr, "Gone", nullptr, MB_OK);
  ASSERT_EQ(boxes.Shown().size(), 5u);
  EXPECT_EQ(boxes.Shown()[3].caption, "Error");
  EXPECT_EQ(boxes.Shown()[4].caption, "Error");
}

}  // namespace
