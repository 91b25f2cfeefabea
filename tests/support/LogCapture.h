#ifndef TESTSUPPORT_LOGCAPTURE_H
#define TESTSUPPORT_LOGCAPTURE_H

#include <log4cxx/appenderskeleton.h>
#include <log4cxx/level.h>
#include <log4cxx/logger.h>
#include <log4cxx/spi/loggingevent.h>

#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace testsupport {

struct LogLine {
    std::string level;  // "INFO", "DEBUG", "ERROR", ...
    std::string text;
};

// Records every line written to the module's logger while it lives, and sets
// the logger's level for the test (restored afterwards).
class LogCapture {
public:
    explicit LogCapture(const log4cxx::LevelPtr& level = log4cxx::Level::getInfo());
    ~LogCapture();
    LogCapture(const LogCapture&) = delete;
    LogCapture& operator=(const LogCapture&) = delete;

    std::vector<LogLine> lines() const;
    std::vector<std::string> texts() const;
    void clear();
    // Lines whose text contains `fragment`.
    size_t count(const std::string& fragment) const;

private:
    class Appender;
    std::shared_ptr<Appender> appender;
    log4cxx::LoggerPtr logger;
    log4cxx::LevelPtr previous;
};

} // namespace testsupport

#endif
