// What a host reads from the factory before it creates anything: the vendor, the
// two classes with their categories, names, versions and IDs.
#include "PluginModule.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace Steinberg;
using namespace conformance;

TEST(Factory, PublishesTheEffectAndItsControllerWithTheirIdentity)
{
    auto* factory = PluginModule::get().factory();
    PFactoryInfo vendor {};
    ASSERT_EQ(factory->getFactoryInfo(&vendor), kResultOk);
    EXPECT_STREQ(vendor.vendor, "ZORVIK");
    ASSERT_EQ(factory->countClasses(), 2);

    void* object = nullptr;
    ASSERT_EQ(factory->queryInterface(IPluginFactory3::iid, &object), kResultOk);
    auto* factory3 = static_cast<IPluginFactory3*>(object);
    const TUID* ids[] = { &componentClassId, &controllerClassId };
    const char* categories[] = { "Audio Module Class", "Component Controller Class" };
    for (int32 i = 0; i < 2; ++i)
    {
        PClassInfoW info {};
        ASSERT_EQ(factory3->getClassInfoUnicode(i, &info), kResultOk);
        EXPECT_EQ(std::memcmp(info.cid, *ids[i], sizeof(TUID)), 0) << i;
        EXPECT_STREQ(info.category, categories[i]);
        EXPECT_EQ(toAscii(info.name), "ZORVIK Reverb");
        EXPECT_EQ(toAscii(info.vendor), "ZORVIK");
        EXPECT_EQ(toAscii(info.version), "1.2.0");
        EXPECT_STREQ(info.subCategories, "Fx");
    }
    factory3->release();

    PluginInstance plugin; // the component names its controller, or this throws
    TUID controllerId;
    ASSERT_EQ(plugin.component->getControllerClassId(controllerId), kResultOk);
    EXPECT_EQ(std::memcmp(controllerId, controllerClassId, sizeof(TUID)), 0);
}
