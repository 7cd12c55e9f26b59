/*
** VERSIONINFO: the fixed information (FILEVERSION, PRODUCTVERSION, FILEFLAGSMASK, FILEFLAGS,
** FILEOS, FILETYPE, FILESUBTYPE) and the tree of BLOCK and VALUE statements, written as the
** version-node layout that VerQueryValue walks.
*/
#include "tools/rc/rc_statements.h"

#include "tools/rc/rc_byte_writer.h"

namespace rc {

namespace {

struct VersionTreeNode {
  std::string key;
  std::vector<uint8_t> value;
  std::vector<VersionTreeNode> children;
};

struct FixedInfo {
  uint32_t fileMS = 0, fileLS = 0, productMS = 0, productLS = 0;
  uint32_t flagsMask = 0, flags = 0, os = 0, type = 0, subtype = 0;
};

// "a, b, c, d" (missing parts are 0) as the two 32-bit halves.
void ReadFourPartVersion(TokenStream& tokens, uint32_t* high, uint32_t* low) {
  uint32_t parts[4] = {0, 0, 0, 0};
  parts[0] = tokens.Expression("the version");
  for (int i = 1; i < 4 && tokens.AcceptPunct(","); ++i)
    parts[i] = tokens.Expression("the version");
  for (uint32_t part : parts) {
    if (part > 0xFFFF) tokens.Fail("a version part above 65535");
  }
  *high = (parts[0] << 16) | parts[1];
  *low = (parts[2] << 16) | parts[3];
}

void ReadFixedInfo(TokenStream& tokens, FixedInfo* info) {
  for (;;) {
    if (tokens.AcceptKeyword("FILEVERSION"))
      ReadFourPartVersion(tokens, &info->fileMS, &info->fileLS);
    else if (tokens.AcceptKeyword("PRODUCTVERSION"))
      ReadFourPartVersion(tokens, &info->productMS, &info->productLS);
    else if (tokens.AcceptKeyword("FILEFLAGSMASK"))
      info->flagsMask = tokens.Expression("FILEFLAGSMASK");
    else if (tokens.AcceptKeyword("FILEFLAGS")) info->flags = tokens.Expression("FILEFLAGS");
    else if (tokens.AcceptKeyword("FILEOS")) info->os = tokens.Expression("FILEOS");
    else if (tokens.AcceptKeyword("FILETYPE")) info->type = tokens.Expression("FILETYPE");
    else if (tokens.AcceptKeyword("FILESUBTYPE")) info->subtype = tokens.Expression("FILESUBTYPE");
    else return;
  }
}

// VALUE "key", item, ...: strings get one terminating NUL unless they already end in one.
VersionTreeNode ReadValue(TokenStream& tokens) {
  VersionTreeNode node;
  node.key = tokens.String("the value's name");
  ByteWriter value;
  bool textOnly = true, any = false;
  while (tokens.AcceptPunct(",")) {
    any = true;
    if (tokens.Peek().kind == TokenKind::String) {
      value.Raw(tokens.String("the value"));
    } else {
      textOnly = false;
      bool isLong = false;
      uint32_t number = tokens.Expression("the value", &isLong);
      if (isLong) value.Dword(number);
      else value.Word(number);
    }
  }
  node.value = value.Take();
  if (any && textOnly && (node.value.empty() || node.value.back() != 0)) node.value.push_back(0);
  if (node.value.size() > 0xFFFF) tokens.Fail("a version value longer than 65535 bytes");
  return node;
}

void ReadBlockBody(TokenStream& tokens, VersionTreeNode* parent, int depth) {
  if (depth > 8) tokens.Fail("version blocks nested too deeply");
  tokens.ExpectBegin("the version block");
  while (!tokens.AcceptEnd()) {
    if (tokens.AtEnd()) tokens.Fail("missing END of the version block");
    if (tokens.AcceptKeyword("BLOCK")) {
      VersionTreeNode block;
      block.key = tokens.String("the block's name");
      ReadBlockBody(tokens, &block, depth + 1);
      parent->children.push_back(std::move(block));
    } else if (tokens.AcceptKeyword("VALUE")) {
      parent->children.push_back(ReadValue(tokens));
    } else {
      tokens.Fail("expected BLOCK or VALUE, found '" + tokens.Peek().text + "'");
    }
  }
}

void WriteNode(const VersionTreeNode& node, ByteWriter& out, const TokenStream& tokens) {
  out.AlignTo4();
  size_t start = out.Size();
  out.Word(0);  // total length, patched below
  out.Word(node.value.size());
  out.Text(node.key);
  out.AlignTo4();
  out.Raw(node.value);
  for (const auto& child : node.children) WriteNode(child, out, tokens);
  size_t length = out.Size() - start;
  if (length > 0xFFFF) tokens.Fail("version information longer than 65535 bytes");
  out.PatchWord(start, length);
}

std::vector<uint8_t> FixedInfoBytes(const FixedInfo& info) {
  ByteWriter out;
  out.Dword(resource_format::kFixedFileInfoSignature);
  out.Dword(0x00010000);  // structure version 1.0
  for (uint32_t field : {info.fileMS, info.fileLS, info.productMS, info.productLS, info.flagsMask,
                         info.flags, info.os, info.type, info.subtype, 0u, 0u})
    out.Dword(field);
  return out.Take();
}

}  // namespace

std::vector<uint8_t> CompileVersionInfo(TokenStream& tokens) {
  FixedInfo info;
  ReadFixedInfo(tokens, &info);
  VersionTreeNode root;
  root.key = "VS_VERSION_INFO";
  root.value = FixedInfoBytes(info);
  ReadBlockBody(tokens, &root, 0);
  ByteWriter out;
  WriteNode(root, out, tokens);
  return out.Take();
}

}  // namespace rc
