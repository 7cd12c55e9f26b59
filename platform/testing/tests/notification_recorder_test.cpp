/*
** The notification recorder answering notifications itself and recording what a test asks
** of the notifying child while it waits.
*/
#include "platform/testing/gui_test.h"
#include "platform/testing/notification_recorder.h"

#include "platform/user/winuser.h"

#include <vector>

namespace {

constexpr int kChildId = 77;
constexpr UINT kNotifyNow = WM_USER + 1;  // tells the child to notify its parent with code wParam
std::vector<LRESULT> gReplies;            // what each notification of the child got back
int gParentSaw = 0;                       // commands the parent's own procedure received

LRESULT CALLBACK Notifier(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == kNotifyNow) {
    gReplies.push_back(SendMessage(GetParent(hwnd), WM_COMMAND,
                                   MAKEWPARAM(kChildId, static_cast<WORD>(wParam)),
                                   reinterpret_cast<LPARAM>(hwnd)));
    return 0;
  }
  if (msg == WM_USER + 2) return 4242;  // a question the test asks during a notification
  return DefWindowProc(hwnd, msg, wParam, lParam);
}

LRESULT CALLBACK CountingParent(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_COMMAND) {
    ++gParentSaw;
    return 1;  // the parent's own reply
  }
  return DefWindowProc(hwnd, msg, wParam, lParam);
}

void RegisterOnce(const char* name, WNDPROC procedure) {
  WNDCLASS wc{};
  if (GetClassInfo(nullptr, name, &wc)) return;
  wc.lpfnWndProc = procedure;
  wc.lpszClassName = name;
  RegisterClass(&wc);
}

class RecorderTest : public GuiTest {
 protected:
  void SetUp() override {
    GuiTest::SetUp();
    gReplies.clear();
    gParentSaw = 0;
    RegisterOnce("RecorderParent", CountingParent);
    RegisterOnce("RecorderChild", Notifier);
    parent_ = CreateWindow("RecorderParent", "", WS_POPUP | WS_VISIBLE, 0, 0, 100, 60, nullptr,
                           nullptr, nullptr, nullptr);
    child_ =
        CreateWindow("RecorderChild", "", WS_CHILD | WS_VISIBLE, 0, 0, 20, 20, parent_,
                     reinterpret_cast<HMENU>(static_cast<ULONG_PTR>(kChildId)), nullptr, nullptr);
  }
  void TearDown() override {
    DestroyWindow(parent_);
    GuiTest::TearDown();
  }
  HWND parent_ = nullptr;
  HWND child_ = nullptr;
};

}  // namespace

TEST_F(RecorderTest, AnAnswerRepliesInsteadOfTheParentAndNoValuePassesItOn) {
  NotificationRecorder recorder(parent_);
  recorder.AnswerWith([](const RecordedCommand& c) -> std::optional<LRESULT> {
    if (c.code == 9) return 7;
    return std::nullopt;
  });
  SendMessage(child_, kNotifyNow, 9, 0);
  SendMessage(child_, kNotifyNow, 3, 0);
  ASSERT_EQ(gReplies.size(), 2u);
  EXPECT_EQ(gReplies[0], 7);  // answered by the test
  EXPECT_EQ(gReplies[1], 1);  // the parent's own reply
  EXPECT_EQ(gParentSaw, 1);   // the answered one never reached the parent
  EXPECT_EQ(recorder.Codes(child_), (std::vector<int>{9, 3}));
}

TEST_F(RecorderTest, QueriesDuringANotificationAreRecordedWithTheirAnswersAndNotOutsideOne) {
  NotificationRecorder recorder(parent_);
  EXPECT_EQ(recorder.Ask(WM_USER + 2), 0);  // nothing in progress: nothing sent
  recorder.OnCommand([&](const RecordedCommand& c) {
    if (c.code == 5) recorder.Ask(WM_USER + 2, 11, 12);
  });
  SendMessage(child_, kNotifyNow, 4, 0);
  SendMessage(child_, kNotifyNow, 5, 0);
  ASSERT_EQ(recorder.Queries().size(), 1u);
  const RecordedQuery& q = recorder.Queries()[0];
  EXPECT_EQ(q.command, 1u);  // the second notification
  EXPECT_EQ(q.message, static_cast<UINT>(WM_USER + 2));
  EXPECT_EQ(q.wParam, 11u);
  EXPECT_EQ(q.lParam, 12);
  EXPECT_EQ(q.result, 4242);
}
