/*
** The drawing wrappers: geometry arithmetic, objects selected through a TDC drawn with and
** put back when it ends, mapping calls passed through, and memory and client DCs drawing
** into what they were made for.
*/
#include "platform/framework/dc.h"
#include "platform/gdi/gdi.h"
#include "platform/kernel/modules.h"
#include "platform/framework/gdi_objects.h"
#include "platform/testing/gui_test.h"
#include "platform/user/winuser.h"

namespace {

TEST(Geometry, RectanglesMeetJoinAndHoldPointsByTheirEdges) {
  TRect a(0, 0, 10, 10), b(5, 5, 20, 20), far(30, 30, 40, 40);
  EXPECT_EQ(a & b, TRect(5, 5, 10, 10));
  EXPECT_TRUE((a & far).IsEmpty());
  EXPECT_EQ(a | b, TRect(0, 0, 20, 20));
  EXPECT_EQ(TRect() | b, b);
  EXPECT_TRUE(a.Contains(TPoint(0, 0)));
  EXPECT_FALSE(a.Contains(TPoint(10, 5)));
  EXPECT_TRUE(a.Touches(b));
  EXPECT_FALSE(a.Touches(TRect(10, 0, 20, 10)));
  EXPECT_EQ(TRect(5, 6, 1, 2).Normalize(), TRect(1, 2, 5, 6));
  EXPECT_EQ(a.OffsetBy(3, 4).TopLeft(), TPoint(3, 4));
  EXPECT_EQ(TRect(TPoint(2, 3), TSize(4, 5)).BottomRight(), TPoint(6, 8));
  EXPECT_EQ(TPoint(5, 5) - TPoint(2, 1), TSize(3, 4));
  TColor c(0x10, 0x20, 0x30);
  EXPECT_EQ(static_cast<COLORREF>(c), 0x302010u);
  EXPECT_EQ(c.Blue(), 0x30);
}

class DrawingWrappersTest : public GuiTest {};

TEST_F(DrawingWrappersTest, SelectedObjectsDrawAndAreRestoredWhenTheDCEnds) {
  HDC raw = GdiCreateRecordingDC();
  HGDIOBJ originalFont = GetCurrentObject(raw, OBJ_FONT);
  HGDIOBJ originalPen = GetCurrentObject(raw, OBJ_PEN);
  {
    TDC dc(raw);
    TPen pen(TColor(255, 0, 0), 2);
    TFont font("Times New Roman", 128, 0, 0, 0, FW_BOLD);
    TBrush brush(TColor(0, 0, 255));
    dc.SelectObject(pen);
    dc.SelectObject(font);
    dc.SelectObject(brush);
    dc.SetTextAlign(TA_RIGHT);
    dc.TextOut(100, 200, "Total");
    dc.Rectangle(TRect(1, 2, 3, 4));
    std::vector<GdiDrawRecord> calls = GdiRecordedCalls(raw);
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0].call, "TextOut");
    EXPECT_EQ(calls[0].text, "Total");
    EXPECT_EQ(calls[0].fontFace, "Times New Roman");
    EXPECT_EQ(calls[0].fontWeight, FW_BOLD);
    EXPECT_EQ(calls[0].flags, static_cast<UINT>(TA_RIGHT));
    EXPECT_EQ(calls[1].penColor, RGB(255, 0, 0));
    EXPECT_EQ(calls[1].brushColor, RGB(0, 0, 255));
    // Selecting a second font still restores the DC's own one at the end.
    TFont other("Arial", 11);
    dc.SelectObject(other);
  }
  EXPECT_EQ(GetCurrentObject(raw, OBJ_FONT), originalFont);
  EXPECT_EQ(GetCurrentObject(raw, OBJ_PEN), originalPen);
  DeleteDC(raw);
}

TEST_F(DrawingWrappersTest, ExtTextOutPassesItsRectangleOptionsAndCount) {
  HDC raw = GdiCreateRecordingDC();
  {
    TDC dc(raw);
    TRect box(5, 6, 70, 30);
    dc.ExtTextOut(10, 20, ETO_OPAQUE | ETO_CLIPPED, &box, "Amount");
    dc.ExtTextOut(TPoint(1, 2), 0, nullptr, "Amount", 3);
    std::vector<GdiDrawRecord> calls = GdiRecordedCalls(raw);
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0].call, "ExtTextOut");
    EXPECT_EQ(calls[0].text, "Amount");
    EXPECT_EQ(calls[0].flags, static_cast<UINT>(ETO_OPAQUE | ETO_CLIPPED));
    EXPECT_EQ(calls[0].rect.left, 5);
    EXPECT_EQ(calls[0].rect.bottom, 30);
    ASSERT_FALSE(calls[0].points.empty());
    EXPECT_EQ(calls[0].points[0].x, 10);
    EXPECT_EQ(calls[0].points[0].y, 20);
    EXPECT_EQ(calls[1].text, "Amo");
    EXPECT_EQ(calls[1].flags, 0u);
  }
  DeleteDC(raw);
}

TEST_F(DrawingWrappersTest, MappingCallsPassThrough) {
  HDC raw = GdiCreateRecordingDC();
  TDC dc(raw);
  dc.SetMapMode(MM_ANISOTROPIC);
  TSize oldExt;
  dc.SetWindowExt(TSize(7950, -13250), &oldExt);
  dc.SetViewportExt(TSize(795, 1325));
  EXPECT_EQ(dc.GetMapMode(), MM_ANISOTROPIC);
  EXPECT_EQ(dc.GetWindowExt(), TSize(7950, -13250));
  TPoint p(7950, -13250);
  dc.LPtoDP(&p);
  EXPECT_EQ(p, TPoint(795, 1325));
  dc.RestoreObjects();
  DeleteDC(raw);
}

TEST_F(DrawingWrappersTest, BitmapsFromResourcesKnowTheirSize) {
  TBitmap picture(GetModuleHandle(nullptr), 1);
  ASSERT_TRUE(picture.IsValid());
  EXPECT_EQ(picture.Size(), TSize(16, 15));
  TBitmap missing(GetModuleHandle(nullptr), 4242);
  EXPECT_FALSE(missing.IsValid());
  EXPECT_EQ(missing.Width(), 0);
}

TEST_F(DrawingWrappersTest, MemoryAndClientDCsDrawIntoWhatTheyWereMadeFor) {
  HDC screen = GetDC(nullptr);
  TBitmap picture(screen, 20, 20);
  ReleaseDC(nullptr, screen);
  ASSERT_TRUE(picture.IsValid());
  {
    TMemoryDC memory;
    ASSERT_TRUE(memory.IsValid());
    memory.SelectObject(picture);
    memory.FillRect(TRect(0, 0, 20, 20), TBrush(TColor(0, 0, 255)));
    memory.FillRect(TRect(10, 10, 20, 20), TBrush(TColor(0, 255, 0)));
    EXPECT_EQ(static_cast<COLORREF>(memory.GetPixel(TPoint(5, 5))), RGB(0, 0, 255));
    EXPECT_EQ(static_cast<COLORREF>(memory.GetPixel(TPoint(15, 15))), RGB(0, 255, 0));
  }
  // The bitmap outlives the memory DC with what was drawn on it.
  TMemoryDC again;
  again.SelectObject(picture);
  EXPECT_EQ(static_cast<COLORREF>(again.GetPixel(TPoint(15, 15))), RGB(0, 255, 0));
  again.RestoreObjects();

  HWND window = CreateWindow("static", "", WS_POPUP | WS_VISIBLE, 0, 0, 60, 40, nullptr, nullptr,
                             nullptr, nullptr);
  ASSERT_TRUE(window);
  {
    TClientDC client(window);
    client.FillRect(TRect(0, 0, 10, 10), TBrush(TColor(255, 0, 0)));
    EXPECT_EQ(static_cast<COLORREF>(client.GetPixel(TPoint(5, 5))), RGB(255, 0, 0));
  }
  DestroyWindow(window);
}

}  // namespace
