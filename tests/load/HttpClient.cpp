#include "HttpClient.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>

namespace {

std::string lower(std::string s)
{
    for (char& c : s)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

std::string trim(const std::string& s)
{
    size_t b = s.find_first_not_of(" \t");
    size_t e = s.find_last_not_of(" \t\r");
    return b == std::string::npos ? std::string() : s.substr(b, e - b + 1);
}

} // namespace

std::string HttpClient::Reply::header(const std::string& lowerName) const
{
    auto it = headers.find(lowerName);
    return it == headers.end() ? std::string() : it->second;
}

HttpClient::HttpClient(int p, bool k, int t) : port(p), keepAlive(k), timeoutMs(t) {}

HttpClient::~HttpClient() { closeConnection(); }

int HttpClient::connectTo(int port, const std::string& source, int timeoutMs)
{
    int fd = socket(AF_INET, SOCK_STREAM, 0);
    if (fd < 0)
        return -1;
    timeval tv{timeoutMs / 1000, (timeoutMs % 1000) * 1000};
    setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &tv, sizeof tv);
    setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &tv, sizeof tv);
    int yes = 1;
    setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &yes, sizeof yes);
    if (!source.empty()) {
        sockaddr_in local{};
        local.sin_family = AF_INET;
        inet_pton(AF_INET, source.c_str(), &local.sin_addr);
        if (bind(fd, reinterpret_cast<sockaddr*>(&local), sizeof local) != 0) {
            close(fd);
            return -1;
        }
    }
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(static_cast<uint16_t>(port));
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0) {
        close(fd);
        return -1;
    }
    return fd;
}

bool HttpClient::sendAll(int fd, const std::string& bytes)
{
    size_t sent = 0;
    while (sent < bytes.size()) {
        ssize_t n = send(fd, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
        if (n <= 0)
            return false;
        sent += static_cast<size_t>(n);
    }
    return true;
}

bool HttpClient::ensureOpen()
{
    if (fd >= 0)
        return true;
    pending.clear();
    fd = connectTo(port, std::string(), timeoutMs);
    if (fd >= 0)
        ++opened;
    return fd >= 0;
}

void HttpClient::closeConnection()
{
    if (fd >= 0)
        close(fd);
    fd = -1;
    pending.clear();
}

bool HttpClient::readReply(Reply& reply)
{
    reply = Reply();
    std::string& in = pending;
    char buf[16384];
    size_t headEnd;
    while ((headEnd = in.find("\r\n\r\n")) == std::string::npos) {
        ssize_t n = recv(fd, buf, sizeof buf, 0);
        if (n <= 0) {
            closeConnection();
            return false;
        }
        in.append(buf, static_cast<size_t>(n));
    }
    std::string head = in.substr(0, headEnd);
    in.erase(0, headEnd + 4);
    size_t lineEnd = head.find("\r\n");
    std::string statusLine = head.substr(0, lineEnd);
    size_t space = statusLine.find(' ');
    reply.status = space == std::string::npos ? 0 : std::atoi(statusLine.c_str() + space + 1);
    while (lineEnd != std::string::npos) {
        size_t next = head.find("\r\n", lineEnd + 2);
        std::string line = head.substr(lineEnd + 2, next == std::string::npos ? std::string::npos : next - lineEnd - 2);
        size_t colon = line.find(':');
        if (colon != std::string::npos)
            reply.headers[lower(trim(line.substr(0, colon)))] = trim(line.substr(colon + 1));
        lineEnd = next;
    }
    size_t length = static_cast<size_t>(std::strtoull(reply.header("content-length").c_str(), nullptr, 10));
    while (in.size() < length) {
        ssize_t n = recv(fd, buf, sizeof buf, 0);
        if (n <= 0) {
            closeConnection();
            return false;
        }
        in.append(buf, static_cast<size_t>(n));
    }
    reply.body = in.substr(0, length);
    in.erase(0, length);
    if (lower(reply.header("connection")) == "close")
        closeConnection();
    return true;
}

bool HttpClient::call(const std::string& body, Reply& reply)
{
    if (!keepAlive)
        closeConnection();
    // A kept-alive connection the server has closed meanwhile gets one retry.
    for (int attempt = 0; attempt < 2; ++attempt) {
        bool reused = fd >= 0;
        if (!ensureOpen())
            return false;
        std::string request = "POST /cimom HTTP/1.1\r\nHost: 127.0.0.1\r\n"
                              "Content-Type: application/xml; charset=\"utf-8\"\r\n"
                              "CIMOperation: MethodCall\r\nCIMMethod: x\r\nCIMObject: root%2Fcimv2\r\n";
        if (!keepAlive)
            request += "Connection: close\r\n";
        request += "Content-Length: " + std::to_string(body.size()) + "\r\n\r\n" + body;
        if (sendAll(fd, request) && readReply(reply)) {
            if (!keepAlive)
                closeConnection();
            return true;
        }
        closeConnection();
        if (!reused)
            return false;
    }
    return false;
}

bool HttpClient::raw(const std::string& bytes, Reply& reply)
{
    closeConnection();
    if (!ensureOpen())
        return false;
    // The server may answer and close before taking everything, so a
    // failed send still looks for the answer.
    sendAll(fd, bytes);
    return readReply(reply);
}

std::string HttpClient::intrinsic(const std::string& method, const std::string& nameSpace,
                                  const std::string& parameters)
{
    std::string ns;
    size_t start = 0;
    while (start <= nameSpace.size()) {
        size_t slash = nameSpace.find('/', start);
        std::string part = nameSpace.substr(start, slash == std::string::npos ? std::string::npos : slash - start);
        ns += "<NAMESPACE NAME=\"" + part + "\"/>";
        if (slash == std::string::npos)
            break;
        start = slash + 1;
    }
    return "<?xml version=\"1.0\" encoding=\"utf-8\"?><CIM CIMVERSION=\"2.0\" DTDVERSION=\"2.0\">"
           "<MESSAGE ID=\"4711\" PROTOCOLVERSION=\"1.0\"><SIMPLEREQ><IMETHODCALL NAME=\""
           + method + "\"><LOCALNAMESPACEPATH>" + ns + "</LOCALNAMESPACEPATH>" + parameters
           + "</IMETHODCALL></SIMPLEREQ></MESSAGE></CIM>";
}

std::string HttpClient::enumerate(const std::string& method, const std::string& nameSpace,
                                  const std::string& className)
{
    return intrinsic(method, nameSpace,
                     "<IPARAMVALUE NAME=\"ClassName\"><CLASSNAME NAME=\"" + className + "\"/></IPARAMVALUE>");
}
