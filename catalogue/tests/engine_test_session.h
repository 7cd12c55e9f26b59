/*
** What the creation tests share: an engine session with the standard database open, a fresh
** empty directory per test, the message boxes shown during the test, and a look at the
** tables that end up on disk.
*/
#ifndef ZARNE_CATALOGUE_TESTS_ENGINE_TEST_SESSION_H
#define ZARNE_CATALOGUE_TESTS_ENGINE_TEST_SESSION_H

#include "platform/engine/engine.h"
#include "platform/user/message_box.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

class EngineTestSession : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  /* A new empty directory below the test's private root, as a host path. */
  std::string MakeEmptyDirectory(const std::string& name);
  /* The database's working directory as the engine reports it. */
  std::string WorkingDirectory();
  /* Whether <directory>/<TABLE>.DB exists. */
  static bool TableFileExists(const std::string& directory, const std::string& table);
  /* Names of the files in a directory, sorted. */
  static std::vector<std::string> FilesIn(const std::string& directory);

  /* Opens <directory>/<table> on its primary index (or the named one); null on failure. */
  EngineCursor OpenTable(const std::string& directory, const std::string& table,
                         const char* indexName = nullptr);

  EngineDatabase database_ = nullptr;
  std::vector<MessageBoxRequest> boxes_;

 private:
  MessageBoxPresenter previousPresenter_;
  std::filesystem::path root_;
};

#endif
