#ifndef LOAD_SERVERPROCESS_H
#define LOAD_SERVERPROCESS_H

#include <string>
#include <sys/types.h>
#include <vector>

// `ipifhost serve` on loopback in a child process, on a copy of a node
// store in a folder of its own. Stopped (and the folder removed) when the
// object goes.
class ServerProcess {
public:
    ServerProcess() = default;
    ~ServerProcess();
    ServerProcess(const ServerProcess&) = delete;
    ServerProcess& operator=(const ServerProcess&) = delete;

    // Waits up to 30 s for "listening on"; false, with `error`, otherwise.
    bool start(const std::string& ipifhost, const std::string& store, const std::vector<std::string>& extra,
               std::string& error);
    void stop();
    int port() const { return boundPort; }
    pid_t pid() const { return child; }
    // Resident set size in KiB, 0 when unknown.
    long residentKb() const;
    std::string log() const;

private:
    pid_t child = -1;
    int boundPort = 0;
    std::string work;
};

#endif
