/*
** The statement windows the shell opens: making room by closing the earliest one (which
** saves it) or refusing with a box, following a maximized front window, and the starting
** size of a child in wide and narrow frames.
*/
#include "zarne_app_fixture.h"

#include "filenumber/file_windows.h"
#include "platform/framework/mdi.h"
#include "platform/user/window_manager.h"
#include "platform/user/window_styles.h"
#include "shell/zarne_mdi_client.h"
#include "statement/respa_window.h"
#include "tableaccess/px_globals.h"
#include "tableaccess/px_record.h"

#include <algorithm>

namespace {

class FileWindowsTest : public ZarneAppTest {
 protected:
  void StartWith(const std::string& options) {
    WriteIni("[HUD1Options]\r\n" + options);
    StartApp();
    ASSERT_TRUE(app_->StartedUp());
    Boxes().Clear();
  }
  TMDIChild* Open(const std::string& number) {
    OpenFileWindow(Client(), number.c_str());
    PumpUntilIdle();
    return FindFileWindow(Client(), number.c_str());
  }
  RespaWindow* ViewOf(TMDIChild* child) {
    return dynamic_cast<RespaWindow*>(child->GetClientWindow());
  }
  std::string StoredBuyerName(const std::string& number) {
    TPXRecord record(gTables[kBuyerTable], true);
    record.SetString(1, number.c_str());
    if (!record.Seek(0, 0)) return "<none>";
    char name[64] = "";
    record.Read(0);
    record.GetString(2, name, sizeof name);
    return name;
  }
};

TEST_F(FileWindowsTest, OpeningPastTheMaximumClosesTheEarliestWindowAndSavesIt) {
  StartWith("MaxWindows=2\r\nAutoClose=1\r\n");
  TMDIChild* first = Open("W1");
  ASSERT_NE(first, nullptr);
  ASSERT_NE(Open("W2"), nullptr);
  // Typed into the first file while it is behind the second.
  ViewOf(first)->records[0]->SetString(2, "Saved On Close");
  ASSERT_NE(Open("W3"), nullptr);
  EXPECT_EQ(FindFileWindow(Client(), "W1"), nullptr);
  EXPECT_NE(FindFileWindow(Client(), "W2"), nullptr);
  EXPECT_EQ(CountFileWindows(Client()), 2);
  EXPECT_EQ(StoredBuyerName("W1"), "Saved On Close");
  EXPECT_TRUE(Boxes().Shown().empty());
}

TEST_F(FileWindowsTest, WithoutAutoCloseTheMaximumIsRefusedWithABox) {
  StartWith("MaxWindows=1\r\nAutoClose=0\r\n");
  ASSERT_NE(Open("V1"), nullptr);
  EXPECT_EQ(Open("V2"), nullptr);
  ASSERT_EQ(Boxes().Shown().size(), 1u);
  EXPECT_EQ(Boxes().Shown()[0].text, "You must close a file before opening another.");
  EXPECT_EQ(Boxes().Shown()[0].caption, "");
  EXPECT_EQ(Boxes().Shown()[0].type & MB_ICONMASK, static_cast<UINT>(MB_ICONEXCLAMATION));
  EXPECT_EQ(Boxes().Shown()[0].owner, Client()->HWindow);
  EXPECT_EQ(StoredBuyerName("V2"), "<none>");
  EXPECT_NE(FindFileWindow(Client(), "V1"), nullptr);
}

TEST_F(FileWindowsTest, AMaximizedFrontWindowMakesTheNextOneMaximized) {
  StartWith("MaxWindows=3\r\nMaximize=0\r\n");
  TMDIChild* first = Open("M1");
  ASSERT_NE(first, nullptr);
  EXPECT_FALSE(IsZoomed(first->HWindow));
  TMDIChild* second = Open("M2");
  ASSERT_NE(second, nullptr);
  EXPECT_FALSE(IsZoomed(second->HWindow));
  ShowWindow(second->HWindow, SW_MAXIMIZE);
  PumpUntilIdle();
  TMDIChild* third = Open("M3");
  ASSERT_NE(third, nullptr);
  EXPECT_TRUE(IsZoomed(third->HWindow));
}

TEST_F(FileWindowsTest, AFrontWindowOfNormalSizeOverridesMaximize) {
  StartWith("MaxWindows=3\r\nMaximize=1\r\n");
  TMDIChild* first = Open("N1");
  ASSERT_NE(first, nullptr);
  EXPECT_TRUE(IsZoomed(first->HWindow));
  ShowWindow(first->HWindow, SW_RESTORE);
  PumpUntilIdle();
  TMDIChild* second = Open("N2");
  ASSERT_NE(second, nullptr);
  EXPECT_FALSE(IsZoomed(second->HWindow));
}

TEST_F(FileWindowsTest, AChildStartsAtMost640WideAnd74LowerThanTheClientArea) {
  StartWith("MaxWindows=3\r\nMaximize=0\r\n");
  RECT area{};
  GetClientRect(Client()->HWindow, &area);
  ASSERT_GT(area.right, 640);
  TMDIChild* wide = Open("S1");
  ASSERT_NE(wide, nullptr);
  RECT box{};
  GetWindowRect(wide->HWindow, &box);
  EXPECT_EQ(box.right - box.left, 640);
  EXPECT_EQ(box.bottom - box.top, area.bottom - 74);

  ShowWindow(Frame()->HWindow, SW_RESTORE);
  MoveWindow(Frame()->HWindow, 0, 0, 520, 480, TRUE);
  PumpUntilIdle();
  GetClientRect(Client()->HWindow, &area);
  ASSERT_LT(area.right, 640);
  TMDIChild* narrow = Open("S2");
  ASSERT_NE(narrow, nullptr);
  GetWindowRect(narrow->HWindow, &box);
  EXPECT_EQ(box.right - box.left, area.right);
  EXPECT_EQ(box.bottom - box.top, area.bottom - 74);
}

}  // namespace
