// One application object for the whole test program, as the program has.
#include <gtest/gtest.h>

#include "Forms.h"

namespace {
class UiEnvironment : public ::testing::Environment {
public:
    void SetUp() override { application_ = new ui::TApplication; }
    void TearDown() override {
        delete application_;
        application_ = nullptr;
    }

private:
    ui::TApplication* application_ = nullptr;
};

const auto* registered = ::testing::AddGlobalTestEnvironment(new UiEnvironment);
}  // namespace
