#include "PlatformUtilities.h"

#include <cstdlib>
#include <mutex>

namespace Korvu {

namespace {

struct Setting {
    std::mutex lock;
    std::string folder;
};

// Never destroyed: a detached thread may still ask while the process exits.
Setting& setting()
{
    static Setting* instance = new Setting;
    return *instance;
}

std::string withSeparator(std::string folder)
{
    if (folder.empty() || folder.back() != '/')
        folder += '/';
    return folder;
}

} // namespace

const char* const PlatformUtilities::defaultMaranthDataDir = "/var/lib/korvu/maranth/";

std::string PlatformUtilities::getMaranthDataDir()
{
    {
        Setting& s = setting();
        std::lock_guard<std::mutex> guard(s.lock);
        if (!s.folder.empty())
            return s.folder;
    }
    const char* fromEnvironment = std::getenv("MARANTH_DATA_DIR");
    if (fromEnvironment != nullptr && *fromEnvironment != '\0')
        return withSeparator(fromEnvironment);
    return defaultMaranthDataDir;
}

void PlatformUtilities::setMaranthDataDir(const std::string& folder)
{
    Setting& s = setting();
    std::string value = folder.empty() ? std::string() : withSeparator(folder);
    std::lock_guard<std::mutex> guard(s.lock);
    s.folder = value;
}

} // namespace Korvu
