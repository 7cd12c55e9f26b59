/*
** The engine session and scratch directories of the creation tests.
*/
#include "engine_test_session.h"

#include <algorithm>
#include <cstdlib>

namespace fs = std::filesystem;

void EngineTestSession::SetUp() {
  const char* configuredRoot = std::getenv("ZARNE_ROOT");
  fs::path base = configuredRoot != nullptr ? fs::path(configuredRoot) : fs::temp_directory_path();
  const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
  root_ = base / "catalogue" / (std::string(test->test_suite_name()) + "." + test->name());
  fs::remove_all(root_);
  fs::create_directories(root_);

  previousPresenter_ = SetMessageBoxPresenter([this](const MessageBoxRequest& request) {
    boxes_.push_back(request);
    return DefaultMessageBoxAnswer(request.type);
  });
  ASSERT_EQ(EngineInit(ENGINE_VERSION, nullptr), ENGINE_OK);
  ASSERT_EQ(EngineSetPrivateDir(MakeEmptyDirectory("private").c_str()), ENGINE_OK);
  ASSERT_EQ(EngineOpenDatabase(nullptr, nullptr, 0, 0, nullptr, 0, nullptr, nullptr, &database_),
            ENGINE_OK);
}

void EngineTestSession::TearDown() {
  if (database_ != nullptr) EngineCloseDatabase(&database_);
  EngineExit();
  SetMessageBoxPresenter(previousPresenter_);
  fs::remove_all(root_);
}

std::string EngineTestSession::MakeEmptyDirectory(const std::string& name) {
  fs::path directory = root_ / name;
  fs::create_directories(directory);
  return directory.string();
}

std::string EngineTestSession::WorkingDirectory() {
  char buffer[264] = {};
  EXPECT_EQ(EngineGetDirectory(database_, FALSE, buffer), ENGINE_OK);
  return buffer;
}

bool EngineTestSession::TableFileExists(const std::string& directory, const std::string& table) {
  return fs::exists(fs::path(directory) / (table + ".DB"));
}

std::vector<std::string> EngineTestSession::FilesIn(const std::string& directory) {
  std::vector<std::string> names;
  for (const fs::directory_entry& entry : fs::directory_iterator(directory))
    names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

EngineCursor EngineTestSession::OpenTable(const std::string& directory, const std::string& table,
                                          const char* indexName) {
  EngineCursor cursor = nullptr;
  std::string path = (fs::path(directory) / table).string();
  EngineResult result = EngineOpenTable(database_, path.c_str(), "PARADOX", indexName, nullptr, 0,
                                        0, ENGINE_SHARE_SHARED, 2, FALSE, nullptr, &cursor);
  EXPECT_EQ(result, ENGINE_OK) << "opening " << path;
  return result == ENGINE_OK ? cursor : nullptr;
}
