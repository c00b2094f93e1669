#include <gtest/gtest.h>

#include "Factories.h"
#include "Fetchkeeper.h"

namespace {

struct Counts {
    int constructed = 0, destroyed = 0;
};
Counts g_counts;

// An object whose second-stage initialisation fails.
class Refusing final : public EngineObject<Refusing> {
public:
    Refusing() { ++g_counts.constructed; }
    ~Refusing() { ++g_counts.destroyed; }
    bool FK_STDCALL Init() override { return false; }
};

TEST(Factories, CreatingFactoryMakesANewObjectEachCall) {
    IEngineObject* a = NEW_FETCHKEEPER();
    IEngineObject* b = NEW_FETCHKEEPER();
    ASSERT_NE(a, nullptr);
    ASSERT_NE(b, nullptr);
    EXPECT_NE(a, b);
    ReleaseObject(a);
    ReleaseObject(b);
    for (auto make : {NEW_DOWNITEM, NEW_PRJMNG}) {
        IEngineObject* object = make();
        ASSERT_NE(object, nullptr);
        object->Release();
    }
}

TEST(Factories, StaticFactoryReturnsOneInstance) {
    for (auto make : {NEW_00_FETCHKEEPER, NEW_00_DOWNITEM, NEW_00_PRJMNG}) {
        IEngineObject* first = make();
        ASSERT_NE(first, nullptr);
        EXPECT_EQ(make(), first);
    }
}

TEST(Factories, FailedInitYieldsNullAndFreesTheObject) {
    g_counts = {};
    EXPECT_EQ(CreateEngineObject<Refusing>(), nullptr);
    EXPECT_EQ(g_counts.constructed, 1);
    EXPECT_EQ(g_counts.destroyed, 1);
}

// Refuses its first two initialisations.
class Reluctant final : public EngineObject<Reluctant> {
public:
    bool FK_STDCALL Init() override { return ++tries_ > 2; }
    int tries_ = 0;
};

TEST(Factories, StaticFactoryKeepsTryingUntilInitSucceeds) {
    EXPECT_EQ(StaticEngineObject<Refusing>(), nullptr);
    EXPECT_EQ(StaticEngineObject<Refusing>(), nullptr);
    EXPECT_EQ(StaticEngineObject<Reluctant>(), nullptr);
    EXPECT_EQ(StaticEngineObject<Reluctant>(), nullptr);
    IEngineObject* ready = StaticEngineObject<Reluctant>();
    ASSERT_NE(ready, nullptr);
    EXPECT_EQ(StaticEngineObject<Reluctant>(), ready);
    EXPECT_EQ(static_cast<Reluctant*>(ready)->tries_, 3);  // not initialised again once ready
}

// Counts the releases it is given; never freed.
class Counted final : public IEngineObject {
public:
    IEngineObject* FK_STDCALL DeleteSelf(uint32_t) override { return this; }
    void FK_STDCALL Release() override { ++releases; }
    bool FK_STDCALL Init() override { return true; }
    int releases = 0;
};

TEST(Factories, ReleaseObjectReleasesWhatItIsGivenAndNothingElse) {
    Counted object;
    ReleaseObject(&object);
    EXPECT_EQ(object.releases, 1);
    ReleaseObject(nullptr);
    EXPECT_EQ(object.releases, 1);
}

}  // namespace
