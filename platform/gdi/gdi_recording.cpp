/*
** Recording DCs: the list of drawing calls a DC made, for tests that check what was drawn
** where without comparing pixels.
*/
#include "platform/gdi/gdi_internal.h"

namespace zarne::gdi {

bool Recording(const DeviceContext& dc) { return dc.recorder != nullptr; }

void RecordCall(DeviceContext& dc, GdiDrawRecord call) {
  if (!dc.recorder) return;
  const DcState& s = dc.state;
  LOGFONT font = LogFontOf(s.font);
  call.fontFace = font.lfFaceName;
  call.fontHeight = font.lfHeight;
  call.fontWeight = font.lfWeight;
  call.fontItalic = font.lfItalic != 0;
  call.textColor = s.textColor;
  call.bkColor = s.bkColor;
  call.bkMode = s.bkMode;
  if (GdiObject* pen = LookupObject(s.pen, ObjectKind::Pen)) {
    call.penColor = pen->pen.lopnColor;
    call.penStyle = static_cast<int>(pen->pen.lopnStyle & PS_STYLE_MASK);
  }
  if (GdiObject* brush = LookupObject(s.brush, ObjectKind::Brush)) {
    call.brushColor = brush->brush.lbColor;
    call.brushStyle = static_cast<int>(brush->brush.lbStyle);
  }
  call.rop2 = s.rop2;
  call.mapMode = s.mapMode;
  call.windowExt = s.windowExt;
  call.viewportExt = s.viewportExt;
  dc.recorder->calls.push_back(std::move(call));
}

}  // namespace zarne::gdi

using namespace zarne::gdi;

HDC GdiCreateRecordingDC() {
  auto dc = std::make_unique<DeviceContext>();
  dc->kind = DcKind::Recording;
  dc->state = DefaultState();
  dc->recorder = std::make_shared<Recorder>();
  return RegisterDC(std::move(dc));
}

BOOL GdiStartRecording(HDC handle) {
  DeviceContext* dc = LookupDC(handle);
  if (!dc) return FALSE;
  if (!dc->recorder) dc->recorder = std::make_shared<Recorder>();
  return TRUE;
}

std::vector<GdiDrawRecord> GdiRecordedCalls(HDC handle) {
  DeviceContext* dc = LookupDC(handle);
  if (!dc || !dc->recorder) return {};
  return dc->recorder->calls;
}

void GdiClearRecording(HDC handle) {
  DeviceContext* dc = LookupDC(handle);
  if (dc && dc->recorder) dc->recorder->calls.clear();
}
