// What a host reads from the factory before it creates anything: the vendor, the
// two classes with their categories, names, versions and IDs.
#include "PluginModule.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace Steinberg;
using namespace conformance;

namespace
{
bool sameId(const char* a, const TUID b)
{
    return std::memcmp(a, b, sizeof(TUID)) == 0;
}

template <typename Interface>
Interface* queryFactory()
{
    void* object = nullptr;
    PluginModule::get().factory()->queryInterface(Interface::iid, &object);
    return static_cast<Interface*>(object);
}
} // namespace

TEST(Factory, NamesTheVendor)
{
    PFactoryInfo info {};
    ASSERT_EQ(PluginModule::get().factory()->getFactoryInfo(&info), kResultOk);
    EXPECT_STREQ(info.vendor, "ZORVIK");
    EXPECT_TRUE(info.flags & PFactoryInfo::kUnicode);
}

TEST(Factory, PublishesTheComponentAndItsController)
{
    auto* factory = PluginModule::get().factory();
    ASSERT_EQ(factory->countClasses(), 2);

    PClassInfo component {}, controller {};
    ASSERT_EQ(factory->getClassInfo(0, &component), kResultOk);
    ASSERT_EQ(factory->getClassInfo(1, &controller), kResultOk);
    EXPECT_STREQ(component.category, "Audio Module Class");
    EXPECT_STREQ(component.name, "ZORVIK Reverb");
    EXPECT_TRUE(sameId(component.cid, componentClassId));
    EXPECT_EQ(component.cardinality, PClassInfo::kManyInstances);
    EXPECT_STREQ(controller.category, "Component Controller Class");
    EXPECT_STREQ(controller.name, "ZORVIK Reverb");
    EXPECT_TRUE(sameId(controller.cid, controllerClassId));
}

TEST(Factory, DescribesTheEffectInVersionTwoAndThreeInfos)
{
    auto* factory2 = queryFactory<IPluginFactory2>();
    ASSERT_NE(factory2, nullptr);
    PClassInfo2 info {};
    ASSERT_EQ(factory2->getClassInfo2(0, &info), kResultOk);
    EXPECT_STREQ(info.category, "Audio Module Class");
    EXPECT_STREQ(info.subCategories, "Fx");
    EXPECT_STREQ(info.vendor, "ZORVIK");
    EXPECT_STREQ(info.version, "1.2.0");
    EXPECT_EQ(std::strncmp(info.sdkVersion, "VST 3", 5), 0) << info.sdkVersion;
    EXPECT_TRUE(sameId(info.cid, componentClassId));
    factory2->release();

    auto* factory3 = queryFactory<IPluginFactory3>();
    ASSERT_NE(factory3, nullptr);
    for (int32 i = 0; i < factory3->countClasses(); ++i)
    {
        PClassInfoW wide {};
        ASSERT_EQ(factory3->getClassInfoUnicode(i, &wide), kResultOk);
        EXPECT_EQ(toAscii(wide.name), "ZORVIK Reverb");
        EXPECT_EQ(toAscii(wide.vendor), "ZORVIK");
        EXPECT_EQ(toAscii(wide.version), "1.2.0");
        EXPECT_STREQ(wide.subCategories, "Fx");
    }
    factory3->release();
}

TEST(Factory, MakesNothingForAnUnknownClassOrInterface)
{
    auto* factory = PluginModule::get().factory();
    const TUID unknown = INLINE_UID(0x01020304, 0x05060708, 0x090A0B0C, 0x0D0E0F10);
    void* object = reinterpret_cast<void*>(1);
    EXPECT_NE(factory->createInstance(unknown, Vst::IComponent::iid, &object), kResultOk);
    EXPECT_EQ(object, nullptr);
    object = reinterpret_cast<void*>(1);
    EXPECT_NE(factory->createInstance(componentClassId, Vst::IEditController::iid, &object), kResultOk);
    EXPECT_EQ(object, nullptr);
}

TEST(Factory, ComponentNamesItsControllerAndAnswersItsInterfaces)
{
    PluginInstance plugin;
    TUID controllerId;
    ASSERT_EQ(plugin.component->getControllerClassId(controllerId), kResultOk);
    EXPECT_TRUE(sameId(controllerId, controllerClassId));

    void* unit = nullptr;
    ASSERT_EQ(plugin.controller->queryInterface(Vst::IUnitInfo::iid, &unit), kResultOk);
    static_cast<Vst::IUnitInfo*>(unit)->release();
    void* none = reinterpret_cast<void*>(1);
    const TUID unknown = INLINE_UID(0x11111111, 0x22222222, 0x33333333, 0x44444444);
    EXPECT_NE(plugin.component->queryInterface(unknown, &none), kResultOk);
    EXPECT_EQ(none, nullptr);
}
