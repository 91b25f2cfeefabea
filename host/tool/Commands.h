#ifndef IPIFHOST_COMMANDS_H
#define IPIFHOST_COMMANDS_H

#include <string>
#include <vector>

namespace ipifhost {

// The command line of ipifhost: one-shot CIM operations, the demo, the
// CIM-XML server and the import of the machine's own interfaces. Returns
// the exit code: 0 done, 1 the operation failed, 2 a usage error.
class Commands {
public:
    static int run(const std::vector<std::string>& arguments);
    static std::string usage();
    // The usage of one command; the whole usage for an unknown one.
    static std::string usage(const std::string& command);
};

} // namespace ipifhost

#endif
