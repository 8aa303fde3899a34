// One QApplication for the whole test program, made before any test runs: the import window
// needs widgets, and the headless commands take the application that exists. Tests run on the
// offscreen platform.
#include <gtest/gtest.h>

#include <QApplication>
#include <memory>

namespace {

class WidgetsEnvironment : public testing::Environment {
 public:
  void SetUp() override {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    app_ = std::make_unique<QApplication>(argc_, argv_);
  }
  void TearDown() override { app_.reset(); }

 private:
  int argc_ = 1;
  char name_[32] = "kestrova_tests_app";
  char* argv_[2] = {name_, nullptr};
  std::unique_ptr<QApplication> app_;
};

[[maybe_unused]] testing::Environment* const kWidgets =
    testing::AddGlobalTestEnvironment(new WidgetsEnvironment);

}  // namespace
