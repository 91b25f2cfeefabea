#ifndef KORVU_PLATFORMUTILITIES_H
#define KORVU_PLATFORMUTILITIES_H

#include <string>

// Users may build with hidden visibility; this class stays visible to them.
#define KORVU_CLIENT_API __attribute__((visibility("default")))

namespace Korvu {

// Where the agent keeps its files. Safe to call from any thread. Throws
// only std::bad_alloc.
class KORVU_CLIENT_API PlatformUtilities {
public:
    // The agent's data folder, always ending with '/'. First match wins:
    // the value given to setMaranthDataDir, the environment variable
    // MARANTH_DATA_DIR (when not empty; read on every call), then
    // "/var/lib/korvu/maranth/". A missing trailing '/' is added.
    static std::string getMaranthDataDir();

    // Sets the folder for this process; an empty string removes the
    // setting again.
    static void setMaranthDataDir(const std::string& folder);

    static const char* const defaultMaranthDataDir;
};

} // namespace Korvu

#endif
