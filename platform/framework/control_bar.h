/*
** The control bar: a strip of gadgets along the top of a decorated frame. Button gadgets show
** the bitmap resource whose number is their command id and send that command to the frame
** when clicked; separator gadgets leave a gap. Buttons are enabled or greyed by the frame's
** command enabling while the program is idle.
*/
#ifndef ZARNE_PLATFORM_FRAMEWORK_CONTROL_BAR_H
#define ZARNE_PLATFORM_FRAMEWORK_CONTROL_BAR_H

#include "platform/framework/window.h"

#include <memory>
#include <vector>

/* The font of gadget windows, of the given point size. */
class TGadgetWindowFont : public TFont {
 public:
  explicit TGadgetWindowFont(int pointSize = 6, bool bold = false, bool italic = false);
};

class TGadget {
 public:
  explicit TGadget(int id = 0) : id_(id) {}
  virtual ~TGadget() = default;
  int GetId() const { return id_; }
  const TRect& GetBounds() const { return bounds_; }
  void SetBounds(const TRect& bounds) { bounds_ = bounds; }
  /* The gadget's width and height as laid out along a horizontal bar. */
  virtual TSize GetDesiredSize() const = 0;
  virtual void Paint(TDC& dc) = 0;
  bool GetEnabled() const { return enabled_; }
  void SetEnabled(bool enabled) { enabled_ = enabled; }

 protected:
  int id_;
  TRect bounds_;
  bool enabled_ = true;
};

class TSeparatorGadget : public TGadget {
 public:
  explicit TSeparatorGadget(int size = 0) : TGadget(0), size_(size > 0 ? size : 6) {}
  TSize GetDesiredSize() const override { return TSize(size_, 0); }
  void Paint(TDC&) override {}

 private:
  int size_;
};

class TButtonGadget : public TGadget {
 public:
  enum TType { Command, Exclusive, NonExclusive };
  enum TState { Up, Down, Indeterminate };
  TButtonGadget(TResId bmpResId, int id, TType type = Command, bool enabled = false,
                TState state = Up, bool repeat = false);
  ~TButtonGadget() override;
  TSize GetDesiredSize() const override;
  void Paint(TDC& dc) override;
  TResId GetResId() const { return bitmapId_; }
  bool HasBitmap() const { return bitmap_ != nullptr; }
  void SetPressed(bool pressed) { pressed_ = pressed; }
  TState GetButtonState() const { return state_; }
  void SetButtonState(TState state) { state_ = state; }
  /* Loads the picture from the module (when it has one). */
  void LoadPicture(HINSTANCE module);

 private:
  TResId bitmapId_;
  TType type_;
  TState state_;
  HBITMAP bitmap_ = nullptr;
  TSize bitmapSize_;
  bool pressed_ = false;
};

class TControlBar : public TWindow {
 public:
  enum TTileDirection { Horizontal, Vertical };
  TControlBar(TWindow* parent = nullptr, TTileDirection direction = Horizontal,
              TFont* font = new TGadgetWindowFont, TModule* module = nullptr);
  ~TControlBar() override;
  const char* GetClassName() override { return "ZarneControlBar"; }
  void SetupWindow() override;
  void Paint(TDC& dc, bool erase, TRect& rect) override;

  /* Takes the gadget (owned from now on) at the end of the bar. */
  void Insert(TGadget& gadget);
  int GadgetCount() const { return static_cast<int>(gadgets_.size()); }
  TGadget* GadgetAt(int index) const { return gadgets_[static_cast<size_t>(index)]; }
  TGadget* GadgetWithId(int id) const;
  TGadget* GadgetFromPoint(const TPoint& point) const;
  TFont& GetFont() { return *font_; }
  /* Asks the frame whether each button's command is enabled; repaints what changed. */
  void UpdateButtonStates();

  void EvLButtonDown(UINT modKeys, TPoint& point) override;
  void EvLButtonUp(UINT modKeys, TPoint& point) override;
  void EvEnterIdle(UINT source, HWND hWndDlg) override;

 private:
  void LayoutGadgets();
  std::vector<TGadget*> gadgets_;
  std::unique_ptr<TFont> font_;
  TButtonGadget* pressed_ = nullptr;

  DECLARE_RESPONSE_TABLE(TControlBar);
};

#endif
