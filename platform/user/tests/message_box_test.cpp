#include "platform/user/message_box.h"

#include <gtest/gtest.h>

#include <vector>

TEST(MessageBoxTest, DefaultButtonFollowsTypeAndFallsBackToFirst) {
  EXPECT_EQ(DefaultMessageBoxAnswer(MB_OK), IDOK);
  EXPECT_EQ(DefaultMessageBoxAnswer(MB_YESNO), IDYES);
  EXPECT_EQ(DefaultMessageBoxAnswer(MB_YESNO | MB_DEFBUTTON2), IDNO);
  EXPECT_EQ(DefaultMessageBoxAnswer(MB_YESNOCANCEL | MB_DEFBUTTON3), IDCANCEL);
  EXPECT_EQ(DefaultMessageBoxAnswer(MB_OK | MB_DEFBUTTON3), IDOK);
}

TEST(MessageBoxTest, PresenterSeesTheBoxAndItsAnswerIsReturned) {
  std::vector<MessageBoxRequest> seen;
  auto old = SetMessageBoxPresenter([&](const MessageBoxRequest& box) {
    seen.push_back(box);
    return IDNO;
  });
  EXPECT_EQ(MessageBox(nullptr, "Directory C:\\X does not exist.", "Zarne Message",
                       MB_YESNO | MB_ICONQUESTION),
            IDNO);
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].caption, "Zarne Message");
  EXPECT_EQ(seen[0].type & MB_ICONMASK, static_cast<UINT>(MB_ICONQUESTION));

  SetMessageBoxPresenter(old);
  EXPECT_EQ(MessageBox(nullptr, "text", nullptr, MB_OKCANCEL), IDOK);  // stderr default
  EXPECT_EQ(seen.size(), 1u);
}
