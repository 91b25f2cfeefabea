// ipifhost: the provider libraries on an embedded CIM host.
#include <log4cxx/consoleappender.h>
#include <log4cxx/logger.h>
#include <log4cxx/patternlayout.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "Commands.h"

namespace {

// The providers leave logging to their host: warnings and errors go to
// standard error unless IPIFHOST_LOG_LEVEL (DEBUG, INFO, ...) says more.
void configureLogging()
{
    auto layout = std::make_shared<log4cxx::PatternLayout>(LOG4CXX_STR("%d %-5p %c - %m%n"));
    auto appender = std::make_shared<log4cxx::ConsoleAppender>(layout, LOG4CXX_STR("System.err"));
    log4cxx::LoggerPtr root = log4cxx::Logger::getRootLogger();
    root->addAppender(appender);
    const char* level = std::getenv("IPIFHOST_LOG_LEVEL");
    root->setLevel(log4cxx::Level::toLevel(level && *level ? level : "WARN", log4cxx::Level::getWarn()));
}

} // namespace

int main(int argc, char** argv)
{
    configureLogging();
    std::vector<std::string> arguments(argv + 1, argv + argc);
    return ipifhost::Commands::run(arguments);
}
