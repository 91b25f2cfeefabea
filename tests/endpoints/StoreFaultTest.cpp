// Requests on a node store whose file cannot be loaded.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include "LogCapture.h"
#include "Scene.h"

using namespace scene;
using cimhost::Request;
using cimhost::Response;
using testsupport::LogCapture;
using testsupport::ModuleHarness;

TEST(StoreFault, EveryKindOfRequestFailsWithTheReasonAndLogsIt)
{
    ModuleHarness h(hostAndBmc());
    Request req(h.broker());
    ASSERT_EQ(req.enumerateInstances(h.classPath(req, "Tavrix_IPProtocolEndpoint")).instances.size(), 5u);

    const std::vector<std::pair<std::string, std::string>> broken = {
        {"truncated", hostAndBmc().substr(0, 200)},
        {"wrong types", R"({"nodes":[{"name":"h","type":"COMPUTER_SYSTEM","properties":{"STATE":"up"}}]})"},
    };
    for (const auto& c : broken) {
        h.writeFile(h.storeFile(), c.second);
        LogCapture log(log4cxx::Level::getError());
        Response r = req.enumerateInstances(h.classPath(req, "Tavrix_IPProtocolEndpoint"));
        EXPECT_EQ(r.rc, CMPI_RC_ERR_FAILED) << c.first;
        EXPECT_NE(r.message.find(h.storeFile()), std::string::npos) << c.first << ": " << r.message;
        EXPECT_TRUE(r.instances.empty()) << c.first;
        EXPECT_GE(log.count(h.storeFile()), 1u) << c.first;

        EXPECT_EQ(req.getInstance(req.makePath(staticPath("Computer:eth1"))).rc, CMPI_RC_ERR_FAILED);
        EXPECT_EQ(modify(req, staticPath("Computer:eth1"), {{"IPv4Address", text("10.0.0.7")}}).rc,
                  CMPI_RC_ERR_FAILED);
        EXPECT_FALSE(h.fileExists(h.dataDir() + "ifcfg-eth1")) << c.first;
    }

    ASSERT_EQ(::unlink(h.storeFile().c_str()), 0);
    ASSERT_EQ(::mkdir(h.storeFile().c_str(), 0755), 0);
    Response r = req.enumerateInstanceNames(h.classPath(req, "Tavrix_StaticIPAssignmentSettingData"));
    EXPECT_EQ(r.rc, CMPI_RC_ERR_FAILED);
    EXPECT_NE(r.message.find("not a regular file"), std::string::npos) << r.message;
    ASSERT_EQ(::rmdir(h.storeFile().c_str()), 0);

    // Sound again: served again, without a restart.
    h.writeFile(h.storeFile(), hostAndBmc());
    r = req.enumerateInstances(h.classPath(req, "Tavrix_IPProtocolEndpoint"));
    EXPECT_EQ(r.rc, CMPI_RC_OK);
    EXPECT_EQ(r.instances.size(), 5u);
}
