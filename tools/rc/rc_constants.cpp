/*
** The table of built-in constants. Written from the platform's documented values; derived
** combinations are spelled out as the platform defines them.
*/
#include "tools/rc/rc_constants.h"

#include <unordered_map>

namespace rc {

namespace {

const std::unordered_map<std::string, uint32_t>& Table() {
  static const std::unordered_map<std::string, uint32_t> table = {
      // Window styles
      {"WS_OVERLAPPED", 0x00000000}, {"WS_POPUP", 0x80000000}, {"WS_CHILD", 0x40000000},
      {"WS_MINIMIZE", 0x20000000}, {"WS_VISIBLE", 0x10000000}, {"WS_DISABLED", 0x08000000},
      {"WS_CLIPSIBLINGS", 0x04000000}, {"WS_CLIPCHILDREN", 0x02000000},
      {"WS_MAXIMIZE", 0x01000000}, {"WS_CAPTION", 0x00C00000}, {"WS_BORDER", 0x00800000},
      {"WS_DLGFRAME", 0x00400000}, {"WS_VSCROLL", 0x00200000}, {"WS_HSCROLL", 0x00100000},
      {"WS_SYSMENU", 0x00080000}, {"WS_THICKFRAME", 0x00040000}, {"WS_GROUP", 0x00020000},
      {"WS_TABSTOP", 0x00010000}, {"WS_MINIMIZEBOX", 0x00020000},
      {"WS_MAXIMIZEBOX", 0x00010000}, {"WS_TILED", 0x00000000}, {"WS_ICONIC", 0x20000000},
      {"WS_SIZEBOX", 0x00040000}, {"WS_OVERLAPPEDWINDOW", 0x00CF0000},
      {"WS_TILEDWINDOW", 0x00CF0000}, {"WS_POPUPWINDOW", 0x80880000},
      {"WS_CHILDWINDOW", 0x40000000},
      // Extended window styles
      {"WS_EX_DLGMODALFRAME", 0x00000001}, {"WS_EX_NOPARENTNOTIFY", 0x00000004},
      {"WS_EX_TOPMOST", 0x00000008}, {"WS_EX_ACCEPTFILES", 0x00000010},
      {"WS_EX_TRANSPARENT", 0x00000020}, {"WS_EX_MDICHILD", 0x00000040},
      {"WS_EX_TOOLWINDOW", 0x00000080}, {"WS_EX_WINDOWEDGE", 0x00000100},
      {"WS_EX_CLIENTEDGE", 0x00000200}, {"WS_EX_CONTEXTHELP", 0x00000400},
      {"WS_EX_RIGHT", 0x00001000}, {"WS_EX_LEFT", 0x00000000},
      {"WS_EX_RTLREADING", 0x00002000}, {"WS_EX_LTRREADING", 0x00000000},
      {"WS_EX_LEFTSCROLLBAR", 0x00004000}, {"WS_EX_RIGHTSCROLLBAR", 0x00000000},
      {"WS_EX_CONTROLPARENT", 0x00010000}, {"WS_EX_STATICEDGE", 0x00020000},
      {"WS_EX_APPWINDOW", 0x00040000}, {"WS_EX_OVERLAPPEDWINDOW", 0x00000300},
      {"WS_EX_PALETTEWINDOW", 0x00000188},
      // Dialog styles
      {"DS_ABSALIGN", 0x0001}, {"DS_SYSMODAL", 0x0002}, {"DS_3DLOOK", 0x0004},
      {"DS_FIXEDSYS", 0x0008}, {"DS_NOFAILCREATE", 0x0010}, {"DS_LOCALEDIT", 0x0020},
      {"DS_SETFONT", 0x0040}, {"DS_MODALFRAME", 0x0080}, {"DS_NOIDLEMSG", 0x0100},
      {"DS_SETFOREGROUND", 0x0200}, {"DS_CONTROL", 0x0400}, {"DS_CENTER", 0x0800},
      {"DS_CENTERMOUSE", 0x1000}, {"DS_CONTEXTHELP", 0x2000}, {"DS_SHELLFONT", 0x0048},
      // Edit styles
      {"ES_LEFT", 0x0000}, {"ES_CENTER", 0x0001}, {"ES_RIGHT", 0x0002},
      {"ES_MULTILINE", 0x0004}, {"ES_UPPERCASE", 0x0008}, {"ES_LOWERCASE", 0x0010},
      {"ES_PASSWORD", 0x0020}, {"ES_AUTOVSCROLL", 0x0040}, {"ES_AUTOHSCROLL", 0x0080},
      {"ES_NOHIDESEL", 0x0100}, {"ES_OEMCONVERT", 0x0400}, {"ES_READONLY", 0x0800},
      {"ES_WANTRETURN", 0x1000}, {"ES_NUMBER", 0x2000},
      // Button styles
      {"BS_PUSHBUTTON", 0x0000}, {"BS_DEFPUSHBUTTON", 0x0001}, {"BS_CHECKBOX", 0x0002},
      {"BS_AUTOCHECKBOX", 0x0003}, {"BS_RADIOBUTTON", 0x0004}, {"BS_3STATE", 0x0005},
      {"BS_AUTO3STATE", 0x0006}, {"BS_GROUPBOX", 0x0007}, {"BS_USERBUTTON", 0x0008},
      {"BS_AUTORADIOBUTTON", 0x0009}, {"BS_PUSHBOX", 0x000A}, {"BS_OWNERDRAW", 0x000B},
      {"BS_TYPEMASK", 0x000F}, {"BS_LEFTTEXT", 0x0020}, {"BS_RIGHTBUTTON", 0x0020},
      {"BS_TEXT", 0x0000}, {"BS_ICON", 0x0040}, {"BS_BITMAP", 0x0080}, {"BS_LEFT", 0x0100},
      {"BS_RIGHT", 0x0200}, {"BS_CENTER", 0x0300}, {"BS_TOP", 0x0400}, {"BS_BOTTOM", 0x0800},
      {"BS_VCENTER", 0x0C00}, {"BS_PUSHLIKE", 0x1000}, {"BS_MULTILINE", 0x2000},
      {"BS_NOTIFY", 0x4000}, {"BS_FLAT", 0x8000},
      // Static styles
      {"SS_LEFT", 0x0000}, {"SS_CENTER", 0x0001}, {"SS_RIGHT", 0x0002}, {"SS_ICON", 0x0003},
      {"SS_BLACKRECT", 0x0004}, {"SS_GRAYRECT", 0x0005}, {"SS_WHITERECT", 0x0006},
      {"SS_BLACKFRAME", 0x0007}, {"SS_GRAYFRAME", 0x0008}, {"SS_WHITEFRAME", 0x0009},
      {"SS_USERITEM", 0x000A}, {"SS_SIMPLE", 0x000B}, {"SS_LEFTNOWORDWRAP", 0x000C},
      {"SS_OWNERDRAW", 0x000D}, {"SS_BITMAP", 0x000E}, {"SS_ENHMETAFILE", 0x000F},
      {"SS_ETCHEDHORZ", 0x0010}, {"SS_ETCHEDVERT", 0x0011}, {"SS_ETCHEDFRAME", 0x0012},
      {"SS_TYPEMASK", 0x001F}, {"SS_NOPREFIX", 0x0080}, {"SS_NOTIFY", 0x0100},
      {"SS_CENTERIMAGE", 0x0200}, {"SS_RIGHTJUST", 0x0400}, {"SS_REALSIZEIMAGE", 0x0800},
      {"SS_SUNKEN", 0x1000},
      // List box styles
      {"LBS_NOTIFY", 0x0001}, {"LBS_SORT", 0x0002}, {"LBS_NOREDRAW", 0x0004},
      {"LBS_MULTIPLESEL", 0x0008}, {"LBS_OWNERDRAWFIXED", 0x0010},
      {"LBS_OWNERDRAWVARIABLE", 0x0020}, {"LBS_HASSTRINGS", 0x0040},
      {"LBS_USETABSTOPS", 0x0080}, {"LBS_NOINTEGRALHEIGHT", 0x0100},
      {"LBS_MULTICOLUMN", 0x0200}, {"LBS_WANTKEYBOARDINPUT", 0x0400},
      {"LBS_EXTENDEDSEL", 0x0800}, {"LBS_DISABLENOSCROLL", 0x1000}, {"LBS_NODATA", 0x2000},
      {"LBS_NOSEL", 0x4000}, {"LBS_STANDARD", 0x00A00003},
      // Combo box styles
      {"CBS_SIMPLE", 0x0001}, {"CBS_DROPDOWN", 0x0002}, {"CBS_DROPDOWNLIST", 0x0003},
      {"CBS_OWNERDRAWFIXED", 0x0010}, {"CBS_OWNERDRAWVARIABLE", 0x0020},
      {"CBS_AUTOHSCROLL", 0x0040}, {"CBS_OEMCONVERT", 0x0080}, {"CBS_SORT", 0x0100},
      {"CBS_HASSTRINGS", 0x0200}, {"CBS_NOINTEGRALHEIGHT", 0x0400},
      {"CBS_DISABLENOSCROLL", 0x0800}, {"CBS_UPPERCASE", 0x2000}, {"CBS_LOWERCASE", 0x4000},
      // Scroll bar styles
      {"SBS_HORZ", 0x0000}, {"SBS_VERT", 0x0001}, {"SBS_TOPALIGN", 0x0002},
      {"SBS_LEFTALIGN", 0x0002}, {"SBS_BOTTOMALIGN", 0x0004}, {"SBS_RIGHTALIGN", 0x0004},
      {"SBS_SIZEBOXTOPLEFTALIGN", 0x0002}, {"SBS_SIZEBOXBOTTOMRIGHTALIGN", 0x0004},
      {"SBS_SIZEBOX", 0x0008}, {"SBS_SIZEGRIP", 0x0010},
      // Dialog answers and the static control id
      {"IDOK", 1}, {"IDCANCEL", 2}, {"IDABORT", 3}, {"IDRETRY", 4}, {"IDIGNORE", 5},
      {"IDYES", 6}, {"IDNO", 7}, {"IDCLOSE", 8}, {"IDHELP", 9}, {"IDC_STATIC", 0xFFFFFFFF},
      // Virtual keys
      {"VK_LBUTTON", 0x01}, {"VK_RBUTTON", 0x02}, {"VK_CANCEL", 0x03}, {"VK_MBUTTON", 0x04},
      {"VK_BACK", 0x08}, {"VK_TAB", 0x09}, {"VK_CLEAR", 0x0C}, {"VK_RETURN", 0x0D},
      {"VK_SHIFT", 0x10}, {"VK_CONTROL", 0x11}, {"VK_MENU", 0x12}, {"VK_PAUSE", 0x13},
      {"VK_CAPITAL", 0x14}, {"VK_ESCAPE", 0x1B}, {"VK_SPACE", 0x20}, {"VK_PRIOR", 0x21},
      {"VK_NEXT", 0x22}, {"VK_END", 0x23}, {"VK_HOME", 0x24}, {"VK_LEFT", 0x25},
      {"VK_UP", 0x26}, {"VK_RIGHT", 0x27}, {"VK_DOWN", 0x28}, {"VK_SELECT", 0x29},
      {"VK_PRINT", 0x2A}, {"VK_EXECUTE", 0x2B}, {"VK_SNAPSHOT", 0x2C}, {"VK_INSERT", 0x2D},
      {"VK_DELETE", 0x2E}, {"VK_HELP", 0x2F}, {"VK_NUMPAD0", 0x60}, {"VK_NUMPAD1", 0x61},
      {"VK_NUMPAD2", 0x62}, {"VK_NUMPAD3", 0x63}, {"VK_NUMPAD4", 0x64}, {"VK_NUMPAD5", 0x65},
      {"VK_NUMPAD6", 0x66}, {"VK_NUMPAD7", 0x67}, {"VK_NUMPAD8", 0x68}, {"VK_NUMPAD9", 0x69},
      {"VK_MULTIPLY", 0x6A}, {"VK_ADD", 0x6B}, {"VK_SEPARATOR", 0x6C}, {"VK_SUBTRACT", 0x6D},
      {"VK_DECIMAL", 0x6E}, {"VK_DIVIDE", 0x6F}, {"VK_F1", 0x70}, {"VK_F2", 0x71},
      {"VK_F3", 0x72}, {"VK_F4", 0x73}, {"VK_F5", 0x74}, {"VK_F6", 0x75}, {"VK_F7", 0x76},
      {"VK_F8", 0x77}, {"VK_F9", 0x78}, {"VK_F10", 0x79}, {"VK_F11", 0x7A}, {"VK_F12", 0x7B},
      {"VK_F13", 0x7C}, {"VK_F14", 0x7D}, {"VK_F15", 0x7E}, {"VK_F16", 0x7F},
      {"VK_NUMLOCK", 0x90}, {"VK_SCROLL", 0x91},
      // Version data
      {"VS_VERSION_INFO", 1}, {"VS_FF_DEBUG", 0x01}, {"VS_FF_PRERELEASE", 0x02},
      {"VS_FF_PATCHED", 0x04}, {"VS_FF_PRIVATEBUILD", 0x08}, {"VS_FF_INFOINFERRED", 0x10},
      {"VS_FF_SPECIALBUILD", 0x20}, {"VS_FFI_FILEFLAGSMASK", 0x3F},
      {"VOS_UNKNOWN", 0x00000000}, {"VOS_DOS", 0x00010000}, {"VOS_OS216", 0x00020000},
      {"VOS_OS232", 0x00030000}, {"VOS_NT", 0x00040000}, {"VOS__BASE", 0x00000000},
      {"VOS__WINDOWS16", 0x00000001}, {"VOS__PM16", 0x00000002}, {"VOS__PM32", 0x00000003},
      {"VOS__WINDOWS32", 0x00000004}, {"VOS_DOS_WINDOWS16", 0x00010001},
      {"VOS_DOS_WINDOWS32", 0x00010004}, {"VOS_NT_WINDOWS32", 0x00040004},
      {"VFT_UNKNOWN", 0}, {"VFT_APP", 1}, {"VFT_DLL", 2}, {"VFT_DRV", 3}, {"VFT_FONT", 4},
      {"VFT_VXD", 5}, {"VFT_STATIC_LIB", 7}, {"VFT2_UNKNOWN", 0},
      // Languages
      {"LANG_NEUTRAL", 0x00}, {"LANG_ENGLISH", 0x09}, {"SUBLANG_NEUTRAL", 0x00},
      {"SUBLANG_DEFAULT", 0x01}, {"SUBLANG_ENGLISH_US", 0x01},
  };
  return table;
}

}  // namespace

bool LookUpConstant(const std::string& name, uint32_t* value) {
  auto found = Table().find(name);
  if (found == Table().end()) return false;
  *value = found->second;
  return true;
}

}  // namespace rc
