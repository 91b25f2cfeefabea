#ifndef CIMHOST_CIMXML_SERVER_H
#define CIMHOST_CIMXML_SERVER_H

#include <cstddef>
#include <memory>
#include <string>

#include "ClassCatalog.h"

namespace cimhost {
class Broker;
}

namespace cimhost::cimxml {

struct ServerOptions {
    std::string host = "127.0.0.1";
    int port = 5988;                      // 0 picks a free port
    size_t maxBody = 4 * 1024 * 1024;     // larger bodies answer 413
    std::string usersFile;                // lines user:password; empty = no auth
    int threads = 8;
    std::shared_ptr<const ClassCatalog> classes;  // for GetClass and untyped input
};

// CIM operations over HTTP: POST with CIMOperation: MethodCall to any
// path. Requests run concurrently on a thread pool, each in its own
// cimhost::Request. The broker must outlive the server. Nothing here
// throws except std::bad_alloc.
class Server {
public:
    Server(Broker& broker, ServerOptions options);
    ~Server();
    Server(const Server&) = delete;
    Server& operator=(const Server&) = delete;

    // Reads the users file and binds; false, with `error` set, when either
    // fails. Serving then runs on a thread of its own.
    bool start(std::string& error);
    int port() const;
    // Until stop() is called (from another thread or a signal handler's
    // helper thread).
    void wait();
    void stop();

private:
    struct State;
    std::unique_ptr<State> state;
};

} // namespace cimhost::cimxml

#endif
