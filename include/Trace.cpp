#include "Trace.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

namespace Korvu {

namespace {

const char separatorLine[] =
    "==============================================================================";

const log4cxx::LevelPtr& levelOf(Trace::Level level)
{
    static const log4cxx::LevelPtr info = log4cxx::Level::getInfo();
    static const log4cxx::LevelPtr debug = log4cxx::Level::getDebug();
    static const log4cxx::LevelPtr error = log4cxx::Level::getError();
    switch (level) {
    case Trace::Level::Debug:
        return debug;
    case Trace::Level::Error:
        return error;
    default:
        return info;
    }
}

void forcedLog(const log4cxx::LoggerPtr& logger, Trace::Level level,
               const log4cxx::spi::LocationInfo& location, const char* line)
{
    try {
        logger->forcedLog(levelOf(level), std::string(line), location);
    } catch (...) {
        // Logging must never turn into a failure of the request.
    }
}

} // namespace

namespace Trace {

namespace {
thread_local const RequestScope* innermost = nullptr;
} // namespace

RequestScope::RequestScope(const log4cxx::LoggerPtr& given) : outer(innermost), logger(given.get())
{
    if (given) {
        info = given->isInfoEnabled();
        debug = given->isDebugEnabled();
        error = given->isErrorEnabled();
    }
    innermost = this;
}

RequestScope::~RequestScope() { innermost = outer; }

bool isEnabled(const log4cxx::LoggerPtr& logger, Level level)
{
    if (!logger)
        return false;
    if (const RequestScope* scope = innermost; scope && scope->logger == logger.get())
        return level == Level::Debug ? scope->debug : level == Level::Error ? scope->error : scope->info;
    switch (level) {
    case Level::Debug:
        return logger->isDebugEnabled();
    case Level::Error:
        return logger->isErrorEnabled();
    default:
        return logger->isInfoEnabled();
    }
}

void writeLine(const log4cxx::LoggerPtr& logger, Level level,
               const log4cxx::spi::LocationInfo& location, const char* format, ...)
{
    // One buffer per thread: concurrent requests and the configuration
    // thread never share it, and vsnprintf never writes past it.
    thread_local char buffer[512];
    std::memset(buffer, 0, sizeof buffer);
    va_list args;
    va_start(args, format);
    std::vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
    forcedLog(logger, level, location, buffer);
}

} // namespace Trace

void markProviderEntry(log4cxx::LoggerPtr logger, const char* file,
                       const char* function, const unsigned int line)
{
    if (Trace::isEnabled(logger, Trace::Level::Info))
        Trace::writeLine(logger, Trace::Level::Info, LOG4CXX_LOCATION, "%s", separatorLine);
    if (Trace::isEnabled(logger, Trace::Level::Info))
        Trace::writeLine(logger, Trace::Level::Info, LOG4CXX_LOCATION,
                         "ENTERING: %s() in %s [Line: %d]", function ? function : "",
                         file ? file : "", static_cast<int>(line));
}

void markProviderExit(log4cxx::LoggerPtr logger, const char* file,
                      const char* function, const unsigned int line)
{
    if (Trace::isEnabled(logger, Trace::Level::Info))
        Trace::writeLine(logger, Trace::Level::Info, LOG4CXX_LOCATION,
                         "EXITING: %s() in %s [Line: %d]", function ? function : "",
                         file ? file : "", static_cast<int>(line));
    if (Trace::isEnabled(logger, Trace::Level::Info))
        Trace::writeLine(logger, Trace::Level::Info, LOG4CXX_LOCATION, "%s", separatorLine);
}

} // namespace Korvu
