/*
** DIALOG and DIALOGEX: the dialog's optional statements (STYLE, EXSTYLE, CAPTION, FONT, CLASS,
** MENU) and its controls, the generic CONTROL and the short forms with their default styles.
*/
#include <cstring>
#include "tools/rc/rc_statements.h"

#include "tools/rc/rc_byte_writer.h"
#include "tools/rc/rc_constants.h"

#include <strings.h>

namespace rc {

using resource_format::ResourceKey;

namespace {

constexpr uint32_t kChildVisible = 0x40000000 | 0x10000000;  // WS_CHILD | WS_VISIBLE
constexpr uint32_t kDefaultDialogStyle =
    0x80000000 | 0x00800000 | 0x00080000;       // POPUP|BORDER|SYSMENU
constexpr uint32_t kCaptionStyle = 0x00C00000;  // WS_CAPTION
constexpr uint32_t kSetFontStyle = 0x0040;      // DS_SETFONT
constexpr uint32_t kTabStop = 0x00010000, kGroup = 0x00020000, kBorder = 0x00800000;

struct ShortForm {
  const char* keyword;
  const char* className;
  uint32_t style;
  bool hasText;
};

// The short control statements and the styles the platform's compiler gives them.
const ShortForm kShortForms[] = {
    {"LTEXT", "STATIC", 0x0000 | kGroup, true},
    {"RTEXT", "STATIC", 0x0002 | kGroup, true},
    {"CTEXT", "STATIC", 0x0001 | kGroup, true},
    {"EDITTEXT", "EDIT", 0x0000 | kBorder | kTabStop, false},
    {"PUSHBUTTON", "BUTTON", 0x0000 | kTabStop, true},
    {"DEFPUSHBUTTON", "BUTTON", 0x0001 | kTabStop, true},
    {"CHECKBOX", "BUTTON", 0x0002 | kTabStop, true},
    {"AUTOCHECKBOX", "BUTTON", 0x0003 | kTabStop, true},
    {"RADIOBUTTON", "BUTTON", 0x0004 | kTabStop, true},
    {"AUTORADIOBUTTON", "BUTTON", 0x0009 | kTabStop, true},
    {"GROUPBOX", "BUTTON", 0x0007, true},
    {"LISTBOX", "LISTBOX", 0x0001 | kBorder, false},
    {"COMBOBOX", "COMBOBOX", 0x0001 | kTabStop, false},
    {"SCROLLBAR", "SCROLLBAR", 0x0000, false},
};

constexpr uint32_t kComboKindMask = 0x0003;

const char* kPredefinedClasses[] = {"BUTTON", "EDIT", "STATIC", "LISTBOX", "SCROLLBAR", "COMBOBOX"};

struct Control {
  uint32_t style = 0, exStyle = 0, helpId = 0, id = 0;
  int16_t x = 0, y = 0, cx = 0, cy = 0;
  std::string className;
  ResourceKey text = ResourceKey::Named("");
};

int16_t Coordinate(TokenStream& tokens, const char* what) {
  return static_cast<int16_t>(tokens.Expression(what));
}

void ReadRectangle(TokenStream& tokens, Control* control, const char* what) {
  control->x = Coordinate(tokens, what);
  tokens.ExpectComma("x");
  control->y = Coordinate(tokens, what);
  tokens.ExpectComma("y");
  control->cx = Coordinate(tokens, what);
  tokens.ExpectComma("width");
  control->cy = Coordinate(tokens, what);
}

// The optional ", style [, exstyle [, help id]]" that ends a control statement.
void ReadTrailingStyles(TokenStream& tokens, Control* control, uint32_t defaultStyle) {
  control->style = defaultStyle;
  if (!tokens.AcceptPunct(",")) return;
  control->style = tokens.Style(defaultStyle, "the control style");
  if (!tokens.AcceptPunct(",")) return;
  control->exStyle = tokens.Style(0, "the control's extended style");
  if (tokens.AcceptPunct(",")) control->helpId = tokens.Expression("the help id");
}

ResourceKey ControlText(TokenStream& tokens) {
  if (tokens.Peek().kind == TokenKind::String) return ResourceKey::Named(tokens.String("text"));
  return ReadNameOrOrdinal(tokens, "the control text", false);
}

Control ReadGenericControl(TokenStream& tokens) {
  Control control;
  control.text = ControlText(tokens);
  tokens.ExpectComma("the control text");
  control.id = tokens.Expression("the control id");
  tokens.ExpectComma("the control id");
  const Token& classToken = tokens.Peek();
  if (classToken.kind == TokenKind::String) {
    control.className = tokens.String("the control class");
  } else if (classToken.kind == TokenKind::Name) {
    control.className = classToken.text;
    bool predefined = false;
    for (const char* name : kPredefinedClasses) {
      if (strcasecmp(name, classToken.text.c_str()) == 0) {
        control.className = name;
        predefined = true;
      }
    }
    if (!predefined) tokens.Fail("unknown control class '" + classToken.text + "' (quote it)");
    tokens.Next();
  } else {
    tokens.Fail("expected the control class, found '" + classToken.text + "'");
  }
  if (control.className.empty()) tokens.Fail("empty control class");
  tokens.ExpectComma("the control class");
  control.style = tokens.Style(kChildVisible, "the control style");
  tokens.ExpectComma("the control style");
  ReadRectangle(tokens, &control, "the control position");
  if (tokens.AcceptPunct(",")) {
    control.exStyle = tokens.Style(0, "the control's extended style");
    if (tokens.AcceptPunct(",")) control.helpId = tokens.Expression("the help id");
  }
  return control;
}

Control ReadShortControl(TokenStream& tokens, const ShortForm& form) {
  Control control;
  control.className = form.className;
  if (form.hasText) {
    control.text = ControlText(tokens);
    tokens.ExpectComma("the control text");
  }
  control.id = tokens.Expression("the control id");
  tokens.ExpectComma("the control id");
  ReadRectangle(tokens, &control, "the control position");
  if (std::strcmp(form.keyword, "COMBOBOX") == 0) {
    // A combo's kind is a value in the low two bits, not a flag: an explicit CBS_DROPDOWN
    // must not be ORed with the default CBS_SIMPLE into a drop-down list.
    ReadTrailingStyles(tokens, &control, kChildVisible | (form.style & ~kComboKindMask));
    if ((control.style & kComboKindMask) == 0) control.style |= form.style & kComboKindMask;
    return control;
  }
  ReadTrailingStyles(tokens, &control, kChildVisible | form.style);
  return control;
}

// ICON text, id, x, y [, cx, cy [, style [, exstyle]]]
Control ReadIconControl(TokenStream& tokens) {
  Control control;
  control.className = "STATIC";
  control.text = ControlText(tokens);
  tokens.ExpectComma("the icon");
  control.id = tokens.Expression("the control id");
  tokens.ExpectComma("the control id");
  control.x = Coordinate(tokens, "the control position");
  tokens.ExpectComma("x");
  control.y = Coordinate(tokens, "the control position");
  control.style = kChildVisible | 0x0003;  // SS_ICON
  if (tokens.AcceptPunct(",")) {
    control.cx = Coordinate(tokens, "the control size");
    tokens.ExpectComma("width");
    control.cy = Coordinate(tokens, "the control size");
    ReadTrailingStyles(tokens, &control, control.style);
  }
  return control;
}

Control ReadControl(TokenStream& tokens) {
  if (tokens.AcceptKeyword("CONTROL")) return ReadGenericControl(tokens);
  if (tokens.AcceptKeyword("ICON")) return ReadIconControl(tokens);
  for (const ShortForm& form : kShortForms) {
    if (tokens.AcceptKeyword(form.keyword)) return ReadShortControl(tokens, form);
  }
  tokens.Fail("unknown control statement '" + tokens.Peek().text + "'");
}

struct DialogHeader {
  uint32_t style = kDefaultDialogStyle, exStyle = 0, helpId = 0;
  bool styleGiven = false, captionGiven = false;
  int16_t x = 0, y = 0, cx = 0, cy = 0;
  ResourceKey menu, windowClass;
  std::string caption;
  uint16_t pointSize = 0, weight = 0;
  uint8_t italic = 0, charset = 1;  // DEFAULT_CHARSET unless FONT says otherwise
  std::string face;
};

void ReadFont(TokenStream& tokens, DialogHeader* header, bool extended) {
  header->pointSize = static_cast<uint16_t>(tokens.Expression("the font size"));
  if (header->pointSize == 0) tokens.Fail("a FONT of 0 points");
  tokens.ExpectComma("the font size");
  header->face = tokens.String("the font face");
  if (!tokens.AcceptPunct(",")) return;
  header->weight = static_cast<uint16_t>(tokens.Expression("the font weight"));
  if (!tokens.AcceptPunct(",")) return;
  header->italic = static_cast<uint8_t>(tokens.Expression("the italic flag"));
  if (tokens.AcceptPunct(","))
    header->charset = static_cast<uint8_t>(tokens.Expression("the character set"));
}

// The statements between the dialog's position and its BEGIN.
void ReadDialogOptions(TokenStream& tokens, DialogHeader* header, bool extended) {
  for (;;) {
    if (tokens.AcceptKeyword("STYLE")) {
      header->style = tokens.Style(0, "the dialog style");
      header->styleGiven = true;
    } else if (tokens.AcceptKeyword("EXSTYLE")) {
      header->exStyle = tokens.Style(0, "the dialog's extended style");
    } else if (tokens.AcceptKeyword("CAPTION")) {
      header->caption = tokens.String("the caption");
      header->captionGiven = true;
    } else if (tokens.AcceptKeyword("FONT")) {
      ReadFont(tokens, header, extended);
    } else if (tokens.AcceptKeyword("CLASS")) {
      header->windowClass = ReadNameOrOrdinal(tokens, "the dialog class", false);
    } else if (tokens.AcceptKeyword("MENU")) {
      header->menu = ReadNameOrOrdinal(tokens, "the dialog menu", true);
    } else if (tokens.AcceptKeyword("LANGUAGE")) {
      tokens.Expression("the language");
      tokens.ExpectComma("the language");
      tokens.Expression("the sublanguage");
    } else if (tokens.AcceptKeyword("CHARACTERISTICS") || tokens.AcceptKeyword("VERSION")) {
      tokens.Expression("the value");
    } else {
      return;
    }
  }
}

void WriteControl(ByteWriter& out, const Control& control) {
  out.Dword(control.style);
  out.Dword(control.exStyle);
  out.Dword(control.helpId);
  out.Word(static_cast<uint16_t>(control.x));
  out.Word(static_cast<uint16_t>(control.y));
  out.Word(static_cast<uint16_t>(control.cx));
  out.Word(static_cast<uint16_t>(control.cy));
  out.Dword(control.id);
  out.Text(control.className);
  out.Ref(control.text);
  out.Word(0);  // no creation data
}

}  // namespace

std::vector<uint8_t> CompileDialog(TokenStream& tokens, bool extended) {
  DialogHeader header;
  Control position;
  ReadRectangle(tokens, &position, "the dialog position");
  header.x = position.x;
  header.y = position.y;
  header.cx = position.cx;
  header.cy = position.cy;
  if (extended && tokens.AcceptPunct(",")) header.helpId = tokens.Expression("the help id");
  ReadDialogOptions(tokens, &header, extended);
  if (header.captionGiven) header.style |= kCaptionStyle;
  if (header.pointSize) header.style |= kSetFontStyle;

  tokens.ExpectBegin("the dialog's controls");
  std::vector<Control> controls;
  while (!tokens.AcceptEnd()) {
    if (tokens.AtEnd()) tokens.Fail("missing END of the dialog");
    controls.push_back(ReadControl(tokens));
  }
  if (controls.size() > 0xFFFF) tokens.Fail("too many controls in one dialog");

  ByteWriter out;
  out.Dword(header.style);
  out.Dword(header.exStyle);
  out.Dword(header.helpId);
  out.Word(static_cast<uint16_t>(header.x));
  out.Word(static_cast<uint16_t>(header.y));
  out.Word(static_cast<uint16_t>(header.cx));
  out.Word(static_cast<uint16_t>(header.cy));
  out.Byte(extended ? 1 : 0);
  out.Word(controls.size());
  out.Ref(header.menu);
  out.Ref(header.windowClass);
  out.Text(header.caption);
  out.Word(header.pointSize);
  if (header.pointSize) {
    out.Word(header.weight);
    out.Byte(header.italic);
    out.Byte(header.charset);
    out.Text(header.face);
  }
  for (const Control& control : controls) WriteControl(out, control);
  return out.Take();
}

}  // namespace rc
