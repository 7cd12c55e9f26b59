/*
** Query by example: the subset the reports and the export send. One table, one example
** row; in each field a check mark (Check: distinct answer rows; CheckPlus anywhere: every
** row kept) and a condition made of literals and <, <=, >, >=, <>, joined by "," (and)
** and "OR"; an optional first line "SORT: T.DB->"Field", ..." gives the answer order.
** The answer is a temporary table in the private directory with its own cursor.
*/
#include "platform/engine/engine_cursor.h"
#include "platform/engine/engine_record.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <strings.h>
#include <unistd.h>

namespace zarne::engine {
namespace {

struct Comparison {
  std::string op;    // SQL operator
  std::string text;  // the literal as written
};

struct FieldExample {
  int field = 0;                                      // 1-based in the queried table
  int check = 0;                                      // 0 none, 1 Check, 2 CheckPlus
  std::vector<std::vector<Comparison>> alternatives;  // OR of ANDs
};

struct ParsedQuery {
  std::string table;
  std::vector<std::string> sortFields;
  std::vector<std::pair<std::string, std::string>> cells;  // field name, example text
};

std::string Trim(const std::string& text) {
  size_t start = text.find_first_not_of(" \t");
  if (start == std::string::npos) return "";
  size_t end = text.find_last_not_of(" \t");
  return text.substr(start, end - start + 1);
}

bool StartsWithWord(const std::string& text, const char* word) {
  size_t n = std::strlen(word);
  return text.size() >= n && strncasecmp(text.c_str(), word, n) == 0;
}

std::vector<std::string> SplitLines(const char* text) {
  std::vector<std::string> lines;
  std::string current;
  for (const char* p = text; *p; ++p) {
    if (*p == '\r' || *p == '\n') {
      if (!Trim(current).empty()) lines.push_back(current);
      current.clear();
    } else {
      current += *p;
    }
  }
  if (!Trim(current).empty()) lines.push_back(current);
  return lines;
}

/* Cells between '|' (a quoted literal may hold a '|'). */
std::vector<std::string> SplitCells(const std::string& line) {
  std::vector<std::string> cells;
  std::string current;
  bool quoted = false;
  for (char c : line) {
    if (c == '"') quoted = !quoted;
    if (c == '|' && !quoted) {
      cells.push_back(Trim(current));
      current.clear();
    } else {
      current += c;
    }
  }
  cells.push_back(Trim(current));
  return cells;
}

/* Splits on a separator outside quotes; " OR " is matched as a word. */
std::vector<std::string> SplitOutsideQuotes(const std::string& text, bool onOr) {
  std::vector<std::string> parts;
  std::string current;
  bool quoted = false;
  for (size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (c == '"') quoted = !quoted;
    if (!quoted && !onOr && c == ',') {
      parts.push_back(Trim(current));
      current.clear();
      continue;
    }
    if (!quoted && onOr && (i == 0 || std::isspace((unsigned char)text[i - 1])) &&
        i + 2 <= text.size() && strncasecmp(text.c_str() + i, "OR", 2) == 0 &&
        (i + 2 == text.size() || std::isspace((unsigned char)text[i + 2]))) {
      parts.push_back(Trim(current));
      current.clear();
      ++i;
      continue;
    }
    current += c;
  }
  parts.push_back(Trim(current));
  return parts;
}

EngineResult Syntax(const std::string& why) { return Fail(ENGINE_ERR_QUERYSYNTAX, {why}); }

EngineResult ParseSortLine(const std::string& line, ParsedQuery* query) {
  std::string list = Trim(line.substr(5));
  for (const std::string& item : SplitOutsideQuotes(list, false)) {
    size_t arrow = item.find("->");
    if (arrow == std::string::npos) return Syntax("Sort item without \"->\": " + item);
    std::string field = Trim(item.substr(arrow + 2));
    if (field.size() < 2 || field.front() != '"' || field.back() != '"') {
      return Syntax("Sort field must be quoted: " + item);
    }
    query->sortFields.push_back(field.substr(1, field.size() - 2));
  }
  return ENGINE_OK;
}

EngineResult ParseText(const char* text, ParsedQuery* query) {
  std::vector<std::string> lines = SplitLines(text);
  size_t next = 0;
  if (next < lines.size() && StartsWithWord(Trim(lines[next]), "SORT:")) {
    if (EngineResult r = ParseSortLine(Trim(lines[next]), query)) return r;
    ++next;
  }
  for (const std::string& line : lines) {
    if (std::count(line.begin(), line.end(), '"') % 2 != 0) {
      return Syntax("Unclosed quote in \"" + Trim(line) + "\"");
    }
  }
  if (lines.size() - next != 2) {
    return Syntax("A query needs one table line and one example line");
  }
  std::vector<std::string> header = SplitCells(lines[next]);
  std::vector<std::string> example = SplitCells(lines[next + 1]);
  if (header.size() < 2 || header[0].empty()) return Syntax("No table in the query");
  if (!example[0].empty()) return Syntax("Table operations are not supported: " + example[0]);
  if (!header.back().empty() || header.size() < 3) {
    header.push_back("");  // a line without its closing bar
  }
  size_t fieldCount = header.size() - 2;
  for (size_t i = fieldCount + 1; i < example.size(); ++i) {
    if (!example[i].empty()) return Syntax("Example beyond the last field: " + example[i]);
  }
  query->table = header[0];
  for (size_t i = 1; i <= fieldCount; ++i) {
    if (header[i].empty()) return Syntax("Empty field name in the table line");
    query->cells.emplace_back(header[i], i < example.size() ? example[i] : "");
  }
  return ENGINE_OK;
}

/* "M/D/YYYY", "MM/DD/YYYY" or "MM/DD/YY" (two-digit years are 19YY). */
bool ParseDate(const std::string& text, long long* day) {
  int month = 0, dayOfMonth = 0, year = 0, consumed = 0;
  if (std::sscanf(text.c_str(), "%2d/%2d/%4d%n", &month, &dayOfMonth, &year, &consumed) != 3 ||
      consumed != int(text.size())) {
    return false;
  }
  size_t lastSlash = text.find_last_of('/');
  size_t yearDigits = text.size() - lastSlash - 1;
  if (yearDigits == 2) {
    year += 1900;
  } else if (yearDigits != 4) {
    return false;
  }
  DWORD encoded = 0;
  if (EngineEncodeDate(WORD(month), WORD(dayOfMonth), SHORT(year), &encoded) != ENGINE_OK) {
    return false;
  }
  *day = encoded;
  return true;
}

std::string Unquote(const std::string& text) {
  if (text.size() >= 2 && text.front() == '"' && text.back() == '"') {
    return text.substr(1, text.size() - 2);
  }
  return text;
}

EngineResult ParseComparison(const std::string& text, Comparison* out) {
  static const char* kOperators[] = {"<=", ">=", "<>", "<", ">", "="};
  std::string rest = Trim(text);
  out->op = "=";
  for (const char* op : kOperators) {
    if (rest.compare(0, std::strlen(op), op) == 0) {
      out->op = op;
      rest = Trim(rest.substr(std::strlen(op)));
      break;
    }
  }
  if (rest.empty()) return Syntax("A comparison without a value: \"" + text + "\"");
  out->text = rest;
  return ENGINE_OK;
}

EngineResult ParseExample(const std::string& cell, FieldExample* example) {
  std::string rest = cell;
  if (StartsWithWord(rest, "CheckPlus")) {
    example->check = 2;
    rest = rest.substr(9);
  } else if (StartsWithWord(rest, "Check")) {
    example->check = 1;
    rest = rest.substr(5);
  }
  if (!rest.empty() && !std::isspace((unsigned char)rest[0]) && example->check) {
    return Syntax("Unknown word in \"" + cell + "\"");
  }
  rest = Trim(rest);
  if (rest.empty()) return ENGINE_OK;
  for (const std::string& alternative : SplitOutsideQuotes(rest, true)) {
    std::vector<Comparison> all;
    for (const std::string& part : SplitOutsideQuotes(alternative, false)) {
      Comparison comparison;
      if (EngineResult r = ParseComparison(part, &comparison)) return r;
      all.push_back(comparison);
    }
    example->alternatives.push_back(all);
  }
  return ENGINE_OK;
}

/* Binds a literal in the stored form of the field it is compared with. */
EngineResult BindLiteral(sqlite3_stmt* stmt, int parameter, const FieldInfo& field,
                         const std::string& literal) {
  std::string text = Unquote(literal);
  switch (field.type) {
    case ENGINE_FLD_STRING:
      sqlite3_bind_text(stmt, parameter, text.c_str(), int(text.size()), SQLITE_TRANSIENT);
      return ENGINE_OK;
    case ENGINE_FLD_DATE: {
      long long day = 0;
      if (!ParseDate(text, &day)) {
        return Fail(ENGINE_ERR_QUERYSYNTAX,
                    {"Not a date: \"" + text + "\"", "Field " + field.name});
      }
      sqlite3_bind_int64(stmt, parameter, day);
      return ENGINE_OK;
    }
    case ENGINE_FLD_INT16:
    case ENGINE_FLD_INT32:
    case ENGINE_FLD_FLOAT: {
      char* end = nullptr;
      errno = 0;
      double value = std::strtod(text.c_str(), &end);
      if (text.empty() || *end != '\0' || errno != 0 || !std::isfinite(value)) {
        return Fail(ENGINE_ERR_QUERYSYNTAX,
                    {"Not a number: \"" + text + "\"", "Field " + field.name});
      }
      sqlite3_bind_double(stmt, parameter, value);
      return ENGINE_OK;
    }
    default:
      return Fail(ENGINE_ERR_QUERYFIELD,
                  {"A blob field cannot be compared", "Field " + field.name});
  }
}

int FindField(const TableSchema& schema, const std::string& name) {
  for (const FieldInfo& field : schema.fields) {
    if (strcasecmp(field.name.c_str(), name.c_str()) == 0) return field.number;
  }
  return 0;
}

std::string AnswerPath(std::string* error) {
  static unsigned counter = 0;
  std::string dir = PrivateHostDirectory();
  if (dir.empty()) {
    *error = "The private directory cannot be made";
    return "";
  }
  return dir + "/__ANS" + std::to_string(::getpid()) + "_" + std::to_string(++counter) + ".DB";
}

/* Runs select on the source and writes its rows into a new answer table of that shape. */
EngineResult FillAnswer(TableFile& source, sqlite3_stmt* select, const TableSchema& shape,
                        EngineCursor* answer) {
  std::string problem;
  std::string path = AnswerPath(&problem);
  if (path.empty()) return Fail(ENGINE_ERR_DIRNOTFOUND, {problem});
  if (EngineResult r = BuildTableFile(path, shape, true, false)) return r;
  std::shared_ptr<TableFile> file;
  if (EngineResult r = TableFile::Open(path, &file)) {
    ::unlink(path.c_str());
    return r;
  }
  file->DeleteWhenClosed();
  file->SetName("ANSWER");
  sqlite3* db = file->db();
  std::string sql = "INSERT INTO records VALUES(";
  for (int i = 1; i <= shape.FieldCount(); ++i) sql += i > 1 ? ", ?" : "?";
  sql += ")";
  sqlite3_stmt* insert = nullptr;
  // A private scratch table: no journal and no syncs; it is rebuilt by running the query.
  int rc = sqlite3_exec(db, "PRAGMA journal_mode=OFF; PRAGMA synchronous=OFF; BEGIN", nullptr,
                        nullptr, nullptr);
  if (rc == SQLITE_OK) rc = sqlite3_prepare_v2(db, sql.c_str(), -1, &insert, nullptr);
  int step = SQLITE_ROW;
  while (rc == SQLITE_OK && (step = sqlite3_step(select)) == SQLITE_ROW) {
    for (int i = 0; i < shape.FieldCount(); ++i) {
      sqlite3_bind_value(insert, i + 1, sqlite3_column_value(select, i));
    }
    rc = sqlite3_step(insert) == SQLITE_DONE ? SQLITE_OK : sqlite3_errcode(db);
    sqlite3_reset(insert);
  }
  sqlite3_finalize(insert);
  if (rc != SQLITE_OK) return FailSqlite(rc, db, {"Answer table " + path});
  if (step != SQLITE_DONE) {
    return FailSqlite(step, source.db(), {"Table " + source.hostPath(), "Running the query"});
  }
  rc = sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
  if (rc != SQLITE_OK) return FailSqlite(rc, db, {"Answer table " + path});
  *answer = NewCursor(file, nullptr);
  return ENGINE_OK;
}

/* The example of each field of the query, resolved against the table. */
EngineResult ReadExamples(const TableSchema& schema, const std::string& table,
                          const ParsedQuery& query, std::vector<FieldExample>* examples) {
  for (const auto& cell : query.cells) {
    FieldExample example;
    example.field = FindField(schema, cell.first);
    if (!example.field) return Fail(ENGINE_ERR_QUERYFIELD, {table, "No field " + cell.first});
    if (EngineResult r = ParseExample(cell.second, &example)) return r;
    examples->push_back(example);
  }
  return ENGINE_OK;
}

/* The answer's fields (the checked ones, in query order) and their column list. */
void AnswerShape(const TableSchema& schema, const std::vector<FieldExample>& examples,
                 TableSchema* shape, std::string* columns) {
  for (const FieldExample& example : examples) {
    if (!example.check) continue;
    FieldInfo field = schema.Field(example.field);
    field.number = shape->FieldCount() + 1;
    shape->fields.push_back(field);
    *columns += (columns->empty() ? "" : ", ") + ColumnName(example.field);
  }
  shape->ComputeLayout();
}

/* Each field's alternatives ORed, the fields ANDed; literals collects what to bind. */
std::string WhereClause(const std::vector<FieldExample>& examples,
                        std::vector<std::pair<int, std::string>>* literals) {
  std::string where;
  for (const FieldExample& example : examples) {
    if (example.alternatives.empty()) continue;
    std::string any;
    for (const auto& alternative : example.alternatives) {
      std::string all;
      for (const Comparison& comparison : alternative) {
        all +=
            (all.empty() ? "" : " AND ") + ColumnName(example.field) + " " + comparison.op + " ?";
        literals->emplace_back(example.field, comparison.text);
      }
      any += (any.empty() ? "(" : " OR (") + all + ")";
    }
    where += (where.empty() ? "" : " AND ") + ("(" + any + ")");
  }
  return where;
}

EngineResult RunQuery(EngineDatabase database, const ParsedQuery& query, EngineCursor* answer) {
  std::string path = TableHostPath(DatabaseDirectory(database), query.table, ".DB");
  const std::string table = "Table " + path;
  std::shared_ptr<TableFile> file;
  if (EngineResult r = TableFile::Open(path, &file)) return r;
  const TableSchema& schema = file->schema();

  std::vector<FieldExample> examples;
  if (EngineResult r = ReadExamples(schema, table, query, &examples)) return r;
  bool keepDuplicates = false;
  for (const FieldExample& example : examples) keepDuplicates |= example.check == 2;
  TableSchema shape;
  std::string columns;
  AnswerShape(schema, examples, &shape, &columns);
  if (shape.fields.empty()) return Syntax("No field is checked");

  std::string order;
  for (const std::string& name : query.sortFields) {
    int number = FindField(schema, name);
    if (!number) return Fail(ENGINE_ERR_QUERYFIELD, {table, "No field " + name});
    order += (order.empty() ? "" : ", ") + ColumnName(number);
  }
  // Equal sort keys keep the answer fields' order, then the table's own order.
  order += (order.empty() ? "" : ", ") + columns + (keepDuplicates ? ", rowid" : "");

  std::vector<std::pair<int, std::string>> literals;  // field, text in bind order
  std::string where = WhereClause(examples, &literals);
  std::string sql = std::string("SELECT ") + (keepDuplicates ? "" : "DISTINCT ") + columns +
                    " FROM records" + (where.empty() ? "" : " WHERE " + where) + " ORDER BY " +
                    order;
  sqlite3_stmt* select = nullptr;
  int rc = sqlite3_prepare_v2(file->db(), sql.c_str(), -1, &select, nullptr);
  if (rc != SQLITE_OK) return FailSqlite(rc, file->db(), {table, "Query"});
  EngineResult result = ENGINE_OK;
  for (size_t i = 0; i < literals.size() && result == ENGINE_OK; ++i) {
    result = BindLiteral(select, int(i) + 1, schema.Field(literals[i].first), literals[i].second);
  }
  if (result == ENGINE_OK) result = FillAnswer(*file, select, shape, answer);
  sqlite3_finalize(select);
  return result;
}

}  // namespace
}  // namespace zarne::engine

using namespace zarne::engine;

EngineResult EngineExecQuery(EngineDatabase database, DWORD language, const char* text,
                             EngineCursor* answer) {
  if (!answer) return Fail(ENGINE_ERR_INVALIDPARAM, {"EngineExecQuery: no result"});
  *answer = nullptr;
  if (!IsOpenDatabase(database)) return Fail(ENGINE_ERR_INVALIDHANDLE, {"Database"});
  if (language != ENGINE_QUERY_QBE) {
    return Fail(ENGINE_ERR_NOTSUPPORTED, {"Query language " + std::to_string(language)});
  }
  if (!text) return Fail(ENGINE_ERR_INVALIDPARAM, {"No query text"});
  ParsedQuery query;
  if (EngineResult r = ParseText(text, &query)) return r;
  return RunQuery(database, query, answer);
}
