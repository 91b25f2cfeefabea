#ifndef LOAD_HTTPCLIENT_H
#define LOAD_HTTPCLIENT_H

#include <map>
#include <string>

// A plain HTTP/1.1 client over loopback sockets for driving a CIM-XML
// server: one connection kept alive, or a new one per call. Every wait is
// bounded by a receive timeout, so a stuck server fails the call instead
// of hanging the caller.
class HttpClient {
public:
    struct Reply {
        int status = 0;  // 0: no answer (refused, closed or timed out)
        std::map<std::string, std::string> headers;  // names in lower case
        std::string body;
        std::string header(const std::string& lowerName) const;
    };

    HttpClient(int port, bool keepAlive, int timeoutMs = 5000);
    ~HttpClient();
    HttpClient(const HttpClient&) = delete;
    HttpClient& operator=(const HttpClient&) = delete;

    // POSTs a CIM-XML body with the CIMOperation headers.
    bool call(const std::string& body, Reply& reply);
    // Sends raw bytes and reads one answer on a fresh connection.
    bool raw(const std::string& bytes, Reply& reply);
    // Reads one answer from the open connection (after raw pipelined bytes).
    bool readReply(Reply& reply);
    int connections() const { return opened; }

    // A connected TCP socket to 127.0.0.1:port, from `source` when given
    // (any 127.x.y.z works on Linux); -1 on failure.
    static int connectTo(int port, const std::string& source = std::string(), int timeoutMs = 5000);
    static bool sendAll(int fd, const std::string& bytes);

    // An intrinsic CIM-XML request message.
    static std::string intrinsic(const std::string& method, const std::string& nameSpace,
                                 const std::string& parameters);
    static std::string enumerate(const std::string& method, const std::string& nameSpace,
                                 const std::string& className);

private:
    bool ensureOpen();
    void closeConnection();
    int port;
    bool keepAlive;
    int timeoutMs;
    int fd = -1;
    int opened = 0;
    std::string pending;  // bytes read past the previous answer
};

#endif
