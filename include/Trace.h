#ifndef KORVU_IPIF_TRACE_H
#define KORVU_IPIF_TRACE_H

#include <log4cxx/logger.h>
#include <log4cxx/level.h>
#include <log4cxx/spi/location/locationinfo.h>

namespace Korvu {

// Every unit logs to this one logger; its level and appenders belong to the
// hosting process.
#define IPIF_LOGGER_NAME "Prelvar.IPInterfaceProvider"

// Request bracket: separator and ENTERING line, EXITING line and separator.
// Neither throws; a disabled INFO level writes nothing.
void markProviderEntry(log4cxx::LoggerPtr logger, const char* file,
                       const char* function, const unsigned int line);
void markProviderExit(log4cxx::LoggerPtr logger, const char* file,
                      const char* function, const unsigned int line);

namespace Trace {

enum class Level { Info, Debug, Error };

// Formats one line of at most 511 characters in storage private to the
// calling thread and hands it to the logger. Never throws.
void writeLine(const log4cxx::LoggerPtr& logger, Level level,
               const log4cxx::spi::LocationInfo& location, const char* format, ...)
    __attribute__((format(printf, 4, 5)));

bool isEnabled(const log4cxx::LoggerPtr& logger, Level level);

// While it lives, this thread's checks of `logger` answer with the levels the
// logger had when it began: a request checks some twenty times per element,
// and each live check walks the logger hierarchy. A level changed meanwhile
// applies from the next request. Scopes nest; the innermost one answers.
class RequestScope {
public:
    explicit RequestScope(const log4cxx::LoggerPtr& logger);
    ~RequestScope();
    RequestScope(const RequestScope&) = delete;
    RequestScope& operator=(const RequestScope&) = delete;

private:
    friend bool isEnabled(const log4cxx::LoggerPtr& logger, Level level);
    const RequestScope* outer;
    const log4cxx::Logger* logger;
    bool info = false;
    bool debug = false;
    bool error = false;
};

} // namespace Trace
} // namespace Korvu

// Declares the unit's logger and file name that the statements below use.
#define IPIF_TRACE_UNIT(fileName)                                                   \
    static log4cxx::LoggerPtr unitLogger = log4cxx::Logger::getLogger(IPIF_LOGGER_NAME); \
    static const char* const unitFile = fileName

#define IPIF_TRACE_LINE(logger, level, ...)                                       \
    do {                                                                          \
        if (::Korvu::Trace::isEnabled(logger, level))                             \
            ::Korvu::Trace::writeLine(logger, level, LOG4CXX_LOCATION, __VA_ARGS__); \
    } while (0)

#define markFunctionEntry(logger, file, function)                                     \
    IPIF_TRACE_LINE(logger, ::Korvu::Trace::Level::Info, "ENTERING: %s() in %s [Line: %d]", \
                    function, file, __LINE__)

#define markFunctionExit(logger, file, function)                                     \
    IPIF_TRACE_LINE(logger, ::Korvu::Trace::Level::Info, "EXITING: %s() in %s [Line: %d]", \
                    function, file, __LINE__)

#define markMethodCall(logger, file, function)                                 \
    IPIF_TRACE_LINE(logger, ::Korvu::Trace::Level::Info,                       \
                    "METHOD: %s() was invoked in %s [Line: %d]", function, file, __LINE__)

// level: Korvu::Trace::Level::Info, ::Debug or ::Error.
#define logMessage(logger, file, level, text)                                  \
    IPIF_TRACE_LINE(logger, level, "MESSAGE [File: %s, Line: %d]: %s", file, __LINE__, text)

// Unit-level shorthands over unitLogger and unitFile.
#define TRACE_ENTER(function) markFunctionEntry(unitLogger, unitFile, function)
#define TRACE_EXIT(function) markFunctionExit(unitLogger, unitFile, function)
#define TRACE_METHOD(function) markMethodCall(unitLogger, unitFile, function)
#define TRACE_INFO(text) logMessage(unitLogger, unitFile, ::Korvu::Trace::Level::Info, text)
#define TRACE_DEBUG(text) logMessage(unitLogger, unitFile, ::Korvu::Trace::Level::Debug, text)
#define TRACE_ERROR(text) logMessage(unitLogger, unitFile, ::Korvu::Trace::Level::Error, text)

#endif
