/*
** Helpers of the tests that damage table files on purpose: raw SQLite on the file, the
** pages of the record tree found through dbstat, the marker texts that lie in a range of
** the file's bytes, and the bytes of a file.
*/
#ifndef ZARNE_PLATFORM_ENGINE_TESTS_ENGINE_SALVAGE_SUPPORT_H
#define ZARNE_PLATFORM_ENGINE_TESTS_ENGINE_SALVAGE_SUPPORT_H

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

namespace enginetest {

inline std::string FileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

inline void WriteBytes(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

inline void RawExec(const std::string& path, const std::string& sql) {
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open(path.c_str(), &db), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr), SQLITE_OK)
      << sqlite3_errmsg(db);
  sqlite3_close(db);
}

struct PageInfo {
  int number;
  std::string tree;  // "records", an index name, or a descriptor table
  std::string kind;  // "leaf", "internal", "overflow"
};

/* Every page of a healthy file with the tree it belongs to, from SQLite's dbstat. */
inline std::vector<PageInfo> PagesOf(const std::string& path, int* pageSize) {
  std::vector<PageInfo> pages;
  sqlite3* db = nullptr;
  EXPECT_EQ(sqlite3_open(path.c_str(), &db), SQLITE_OK);
  sqlite3_stmt* stmt = nullptr;
  EXPECT_EQ(sqlite3_prepare_v2(db, "SELECT pageno, name, pagetype FROM dbstat ORDER BY pageno", -1,
                               &stmt, nullptr),
            SQLITE_OK)
      << sqlite3_errmsg(db);
  while (sqlite3_step(stmt) == SQLITE_ROW) {
    pages.push_back({sqlite3_column_int(stmt, 0),
                     reinterpret_cast<const char*>(sqlite3_column_text(stmt, 1)),
                     reinterpret_cast<const char*>(sqlite3_column_text(stmt, 2))});
  }
  sqlite3_finalize(stmt);
  sqlite3_prepare_v2(db, "PRAGMA page_size", -1, &stmt, nullptr);
  sqlite3_step(stmt);
  *pageSize = sqlite3_column_int(stmt, 0);
  sqlite3_finalize(stmt);
  sqlite3_close(db);
  return pages;
}

/* The markers (texts beginning with prefix, of the given length) found in bytes. */
inline std::set<std::string> MarkersIn(const std::string& bytes, const std::string& prefix,
                                       size_t length) {
  std::set<std::string> found;
  for (size_t at = bytes.find(prefix); at != std::string::npos; at = bytes.find(prefix, at + 1)) {
    if (at + length <= bytes.size()) found.insert(bytes.substr(at, length));
  }
  return found;
}

/* Overwrites one page with a pattern no page format accepts. */
inline void OverwritePage(const std::string& path, int page, int pageSize) {
  std::fstream file(path, std::ios::binary | std::ios::in | std::ios::out);
  file.seekp(std::streamoff(page - 1) * pageSize);
  std::string garbage(size_t(pageSize), '\xEE');
  file.write(garbage.data(), std::streamsize(garbage.size()));
}

}  // namespace enginetest

#endif
