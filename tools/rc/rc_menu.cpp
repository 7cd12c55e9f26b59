/*
** MENU (POPUP, MENUITEM, MENUITEM SEPARATOR, with the flags GRAYED, CHECKED, INACTIVE,
** MENUBREAK, MENUBARBREAK, HELP) and ACCELERATORS.
*/
#include "tools/rc/rc_statements.h"

#include "tools/rc/rc_byte_writer.h"

#include <cctype>

namespace rc {

namespace rf = resource_format;

namespace {

struct FlagName {
  const char* keyword;
  uint16_t flag;
};

const FlagName kMenuFlags[] = {
    {"GRAYED", rf::kMenuItemGrayed},   {"INACTIVE", rf::kMenuItemInactive},
    {"CHECKED", rf::kMenuItemChecked}, {"MENUBREAK", rf::kMenuItemMenuBreak},
    {"MENUBARBREAK", 0x0020},          {"HELP", rf::kMenuItemHelp},
};

// Flags after an item, separated by commas or blanks.
uint16_t ReadMenuFlags(TokenStream& tokens) {
  uint16_t flags = 0;
  for (;;) {
    bool comma = tokens.AcceptPunct(",");
    bool found = false;
    for (const FlagName& name : kMenuFlags) {
      if (tokens.AcceptKeyword(name.keyword)) {
        flags |= name.flag;
        found = true;
        break;
      }
    }
    if (!found) {
      if (comma) tokens.Fail("expected a menu flag, found '" + tokens.Peek().text + "'");
      return flags;
    }
  }
}

void WriteMenuLevel(TokenStream& tokens, ByteWriter& out, int depth);

// One item; answers the offset of its flags word, so the last of a level can be marked.
size_t WriteMenuItem(TokenStream& tokens, ByteWriter& out, int depth) {
  size_t flagsAt = out.Size();
  if (tokens.AcceptKeyword("POPUP")) {
    std::string text = tokens.String("the popup's text");
    uint16_t flags = ReadMenuFlags(tokens) | rf::kMenuItemPopup;
    out.Word(flags);
    out.Text(text);
    WriteMenuLevel(tokens, out, depth + 1);
    return flagsAt;
  }
  if (!tokens.AcceptKeyword("MENUITEM"))
    tokens.Fail("expected MENUITEM or POPUP, found '" + tokens.Peek().text + "'");
  if (tokens.AcceptKeyword("SEPARATOR")) {
    out.Word(0);
    out.Word(0);
    out.Text("");
    return flagsAt;
  }
  std::string text = tokens.String("the item's text");
  tokens.ExpectComma("the item's text");
  uint32_t id = tokens.Expression("the command id");
  if (id > 0xFFFF) tokens.Fail("command id " + std::to_string(id) + " is above 65535");
  uint16_t flags = ReadMenuFlags(tokens);
  out.Word(flags);
  out.Word(id);
  out.Text(text);
  return flagsAt;
}

void WriteMenuLevel(TokenStream& tokens, ByteWriter& out, int depth) {
  if (depth > 16) tokens.Fail("menus nested too deeply");
  tokens.ExpectBegin("the menu");
  size_t lastFlags = 0;
  bool any = false;
  while (!tokens.AcceptEnd()) {
    if (tokens.AtEnd()) tokens.Fail("missing END of the menu");
    lastFlags = WriteMenuItem(tokens, out, depth);
    any = true;
  }
  if (!any) {
    if (depth > 0) tokens.Fail("a POPUP without items");
    return;
  }
  const auto& bytes = out.Bytes();
  out.PatchWord(lastFlags, (bytes[lastFlags] | (bytes[lastFlags + 1] << 8)) | rf::kMenuItemEnd);
}

uint16_t ReadAcceleratorKey(TokenStream& tokens, bool* fromString, bool* controlCharacter) {
  *fromString = tokens.Peek().kind == TokenKind::String;
  *controlCharacter = false;
  if (!*fromString) return static_cast<uint16_t>(tokens.Expression("the key"));
  std::string key = tokens.String("the key");
  if (key.size() == 2 && key[0] == '^') {
    char letter = static_cast<char>(std::toupper(static_cast<unsigned char>(key[1])));
    if (letter < '@' || letter > '_') tokens.Fail("\"^" + key.substr(1) + "\" is no control key");
    *controlCharacter = true;
    return static_cast<uint16_t>(letter - '@');
  }
  if (key.size() != 1) tokens.Fail("an accelerator key must be one character or \"^X\"");
  return static_cast<unsigned char>(key[0]);
}

}  // namespace

std::vector<uint8_t> CompileMenu(TokenStream& tokens) {
  ByteWriter out;
  out.Word(0);  // layout version
  out.Word(0);  // header size
  WriteMenuLevel(tokens, out, 0);
  return out.Take();
}

std::vector<uint8_t> CompileAccelerators(TokenStream& tokens) {
  tokens.ExpectBegin("the accelerators");
  ByteWriter out;
  size_t count = 0;
  while (!tokens.AcceptEnd()) {
    if (tokens.AtEnd()) tokens.Fail("missing END of the accelerators");
    bool fromString, controlCharacter;
    uint16_t key = ReadAcceleratorKey(tokens, &fromString, &controlCharacter);
    tokens.ExpectComma("the key");
    uint32_t command = tokens.Expression("the command id");
    if (command > 0xFFFF) tokens.Fail("command id " + std::to_string(command) + " is above 65535");
    uint16_t flags = 0;
    bool ascii = false;
    while (tokens.AcceptPunct(",")) {
      if (tokens.AcceptKeyword("VIRTKEY")) flags |= rf::kAccelVirtKey;
      else if (tokens.AcceptKeyword("ASCII")) ascii = true;
      else if (tokens.AcceptKeyword("NOINVERT")) flags |= rf::kAccelNoInvert;
      else if (tokens.AcceptKeyword("SHIFT")) flags |= rf::kAccelShift;
      else if (tokens.AcceptKeyword("CONTROL")) flags |= rf::kAccelControl;
      else if (tokens.AcceptKeyword("ALT")) flags |= rf::kAccelAlt;
      else tokens.Fail("expected an accelerator option, found '" + tokens.Peek().text + "'");
    }
    bool virtKey = flags & rf::kAccelVirtKey;
    if (virtKey && ascii) tokens.Fail("an accelerator cannot be both VIRTKEY and ASCII");
    if (virtKey && controlCharacter) tokens.Fail("\"^X\" keys are ASCII, not VIRTKEY");
    if (!virtKey && (flags & (rf::kAccelShift | rf::kAccelControl)))
      tokens.Fail("SHIFT and CONTROL need VIRTKEY");
    // Virtual keys of letters are the capitals.
    if (virtKey && fromString) key = static_cast<uint16_t>(std::toupper(key));
    out.Word(flags);
    out.Word(key);
    out.Word(command);
    out.Word(0);
    ++count;
  }
  if (count == 0) tokens.Fail("an accelerator table without entries");
  std::vector<uint8_t> bytes = out.Take();
  bytes[bytes.size() - rf::kAccelEntrySize] |= rf::kAccelLast;
  return bytes;
}

}  // namespace rc
