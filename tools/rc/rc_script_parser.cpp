/*
** Top-level statements of a resource script.
*/
#include "tools/rc/rc_script_parser.h"

#include "tools/rc/rc_constants.h"
#include "tools/rc/rc_statements.h"

namespace rc {

namespace rf = resource_format;
using rf::ResourceKey;

namespace {

const char* kMemoryOptions[] = {"PRELOAD", "LOADONCALL", "FIXED",  "MOVEABLE", "DISCARDABLE",
                                "PURE",    "IMPURE",     "SHARED", "NONSHARED"};

std::string Upper(std::string text) {
  for (char& c : text) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
  }
  return text;
}

void SkipMemoryOptions(TokenStream& tokens) {
  for (bool skipped = true; skipped;) {
    skipped = false;
    for (const char* option : kMemoryOptions) {
      if (tokens.AcceptKeyword(option)) skipped = true;
    }
  }
}

// LANGUAGE, CHARACTERISTICS and VERSION may stand before a resource's BEGIN.
void SkipResourceOptions(TokenStream& tokens, uint16_t* language) {
  for (;;) {
    if (tokens.AcceptKeyword("LANGUAGE")) {
      uint32_t primary = tokens.Expression("the language");
      tokens.ExpectComma("the language");
      uint32_t sub = tokens.Expression("the sublanguage");
      *language = static_cast<uint16_t>((sub << 10) | primary);
    } else if (tokens.AcceptKeyword("CHARACTERISTICS") || tokens.AcceptKeyword("VERSION")) {
      tokens.Expression("the value");
    } else {
      return;
    }
  }
}

void CompileStringTable(TokenStream& tokens, ResourceSet& set, uint16_t language) {
  SkipMemoryOptions(tokens);
  SkipResourceOptions(tokens, &language);
  tokens.ExpectBegin("the string table");
  while (!tokens.AcceptEnd()) {
    if (tokens.AtEnd()) tokens.Fail("missing END of the string table");
    const SourcePosition where = tokens.Peek().where;
    uint32_t id = tokens.Expression("the string id");
    tokens.AcceptPunct(",");
    set.AddString(id, tokens.String("the string"), where);
  }
}

enum class Kind {
  Dialog,
  DialogEx,
  Menu,
  Accelerators,
  Bitmap,
  Icon,
  Cursor,
  Version,
  RcData,
  User
};

struct TypeKeyword {
  const char* keyword;
  Kind kind;
};

const TypeKeyword kTypes[] = {
    {"DIALOG", Kind::Dialog}, {"DIALOGEX", Kind::DialogEx},
    {"MENU", Kind::Menu},     {"ACCELERATORS", Kind::Accelerators},
    {"BITMAP", Kind::Bitmap}, {"ICON", Kind::Icon},
    {"CURSOR", Kind::Cursor}, {"VERSIONINFO", Kind::Version},
    {"RCDATA", Kind::RcData},
};

Kind ReadType(TokenStream& tokens, ResourceKey* userType) {
  for (const TypeKeyword& type : kTypes) {
    if (tokens.AcceptKeyword(type.keyword)) return type.kind;
  }
  const Token& token = tokens.Peek();
  if (token.kind == TokenKind::End) tokens.Fail("a resource name without a type");
  if (token.kind != TokenKind::Name && token.kind != TokenKind::String &&
      !tokens.StartsExpression())
    tokens.Fail("expected a resource type, found '" + token.text + "'");
  *userType = ReadNameOrOrdinal(tokens, "the resource type", true);
  return Kind::User;
}

uint16_t TypeOrdinal(Kind kind) {
  switch (kind) {
    case Kind::Dialog:
    case Kind::DialogEx: return rf::kTypeDialog;
    case Kind::Menu: return rf::kTypeMenu;
    case Kind::Accelerators: return rf::kTypeAccelerator;
    case Kind::Version: return rf::kTypeVersion;
    default: return rf::kTypeRcData;
  }
}

void CompileResource(TokenStream& tokens, Preprocessor& preprocessor, ResourceSet& set,
                     uint16_t language) {
  const SourcePosition where = tokens.Peek().where;
  ResourceKey name = ReadNameOrOrdinal(tokens, "the resource name", true);
  ResourceKey userType;
  Kind kind = ReadType(tokens, &userType);
  SkipMemoryOptions(tokens);

  if (kind == Kind::Bitmap || kind == Kind::Icon || kind == Kind::Cursor) {
    std::vector<uint8_t> file = ReadResourceFile(preprocessor, tokens.Next());
    if (kind == Kind::Bitmap) AddBitmap(set, name, language, file, where);
    else AddIconOrCursor(set, kind == Kind::Cursor, name, language, file, where);
    return;
  }

  std::vector<uint8_t> data;
  switch (kind) {
    case Kind::Dialog:
    case Kind::DialogEx: data = CompileDialog(tokens, kind == Kind::DialogEx); break;
    case Kind::Menu:
      SkipResourceOptions(tokens, &language);
      data = CompileMenu(tokens);
      break;
    case Kind::Accelerators:
      SkipResourceOptions(tokens, &language);
      data = CompileAccelerators(tokens);
      break;
    case Kind::Version: data = CompileVersionInfo(tokens); break;
    default:  // RCDATA and user-defined types: a block, or a file
      SkipResourceOptions(tokens, &language);
      if (tokens.IsKeyword("BEGIN") || tokens.Peek().IsPunct("{")) data = CompileDataBlock(tokens);
      else data = ReadResourceFile(preprocessor, tokens.Next());
      break;
  }
  ResourceKey type = kind == Kind::User ? userType : ResourceKey::Ordinal(TypeOrdinal(kind));
  set.Add({type, name, language, std::move(data), where});
}

}  // namespace

ResourceKey ReadNameOrOrdinal(TokenStream& tokens, const char* what, bool upperCaseNames) {
  const Token& token = tokens.Peek();
  if (token.kind == TokenKind::String) {
    std::string text = tokens.String(what);
    return ResourceKey::Named(upperCaseNames ? Upper(text) : text);
  }
  if (tokens.StartsExpression()) {
    uint32_t value = tokens.Expression(what);
    if (value > 0xFFFF)
      tokens.Fail(std::string(what) + " " + std::to_string(value) + " is above 65535");
    return ResourceKey::Ordinal(static_cast<uint16_t>(value));
  }
  if (token.kind == TokenKind::Name) {
    tokens.Next();
    return ResourceKey::Named(upperCaseNames ? Upper(token.text) : token.text);
  }
  tokens.Fail(std::string("expected ") + what + ", found '" + token.text + "'");
}

void CompileScript(const std::string& path, Preprocessor& preprocessor, ResourceSet& set) {
  std::vector<Token> scriptTokens = preprocessor.Tokenize(path);
  TokenStream tokens(scriptTokens);
  uint16_t language = 0x0409;  // U.S. English unless the script says otherwise
  while (!tokens.AtEnd()) {
    if (tokens.AcceptKeyword("LANGUAGE")) {
      uint32_t primary = tokens.Expression("the language");
      tokens.ExpectComma("the language");
      uint32_t sub = tokens.Expression("the sublanguage");
      language = static_cast<uint16_t>((sub << 10) | primary);
    } else if (tokens.AcceptKeyword("STRINGTABLE")) {
      CompileStringTable(tokens, set, language);
    } else {
      CompileResource(tokens, preprocessor, set, language);
    }
  }
}

}  // namespace rc
