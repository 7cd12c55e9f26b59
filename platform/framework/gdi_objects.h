/*
** Drawing objects as owned values: TPen, TBrush, TFont and TBitmap. Each holds a drawing
** handle; one it made itself is deleted with it, one it was merely given is left alone.
*/
#ifndef ZARNE_PLATFORM_FRAMEWORK_GDI_OBJECTS_H
#define ZARNE_PLATFORM_FRAMEWORK_GDI_OBJECTS_H

#include "platform/framework/geometry.h"
#include "platform/gdi/gdi.h"

class TGdiObject {
 public:
  TGdiObject(const TGdiObject&) = delete;
  TGdiObject& operator=(const TGdiObject&) = delete;
  virtual ~TGdiObject();

  HGDIOBJ GetHandle() const { return handle_; }
  bool IsValid() const { return handle_ != nullptr; }

 protected:
  TGdiObject(HGDIOBJ handle, bool owned) : handle_(handle), owned_(owned) {}
  HGDIOBJ handle_;
  bool owned_;
};

class TPen : public TGdiObject {
 public:
  TPen(const TColor& color, int width = 1, int style = PS_SOLID);
  explicit TPen(const LOGPEN& logPen);
  /* Wraps a pen made elsewhere; not deleted here. */
  explicit TPen(HPEN handle) : TGdiObject(handle, false) {}
  operator HPEN() const { return static_cast<HPEN>(handle_); }
};

class TBrush : public TGdiObject {
 public:
  explicit TBrush(const TColor& color);
  TBrush(const TColor& color, int hatchStyle);
  /* A pattern brush of the bitmap (which must outlive the brush). */
  explicit TBrush(HBITMAP pattern);
  explicit TBrush(HBRUSH handle) : TGdiObject(handle, false) {}
  operator HBRUSH() const { return static_cast<HBRUSH>(handle_); }
};

class TFont : public TGdiObject {
 public:
  TFont(const char* faceName, int height, int width = 0, int escapement = 0, int orientation = 0,
        int weight = FW_NORMAL, BYTE pitchAndFamily = DEFAULT_PITCH | FF_DONTCARE, BYTE italic = 0,
        BYTE underline = 0, BYTE strikeout = 0, BYTE charSet = DEFAULT_CHARSET,
        BYTE outputPrecision = OUT_DEFAULT_PRECIS, BYTE clipPrecision = CLIP_DEFAULT_PRECIS,
        BYTE quality = DEFAULT_QUALITY);
  explicit TFont(const LOGFONT& logFont);
  explicit TFont(HFONT handle) : TGdiObject(handle, false) {}
  operator HFONT() const { return static_cast<HFONT>(handle_); }
  /* The font's logical record; false when the handle is no font. */
  bool GetObject(LOGFONT& logFont) const;
};

class TBitmap : public TGdiObject {
 public:
  /* The module's bitmap resource of that id (an invalid bitmap when there is none). */
  TBitmap(HINSTANCE module, int resourceId);
  /* A bitmap compatible with the DC. */
  TBitmap(HDC compatibleWith, int width, int height);
  explicit TBitmap(HBITMAP handle) : TGdiObject(handle, false) {}
  operator HBITMAP() const { return static_cast<HBITMAP>(handle_); }
  int Width() const;
  int Height() const;
  TSize Size() const { return TSize(Width(), Height()); }
};

#endif
