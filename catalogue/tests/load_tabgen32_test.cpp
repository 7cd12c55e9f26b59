/*
** libtabgen32.so as the main program uses it: loaded at run time, its export found by name,
** and working on the engine session the host process started.
*/
#include "catalogue/tabgen32.h"
#include "engine_test_session.h"

#include <dlfcn.h>

namespace {

class LoadTabgen32 : public EngineTestSession {};

}  // namespace

TEST_F(LoadTabgen32, ExportsCreateZarneTableByNameAndCreatesOnTheHostSession) {
  void* library = dlopen(TABGEN32_LIBRARY_PATH, RTLD_NOW | RTLD_LOCAL);
  ASSERT_NE(library, nullptr) << dlerror();
  auto create = reinterpret_cast<CreateZarneTableProc>(dlsym(library, "_CreateZarneTable"));
  ASSERT_NE(create, nullptr) << dlerror();
  // Its internal steps stay private to it.
  EXPECT_EQ(dlsym(library, "_Z18ShowEngineErrorBoxv"), nullptr);

  std::string directory = MakeEmptyDirectory("checkctl");
  EXPECT_EQ(create(database_, "checkctl", directory.c_str()), 1);
  EXPECT_TRUE(TableFileExists(directory, "CHECKCTL"));

  EngineCursor cursor = OpenTable(directory, "CHECKCTL");
  ASSERT_NE(cursor, nullptr);
  EngineCursorProps props{};
  ASSERT_EQ(EngineGetCursorProps(cursor, &props), ENGINE_OK);
  EXPECT_EQ(WORD(props.fieldCount), 2);
  EXPECT_EQ(WORD(props.indexCount), 0);
  EngineCloseCursor(&cursor);

  EXPECT_EQ(create(database_, "CHECKCTL.DB", directory.c_str()), 0);
  ASSERT_EQ(boxes_.size(), 1u);
  EXPECT_EQ(boxes_[0].text, "Not a valid Zarne table name.");
  EXPECT_EQ(dlclose(library), 0);
}
