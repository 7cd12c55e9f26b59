/*
** Writes the Data Fields help page: every data field of both field lists with its name,
** table, stored type and display kind, and for statement fields their id and the HUD-1
** line they stand on. Built and run at build time, from the same form description and
** table catalogue the layout libraries are made of, so the page cannot disagree with them.
**   zarne_dataflds_page <output.html>
*/
#include "catalogue/table_catalog.h"
#include "hudform/field_layout.h"
#include "hudform/form_description.h"

#include <cctype>
#include <cstdio>
#include <fstream>
#include <map>
#include <string>

namespace {

std::string TableName(int tableIndex) {
  return tableIndex >= 0 && tableIndex < kCatalogTableCount ? kTableCatalog[tableIndex].name : "?";
}

std::string StoredType(int tableIndex, int fieldNumber) {
  if (tableIndex < 0 || tableIndex >= kCatalogTableCount) return "?";
  const EngineTableCreateDesc* desc = kTableCatalog[tableIndex].desc;
  if (fieldNumber < 1 || fieldNumber > desc->fieldCount) return "?";
  const EngineFieldDesc& field = desc->fields[fieldNumber - 1];
  switch (field.type) {
    case ENGINE_FLD_STRING: return "text of " + std::to_string(field.units1);
    case ENGINE_FLD_DATE: return "date";
    case ENGINE_FLD_BLOB: return field.subtype == ENGINE_FLDSUB_MEMO ? "memo" : "blob";
    case ENGINE_FLD_INT16: return "16-bit whole number";
    case ENGINE_FLD_INT32: return "32-bit whole number";
    case ENGINE_FLD_FLOAT: return field.subtype == ENGINE_FLDSUB_MONEY ? "money" : "number";
    default: return "?";
  }
}

const char* KindName(int kind) {
  static const char* const names[] = {"none",    "text",    "choice", "money",     "whole number",
                                      "decimal", "decimal", "date",   "shown only"};
  return kind >= 0 && kind <= 8 ? names[kind] : "?";
}

/* The line number that opens a caption ("101. Contract sales price"), or 0. */
int CaptionLine(const hudform::Cell& cell) {
  if (cell.kind != hudform::CellKind::Caption || !cell.text) return 0;
  int digits = 0, value = 0;
  while (std::isdigit(static_cast<unsigned char>(cell.text[digits])))
    value = value * 10 + (cell.text[digits++] - '0');
  return digits >= 3 && digits <= 4 && cell.text[digits] == '.' ? value : 0;
}

/* The HUD-1 line of each statement field id: the numbered caption of its band nearest to
   its left (the two summaries share bands, line 101 beside line 401). */
std::map<int, int> LinesById() {
  std::map<int, int> lines;
  for (const hudform::Band& band : hudform::Form().bands) {
    for (const hudform::Cell& field : band.cells) {
      if (field.kind != hudform::CellKind::Field || field.id == 0 || lines.count(field.id))
        continue;
      int line = 0, nearest = -1;
      for (const hudform::Cell& caption : band.cells) {
        int number = CaptionLine(caption);
        if (number && caption.x0 <= field.x0 && caption.x0 > nearest) {
          nearest = caption.x0;
          line = number;
        }
      }
      if (line) lines[field.id] = line;
    }
  }
  return lines;
}

std::string Escaped(const char* text) {
  std::string out;
  for (const char* p = text; p && *p; ++p) {
    if (*p == '<') out += "&lt;";
    else if (*p == '>') out += "&gt;";
    else if (*p == '&') out += "&amp;";
    else out += *p;
  }
  return out;
}

}  // namespace

int main(int argc, char* argv[]) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s <output.html>\n", argv[0]);
    return 2;
  }
  std::ofstream page(argv[1], std::ios::binary);
  page << "<!DOCTYPE html>\n<html lang=\"en\"><head><meta charset=\"windows-1252\">"
          "<title>Data Fields</title></head>\n<body>\n<h1>Data Fields</h1>\n"
          "<p>Every data field of a closing file, by the name that field scripts, template "
          "markers and DDE use. Names are case-sensitive.</p>\n";
  std::map<int, int> lines = LinesById();
  page
      << "<h2>Statement fields</h2>\n<table border=\"1\" cellpadding=\"3\">\n"
         "<tr><th>Name</th><th>Table</th><th>Type</th><th>Kind</th><th>Id</th><th>HUD-1 line</th></tr>\n";
  for (const hudform::StatementField& field : hudform::StatementFields()) {
    auto line = lines.find(field.id);
    page << "<tr><td>" << Escaped(field.name) << "</td><td>" << TableName(field.tableIndex)
         << "</td><td>" << StoredType(field.tableIndex, field.fieldNumber) << "</td><td>"
         << KindName(field.kind) << "</td><td>" << field.id << "</td><td>"
         << (line == lines.end() ? "" : std::to_string(line->second)) << "</td></tr>\n";
  }
  page << "</table>\n<h2>Other fields</h2>\n<table border=\"1\" cellpadding=\"3\">\n"
          "<tr><th>Name</th><th>Table</th><th>Type</th><th>Kind</th></tr>\n";
  for (const hudform::OtherField& field : hudform::OtherFields()) {
    page << "<tr><td>" << Escaped(field.name) << "</td><td>" << TableName(field.tableIndex)
         << "</td><td>" << StoredType(field.tableIndex, field.fieldNumber) << "</td><td>"
         << KindName(field.kind) << "</td></tr>\n";
  }
  page << "</table>\n<p>Besides these, Grantee, Grantor, Buyer and Seller give the joined "
          "party names, and TitleText the title item last chosen over DDE.</p>\n</body></html>\n";
  return page ? 0 : 1;
}
