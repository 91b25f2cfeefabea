// Loads the built module the way a CIM server does and checks its face:
// the three factories, their records, and that nothing else leaks out.
#include <cmpidt.h>
#include <cmpift.h>

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cstring>

namespace {

class ModuleLoad : public ::testing::Test {
protected:
    void SetUp() override
    {
        handle = dlopen(IPIF_MODULE_PATH, RTLD_NOW | RTLD_LOCAL);
        ASSERT_NE(handle, nullptr) << dlerror();
    }
    void TearDown() override
    {
        if (handle)
            dlclose(handle);
    }
    template <class F> F symbol(const char* name) { return reinterpret_cast<F>(dlsym(handle, name)); }

    void* handle = nullptr;
};

using InstanceFactory = CMPIInstanceMI* (*)(const CMPIBroker*, const CMPIContext*, CMPIStatus*);
using AssociationFactory = CMPIAssociationMI* (*)(const CMPIBroker*, const CMPIContext*, CMPIStatus*);
using MethodFactory = CMPIMethodMI* (*)(const CMPIBroker*, const CMPIContext*, CMPIStatus*);

TEST_F(ModuleLoad, FactoriesReturnRecordsOfVersion200)
{
    auto instance = symbol<InstanceFactory>("IPInterfaceProvider_Create_InstanceMI");
    auto association = symbol<AssociationFactory>("IPInterfaceProvider_Create_AssociationMI");
    auto method = symbol<MethodFactory>("IPInterfaceProvider_Create_MethodMI");
    ASSERT_NE(instance, nullptr);
    ASSERT_NE(association, nullptr);
    ASSERT_NE(method, nullptr);

    CMPIStatus untouched = {CMPI_RC_ERR_TYPE_MISMATCH, nullptr};
    CMPIInstanceMI* imi = instance(nullptr, nullptr, &untouched);
    ASSERT_NE(imi, nullptr);
    EXPECT_EQ(imi->hdl, nullptr);
    EXPECT_EQ(imi->ft->ftVersion, 200);
    EXPECT_EQ(imi->ft->miVersion, 200);
    EXPECT_STREQ(imi->ft->miName, "instanceIPInterfaceProvider");
    EXPECT_EQ(untouched.rc, CMPI_RC_ERR_TYPE_MISMATCH) << "factories never write the status";

    CMPIAssociationMI* ami = association(nullptr, nullptr, nullptr);
    ASSERT_NE(ami, nullptr);
    EXPECT_EQ(ami->ft->ftVersion, 200);
    EXPECT_EQ(ami->ft->miVersion, 200);
    EXPECT_STREQ(ami->ft->miName, "associationIPInterfaceProvider");

    CMPIMethodMI* mmi = method(nullptr, nullptr, nullptr);
    ASSERT_NE(mmi, nullptr);
    EXPECT_EQ(mmi->ft->ftVersion, 200);
    EXPECT_EQ(mmi->ft->miVersion, 200);
    EXPECT_STREQ(mmi->ft->miName, "methodIPInterfaceProvider");

    // The same static record on every call.
    EXPECT_EQ(instance(nullptr, nullptr, nullptr), imi);
}

TEST_F(ModuleLoad, CleanupsAnswerAsDocumented)
{
    auto instance = symbol<InstanceFactory>("IPInterfaceProvider_Create_InstanceMI");
    auto association = symbol<AssociationFactory>("IPInterfaceProvider_Create_AssociationMI");
    auto method = symbol<MethodFactory>("IPInterfaceProvider_Create_MethodMI");
    CMPIInstanceMI* imi = instance(nullptr, nullptr, nullptr);
    CMPIAssociationMI* ami = association(nullptr, nullptr, nullptr);
    CMPIMethodMI* mmi = method(nullptr, nullptr, nullptr);
    EXPECT_EQ(imi->ft->cleanup(imi, nullptr, 1).rc, CMPI_RC_OK);
    EXPECT_EQ(ami->ft->cleanup(ami, nullptr, 0).rc, CMPI_RC_OK);
    // Anything but OK keeps the provider loaded for ever in some servers.
    EXPECT_EQ(mmi->ft->cleanup(mmi, nullptr, 1).rc, CMPI_RC_OK);
    EXPECT_EQ(mmi->ft->cleanup(mmi, nullptr, 0).rc, CMPI_RC_OK);
}

TEST_F(ModuleLoad, RequestsBeforeAnyBrokerFailInOrder)
{
    // A request that reaches the module with nothing usable must not crash.
    auto instance = symbol<InstanceFactory>("IPInterfaceProvider_Create_InstanceMI");
    CMPIInstanceMI* imi = instance(nullptr, nullptr, nullptr);
    EXPECT_NE(imi->ft->enumerateInstanceNames(imi, nullptr, nullptr, nullptr).rc, CMPI_RC_OK);
    EXPECT_NE(imi->ft->getInstance(imi, nullptr, nullptr, nullptr, nullptr).rc, CMPI_RC_OK);
    EXPECT_EQ(imi->ft->deleteInstance(imi, nullptr, nullptr, nullptr).rc, CMPI_RC_ERR_NOT_SUPPORTED);
}

TEST_F(ModuleLoad, ExportsExceptionsButNotInternals)
{
    EXPECT_NE(dlsym(handle, "_ZTIN5Korvu18FrameworkExceptionE"), nullptr);
    EXPECT_NE(dlsym(handle, "_ZTIN5Korvu24InstrumentationExceptionE"), nullptr);
    EXPECT_NE(dlsym(handle, "_ZTIN5Korvu17ProviderExceptionE"), nullptr);
    EXPECT_NE(dlsym(handle, "_ZNK5Korvu17ProviderException4whatEv"), nullptr);
    // Internal helpers stay hidden so they cannot clash with the server's.
    EXPECT_EQ(dlsym(handle, "_ZN5Korvu19IPInterfaceProvider12brokerHandleEv"), nullptr);
    EXPECT_EQ(dlsym(handle, "_ZN5Korvu19IPInterfaceProvider8tokenizeERKNSt7__cxx1112basic_stringIcSt11char_traitsIcESaIcEEERSt6vectorIS6_SaIS6_EES8_"), nullptr);
}

} // namespace
