#include "Server.h"

#include <microhttpd.h>
#include <netdb.h>
#include <netinet/in.h>
#include <sys/socket.h>

#include <cctype>
#include <condition_variable>
#include <cstring>
#include <fstream>
#include <mutex>
#include <set>
#include <sstream>

#include "Broker.h"
#include "Dispatcher.h"

namespace cimhost::cimxml {

namespace {

const char* const xmlType = "application/xml; charset=\"utf-8\"";

bool decodeBase64(const std::string& in, std::string& out)
{
    out.clear();
    unsigned bits = 0;
    int count = 0;
    size_t i = 0;
    for (; i < in.size() && in[i] != '='; ++i) {
        char c = in[i];
        int v;
        if (c >= 'A' && c <= 'Z')
            v = c - 'A';
        else if (c >= 'a' && c <= 'z')
            v = c - 'a' + 26;
        else if (c >= '0' && c <= '9')
            v = c - '0' + 52;
        else if (c == '+')
            v = 62;
        else if (c == '/')
            v = 63;
        else
            return false;
        bits = (bits << 6) | static_cast<unsigned>(v);
        count += 6;
        if (count >= 8) {
            count -= 8;
            out += static_cast<char>((bits >> count) & 0xFF);
        }
    }
    for (; i < in.size(); ++i)
        if (in[i] != '=')
            return false;
    return true;
}

bool sameText(const std::string& a, const std::string& b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

std::string header(MHD_Connection* c, const char* name)
{
    const char* v = MHD_lookup_connection_value(c, MHD_HEADER_KIND, name);
    return v ? v : std::string();
}

struct HeaderSearch {
    const std::string& name;
    std::string value;
    bool found = false;
};

MHD_Result prefixedHeader(void* cls, MHD_ValueKind, const char* key, const char* value)
{
    auto* search = static_cast<HeaderSearch*>(cls);
    std::string k = key;
    size_t dash = k.find('-');
    if (dash == 0 || dash == std::string::npos || dash + 1 + search->name.size() != k.size())
        return MHD_YES;
    for (size_t i = 0; i < dash; ++i)
        if (!std::isdigit(static_cast<unsigned char>(k[i])))
            return MHD_YES;
    if (!sameText(k.substr(dash + 1), search->name))
        return MHD_YES;
    search->value = value ? value : "";
    search->found = true;
    return MHD_NO;
}

// A CIM header, also in the NN- prefixed form extension-aware clients use.
std::string cimHeader(MHD_Connection* c, const std::string& name)
{
    if (const char* v = MHD_lookup_connection_value(c, MHD_HEADER_KIND, name.c_str()))
        return v;
    HeaderSearch search{name, std::string()};
    MHD_get_connection_values(c, MHD_HEADER_KIND, prefixedHeader, &search);
    return search.value;
}

bool readFile(const std::string& path, std::string& text)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    text = s.str();
    return static_cast<bool>(in) && !text.empty();
}

// One request on a connection, from its headers to its answer.
struct Call {
    std::string body;
    bool answered = false;
};

} // namespace

struct Server::State {
    Broker& broker;
    ServerOptions options;
    std::set<std::string> users;  // "user:password"
    std::string cert, key;        // PEM text, kept while the daemon runs
    DispatchOptions dispatch;
    MHD_Daemon* daemon = nullptr;
    std::mutex mutex;
    std::condition_variable done;
    int boundPort = 0;
    bool started = false;
    bool finished = false;

    State(Broker& b, ServerOptions o) : broker(b), options(std::move(o)) {}

    bool authorized(MHD_Connection* c) const
    {
        if (options.usersFile.empty())
            return true;
        std::string auth = header(c, MHD_HTTP_HEADER_AUTHORIZATION);
        const std::string scheme = "basic ";
        if (auth.size() <= scheme.size() || !sameText(auth.substr(0, scheme.size()), scheme))
            return false;
        std::string credentials;
        size_t start = auth.find_first_not_of(' ', scheme.size());
        if (start == std::string::npos || !decodeBase64(auth.substr(start), credentials))
            return false;
        return users.count(credentials) != 0;
    }

    static MHD_Result reply(MHD_Connection* c, unsigned status, const std::string& body = std::string(),
                            const char* cimError = nullptr, bool unauthorized = false)
    {
        MHD_Response* r = MHD_create_response_from_buffer(body.size(), const_cast<char*>(body.data()),
                                                          MHD_RESPMEM_MUST_COPY);
        if (!r)
            return MHD_NO;
        if (cimError)
            MHD_add_response_header(r, "CIMError", cimError);
        if (status == MHD_HTTP_METHOD_NOT_ALLOWED)
            MHD_add_response_header(r, MHD_HTTP_HEADER_ALLOW, "POST");
        if (status == MHD_HTTP_OK) {
            MHD_add_response_header(r, "CIMOperation", "MethodResponse");
            MHD_add_response_header(r, MHD_HTTP_HEADER_CONTENT_TYPE, xmlType);
        }
        MHD_Result queued = unauthorized ? MHD_queue_basic_auth_fail_response(c, "cimxml", r)
                                         : MHD_queue_response(c, status, r);
        MHD_destroy_response(r);
        return queued;
    }

    // Everything that can be told from the headers is checked before the
    // body is read; an answer queued now ends the connection after it.
    MHD_Result begin(MHD_Connection* c, const char* method, Call& call)
    {
        call.answered = true;
        if (std::strcmp(method, MHD_HTTP_METHOD_POST) != 0)
            return reply(c, MHD_HTTP_METHOD_NOT_ALLOWED);
        if (!authorized(c))
            return reply(c, MHD_HTTP_UNAUTHORIZED, std::string(), nullptr, true);
        if (!sameText(cimHeader(c, "CIMOperation"), "MethodCall"))
            return reply(c, MHD_HTTP_BAD_REQUEST, std::string(), "unsupported-operation");
        const char* length = MHD_lookup_connection_value(c, MHD_HEADER_KIND, MHD_HTTP_HEADER_CONTENT_LENGTH);
        if (length) {
            // The library has already refused lengths that are not numbers.
            unsigned long long announced = std::strtoull(length, nullptr, 10);
            if (announced > options.maxBody)
                return reply(c, MHD_HTTP_CONTENT_TOO_LARGE);
            call.body.reserve(static_cast<size_t>(announced));
        } else if (!MHD_lookup_connection_value(c, MHD_HEADER_KIND, MHD_HTTP_HEADER_TRANSFER_ENCODING)) {
            return reply(c, MHD_HTTP_LENGTH_REQUIRED);
        }
        call.answered = false;
        return MHD_YES;
    }

    MHD_Result finish(MHD_Connection* c, Call& call)
    {
        call.answered = true;
        int status = 200;
        std::string cimError;
        std::string body;
        try {
            body = Dispatcher::handleBody(broker, call.body, status, cimError, dispatch);
        } catch (const std::exception&) {
            // Only memory exhaustion gets here; the server keeps going.
            return reply(c, MHD_HTTP_INTERNAL_SERVER_ERROR);
        }
        std::string().swap(call.body);
        return reply(c, static_cast<unsigned>(status), status == 200 ? body : std::string(),
                     cimError.empty() ? nullptr : cimError.c_str());
    }

    static MHD_Result onRequest(void* cls, MHD_Connection* c, const char*, const char* method, const char*,
                                const char* upload, size_t* uploadSize, void** context)
    {
        State& s = *static_cast<State*>(cls);
        auto* call = static_cast<Call*>(*context);
        try {
            if (!call) {
                call = new Call;
                *context = call;
                return s.begin(c, method, *call);
            }
            if (call->answered) {
                *uploadSize = 0;
                return MHD_YES;
            }
            if (*uploadSize != 0) {
                // Only a chunked body gets here past the limit.
                if (call->body.size() + *uploadSize > s.options.maxBody) {
                    call->answered = true;
                    *uploadSize = 0;
                    return MHD_NO;
                }
                call->body.append(upload, *uploadSize);
                *uploadSize = 0;
                return MHD_YES;
            }
            return s.finish(c, *call);
        } catch (const std::exception&) {
            return MHD_NO;
        }
    }

    static void onCompleted(void*, MHD_Connection*, void** context, MHD_RequestTerminationCode)
    {
        delete static_cast<Call*>(*context);
        *context = nullptr;
    }
};

Server::Server(Broker& broker, ServerOptions options) : state(std::make_unique<State>(broker, std::move(options))) {}

Server::~Server() { stop(); }

bool Server::start(std::string& error)
{
    State& s = *state;
    std::lock_guard<std::mutex> lock(s.mutex);
    if (s.started) {
        error = "the server is already started";
        return false;
    }
    if (!s.options.usersFile.empty()) {
        std::ifstream in(s.options.usersFile);
        std::string line;
        while (in && std::getline(in, line)) {
            if (!line.empty() && line.back() == '\r')
                line.pop_back();
            if (line.empty() || line[0] == '#' || line.find(':') == std::string::npos)
                continue;
            s.users.insert(line);
        }
        if (!in.eof()) {
            error = "cannot read users file " + s.options.usersFile;
            return false;
        }
        if (s.users.empty()) {
            error = "users file " + s.options.usersFile + " names no user:password";
            return false;
        }
    }
    s.dispatch.classes = s.options.classes.get();
    s.dispatch.host = "localhost";
    s.dispatch.namespaces = s.options.namespaces;
    s.dispatch.instanceClasses = s.options.instanceClasses;
    unsigned flags = MHD_USE_INTERNAL_POLLING_THREAD | MHD_USE_AUTO;
    const bool tls = !s.options.certFile.empty() || !s.options.keyFile.empty();
    if (tls) {
        if (s.options.certFile.empty() || s.options.keyFile.empty()) {
            error = "HTTPS needs both a certificate and a key";
            return false;
        }
        if (MHD_is_feature_supported(MHD_FEATURE_TLS) != MHD_YES) {
            error = "this libmicrohttpd has no TLS support";
            return false;
        }
        if (!readFile(s.options.certFile, s.cert)) {
            error = "cannot read certificate " + s.options.certFile;
            return false;
        }
        if (!readFile(s.options.keyFile, s.key)) {
            error = "cannot read key " + s.options.keyFile;
            return false;
        }
        flags |= MHD_USE_TLS;
    }
    if (s.options.port < 0 || s.options.port > 65535) {
        error = "port " + std::to_string(s.options.port) + " is out of range";
        return false;
    }
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = AI_PASSIVE;
    addrinfo* found = nullptr;
    if (getaddrinfo(s.options.host.c_str(), std::to_string(s.options.port).c_str(), &hints, &found) != 0 || !found) {
        error = "cannot resolve " + s.options.host;
        return false;
    }
    sockaddr_storage address{};
    std::memcpy(&address, found->ai_addr, found->ai_addrlen);
    freeaddrinfo(found);
    if (address.ss_family == AF_INET6)
        flags |= MHD_USE_IPv6;

    unsigned threads = static_cast<unsigned>(s.options.threads > 0 ? s.options.threads : 1);
    s.daemon = MHD_start_daemon(
        flags, static_cast<uint16_t>(s.options.port), nullptr, nullptr, &State::onRequest, &s,
        MHD_OPTION_SOCK_ADDR, reinterpret_cast<sockaddr*>(&address),
        MHD_OPTION_THREAD_POOL_SIZE, threads,
        MHD_OPTION_CONNECTION_LIMIT, s.options.maxConnections,
        MHD_OPTION_PER_IP_CONNECTION_LIMIT, s.options.maxPerAddress,
        MHD_OPTION_CONNECTION_TIMEOUT, s.options.idleTimeout,
        // Headers live in the connection's pool: its size bounds them.
        MHD_OPTION_CONNECTION_MEMORY_LIMIT, s.options.maxHeader,
        MHD_OPTION_LISTEN_BACKLOG_SIZE, 511u,
        MHD_OPTION_NOTIFY_COMPLETED, &State::onCompleted, nullptr,
        tls ? MHD_OPTION_HTTPS_MEM_CERT : MHD_OPTION_END, s.cert.c_str(),
        MHD_OPTION_HTTPS_MEM_KEY, s.key.c_str(),
        MHD_OPTION_END);
    if (!s.daemon) {
        error = "cannot serve on " + s.options.host + ":" + std::to_string(s.options.port)
                + (tls ? " (or the certificate and key are not usable)" : "");
        return false;
    }
    const MHD_DaemonInfo* info = MHD_get_daemon_info(s.daemon, MHD_DAEMON_INFO_BIND_PORT);
    s.boundPort = info ? info->port : s.options.port;
    s.started = true;
    return true;
}

int Server::port() const { return state->boundPort; }

void Server::wait()
{
    std::unique_lock<std::mutex> lock(state->mutex);
    if (!state->started)
        return;
    state->done.wait(lock, [this] { return state->finished; });
}

void Server::stop()
{
    MHD_Daemon* daemon = nullptr;
    {
        std::lock_guard<std::mutex> lock(state->mutex);
        if (!state->started || state->finished || !state->daemon)
            return;
        daemon = state->daemon;
        state->daemon = nullptr;
    }
    // Waits for the threads, which finish the requests they run.
    MHD_stop_daemon(daemon);
    std::lock_guard<std::mutex> lock(state->mutex);
    state->finished = true;
    state->done.notify_all();
}

} // namespace cimhost::cimxml
