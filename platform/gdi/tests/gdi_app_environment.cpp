/*
** One QGuiApplication for the whole test run: fonts and painters need it.
*/
#include <QGuiApplication>

#include <gtest/gtest.h>

namespace {

class GuiApplicationEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    static int argc = 1;
    static char name[] = "gdi_tests";
    static char* argv[] = {name, nullptr};
    if (!QGuiApplication::instance()) app_ = new QGuiApplication(argc, argv);
  }

 private:
  QGuiApplication* app_ = nullptr;
};

[[maybe_unused]] ::testing::Environment* const environment =
    ::testing::AddGlobalTestEnvironment(new GuiApplicationEnvironment);

}  // namespace
