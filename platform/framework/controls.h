/*
** Control objects: TControl, the base of objects over the standard controls, made either
** as new child windows or over a dialog template's control by id; and the simple ones:
** TStatic (transfers its text only when asked to), TButton, TCheckBox and TRadioButton
** (transfer a 16-bit or a 32-bit state, as the record declares it), TGroupBox.
*/
#ifndef ZARNE_PLATFORM_FRAMEWORK_CONTROLS_H
#define ZARNE_PLATFORM_FRAMEWORK_CONTROLS_H

#include "platform/framework/control_codes.h"
#include "platform/framework/window.h"

class TControl : public TWindow {
 public:
  /* A new control window of the given place and size. */
  TControl(TWindow* parent, int id, const char* title, int x, int y, int w, int h,
           TModule* module = nullptr);
  /* The control of the parent dialog's template with this id. */
  TControl(TWindow* parent, int resourceId, TModule* module = nullptr);
  bool Create() override;
  /* Owner drawing by what is asked: the whole item, its focus, or its selection. */
  void DrawItem(DRAWITEMSTRUCT& drawInfo) override;
  virtual void ODADrawEntire(DRAWITEMSTRUCT&) {}
  virtual void ODAFocus(DRAWITEMSTRUCT&) {}
  virtual void ODASelect(DRAWITEMSTRUCT&) {}
};

class TStatic : public TControl {
 public:
  TStatic(TWindow* parent, int id, const char* title, int x, int y, int w, int h,
          UINT textLimit = 0, TModule* module = nullptr);
  TStatic(TWindow* parent, int resourceId, UINT textLimit = 0, TModule* module = nullptr);
  const char* GetClassName() override { return "STATIC"; }

  /* The text, at most size - 1 characters. */
  int GetText(char* buffer, int size) const { return GetWindowText(buffer, size); }
  void SetText(const char* text) { SetWindowText(text); }
  void Clear() { SetText(""); }
  int GetTextLen() const { return GetWindowTextLength(); }
  /* A char[TextLimit] of the transfer buffer, when transfer is enabled. */
  UINT Transfer(void* buffer, TTransferDirection direction) override;
  UINT TextLimit;
};

class TButton : public TControl {
 public:
  TButton(TWindow* parent, int id, const char* text, int x, int y, int w, int h,
          bool isDefault = false, TModule* module = nullptr);
  TButton(TWindow* parent, int resourceId, TModule* module = nullptr);
  const char* GetClassName() override { return "BUTTON"; }
};

class TGroupBox;

/* How wide a button's state is in a transfer record. */
enum TTransferWidth { tw16Bit, tw32Bit };

class TCheckBox : public TButton {
 public:
  TCheckBox(TWindow* parent, int id, const char* title, int x, int y, int w, int h,
            TGroupBox* group = nullptr, TModule* module = nullptr);
  TCheckBox(TWindow* parent, int resourceId, TGroupBox* group = nullptr, TModule* module = nullptr);
  /* A check box over a template control whose state the record holds as `width`. */
  TCheckBox(TWindow* parent, int resourceId, TTransferWidth width, TGroupBox* group = nullptr,
            TModule* module = nullptr);

  UINT GetCheck() const;
  void SetCheck(UINT state);
  void Check() { SetCheck(BST_CHECKED); }
  void Uncheck() { SetCheck(BST_UNCHECKED); }
  void Toggle() { SetCheck(GetCheck() == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED); }
  /* The state (BST_UNCHECKED, BST_CHECKED, BST_INDETERMINATE) in the transfer buffer, 16 or
     32 bits wide as given when the object was made; answers the bytes it takes. */
  UINT Transfer(void* buffer, TTransferDirection direction) override;
  TTransferWidth GetTransferWidth() const { return TransferWidth; }
  TGroupBox* Group;

 private:
  TTransferWidth TransferWidth = tw16Bit;
};

class TRadioButton : public TCheckBox {
 public:
  TRadioButton(TWindow* parent, int id, const char* title, int x, int y, int w, int h,
               TGroupBox* group = nullptr, TModule* module = nullptr);
  TRadioButton(TWindow* parent, int resourceId, TGroupBox* group = nullptr,
               TModule* module = nullptr);
  TRadioButton(TWindow* parent, int resourceId, TTransferWidth width, TGroupBox* group = nullptr,
               TModule* module = nullptr);
};

class TGroupBox : public TControl {
 public:
  TGroupBox(TWindow* parent, int id, const char* text, int x, int y, int w, int h,
            TModule* module = nullptr);
  TGroupBox(TWindow* parent, int resourceId, TModule* module = nullptr);
  const char* GetClassName() override { return "BUTTON"; }
};

#endif
