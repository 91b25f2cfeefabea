#include "LogCapture.h"

namespace testsupport {

class LogCapture::Appender : public log4cxx::AppenderSkeleton {
public:
    void append(const log4cxx::spi::LoggingEventPtr& event, log4cxx::helpers::Pool&) override
    {
        std::lock_guard<std::mutex> lock(mutex);
        std::string level;
        event->getLevel()->toString(level);
        recorded.push_back({level, event->getRenderedMessage()});
    }
    void close() override {}
    bool requiresLayout() const override { return false; }

    mutable std::mutex mutex;
    std::vector<LogLine> recorded;
};

LogCapture::LogCapture(const log4cxx::LevelPtr& level)
    : appender(std::make_shared<Appender>()),
      logger(log4cxx::Logger::getLogger("Prelvar.IPInterfaceProvider"))
{
    previous = logger->getLevel();
    logger->setLevel(level);
    logger->setAdditivity(false);
    logger->addAppender(appender);
}

LogCapture::~LogCapture()
{
    logger->removeAppender(appender);
    logger->setLevel(previous);
}

std::vector<LogLine> LogCapture::lines() const
{
    std::lock_guard<std::mutex> lock(appender->mutex);
    return appender->recorded;
}

std::vector<std::string> LogCapture::texts() const
{
    std::vector<std::string> out;
    for (const LogLine& line : lines())
        out.push_back(line.text);
    return out;
}

void LogCapture::clear()
{
    std::lock_guard<std::mutex> lock(appender->mutex);
    appender->recorded.clear();
}

size_t LogCapture::count(const std::string& fragment) const
{
    size_t n = 0;
    for (const LogLine& line : lines())
        if (line.text.find(fragment) != std::string::npos)
            ++n;
    return n;
}

} // namespace testsupport
