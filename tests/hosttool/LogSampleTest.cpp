// The shipped log4cxx sample, picked up as a CIM server's process picks it
// up: through LOG4CXX_CONFIGURATION, before anything else touches log4cxx.
#include <gtest/gtest.h>

#include <log4cxx/logger.h>
#include <log4cxx/rolling/rollingfileappender.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

namespace {

std::string readAll(const std::string& path)
{
    std::ifstream in(path);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

} // namespace

TEST(LogSample, EnvironmentPointsTheProvidersLoggerAtARollingFile)
{
    char pattern[] = "/tmp/ipif-log4cxx-XXXXXX";
    const std::string folder = mkdtemp(pattern);
    std::string sample = readAll(LOG_SAMPLE);
    const std::string shipped = "/var/log/ipinterfaceprofile.log";
    const auto at = sample.find("File=" + shipped);
    ASSERT_NE(at, std::string::npos) << "sample names no log file";
    sample.replace(at + 5, shipped.size(), folder + "/provider.log");
    std::ofstream(folder + "/log4cxx.properties") << sample;
    setenv("LOG4CXX_CONFIGURATION", (folder + "/log4cxx.properties").c_str(), 1);

    log4cxx::LoggerPtr logger = log4cxx::Logger::getLogger("Prelvar.IPInterfaceProvider");
    LOG4CXX_INFO(logger, "ENTERING: sample check");
    LOG4CXX_DEBUG(logger, "below the sample's level");

    auto appender = log4cxx::Logger::getRootLogger()->getAppender(LOG4CXX_STR("ROLL"));
    auto rolling = log4cxx::cast<log4cxx::rolling::RollingFileAppender>(appender);
    ASSERT_TRUE(rolling) << "no rolling file appender";
    EXPECT_EQ(rolling->getMaxBackupIndex(), 4);
    EXPECT_EQ(rolling->getMaximumFileSize(), 10L * 1024 * 1024);

    const std::string written = readAll(folder + "/provider.log");
    EXPECT_NE(written.find("Prelvar.IPInterfaceProvider - ENTERING: sample check"), std::string::npos) << written;
    EXPECT_EQ(written.find("below the sample's level"), std::string::npos);
    std::system(("rm -rf '" + folder + "'").c_str());
}
