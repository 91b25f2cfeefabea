#ifndef CIMHOST_CIMXML_SERVER_H
#define CIMHOST_CIMXML_SERVER_H

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

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
    int threads = 8;                      // each serves many connections
    std::string certFile, keyFile;        // PEM; both given = HTTPS
    unsigned maxConnections = 1000;
    unsigned maxPerAddress = 64;          // connections from one client address
    unsigned idleTimeout = 30;            // seconds without traffic close a connection
    size_t maxHeader = 32 * 1024;         // request line and headers of one request
    std::shared_ptr<const ClassCatalog> classes;  // for GetClass and untyped input
    std::vector<std::string> namespaces;          // served; empty: any
    std::vector<std::string> instanceClasses;     // for superclass enumerations
};

// CIM operations over HTTP(S): POST with CIMOperation: MethodCall to any
// path. Connections are event driven (GNU libmicrohttpd), so idle or slow
// clients hold no thread; headers are bounded and checked, with the
// credentials, before any body is read. Requests run concurrently on a
// thread pool, each in its own cimhost::Request. The broker must outlive
// the server. Nothing here throws except std::bad_alloc.
class Server {
public:
    Server(Broker& broker, ServerOptions options);
    ~Server();
    Server(const Server&) = delete;
    Server& operator=(const Server&) = delete;

    // Reads the users file (empty or unreadable: an error) and the TLS
    // files, and binds; false, with `error` set, when any of it fails. Serving then runs on a thread of its own.
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
