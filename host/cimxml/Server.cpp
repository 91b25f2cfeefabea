#include "Server.h"

#include <httplib.h>
#include <sys/socket.h>

#include <cctype>
#include <condition_variable>
#include <fstream>
#include <mutex>
#include <set>
#include <thread>

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

// A CIM header, also in the NN- prefixed form extension-aware clients use.
std::string cimHeader(const httplib::Request& req, const std::string& name)
{
    if (req.has_header(name.c_str()))
        return req.get_header_value(name.c_str());
    for (const auto& [key, value] : req.headers) {
        size_t dash = key.find('-');
        if (dash == 0 || dash == std::string::npos || dash + 1 + name.size() != key.size())
            continue;
        bool digits = true;
        for (size_t i = 0; i < dash; ++i)
            digits = digits && std::isdigit(static_cast<unsigned char>(key[i]));
        if (digits && sameText(key.substr(dash + 1), name))
            return value;
    }
    return std::string();
}

} // namespace

struct Server::State {
    Broker& broker;
    ServerOptions options;
    httplib::Server http;
    std::set<std::string> users;  // "user:password"
    std::thread thread;
    std::mutex mutex;
    std::condition_variable done;
    std::mutex joining;
    int boundPort = 0;
    bool started = false;
    bool finished = false;

    State(Broker& b, ServerOptions o) : broker(b), options(std::move(o)) {}

    bool authorized(const httplib::Request& req) const
    {
        if (options.usersFile.empty())
            return true;
        std::string auth = req.get_header_value("Authorization");
        const std::string scheme = "basic ";
        if (auth.size() <= scheme.size() || !sameText(auth.substr(0, scheme.size()), scheme))
            return false;
        std::string credentials;
        size_t start = auth.find_first_not_of(' ', scheme.size());
        if (start == std::string::npos || !decodeBase64(auth.substr(start), credentials))
            return false;
        return users.count(credentials) != 0;
    }

    void serve(const httplib::Request& req, httplib::Response& res)
    {
        if (!authorized(req)) {
            res.status = 401;
            res.set_header("WWW-Authenticate", "Basic realm=\"cimxml\"");
            return;
        }
        std::string operation = cimHeader(req, "CIMOperation");
        if (!sameText(operation, "MethodCall")) {
            res.status = 400;
            res.set_header("CIMError", "unsupported-operation");
            return;
        }
        DispatchOptions dispatch;
        dispatch.classes = options.classes.get();
        dispatch.host = "localhost";
        int status = 200;
        std::string cimError;
        std::string body;
        try {
            body = Dispatcher::handleBody(broker, req.body, status, cimError, dispatch);
        } catch (const std::exception&) {
            // Only memory exhaustion gets here; the server keeps going.
            res.status = 500;
            return;
        }
        res.status = status;
        if (!cimError.empty())
            res.set_header("CIMError", cimError);
        if (status == 200) {
            res.set_header("CIMOperation", "MethodResponse");
            res.set_content(body, xmlType);
        }
    }
};

Server::Server(Broker& broker, ServerOptions options) : state(std::make_unique<State>(broker, std::move(options))) {}

Server::~Server() { stop(); }

bool Server::start(std::string& error)
{
    State& s = *state;
    std::lock_guard<std::mutex> lock(s.joining);
    if (s.started) {
        error = "the server is already started";
        return false;
    }
    if (!s.options.usersFile.empty()) {
        std::ifstream in(s.options.usersFile);
        if (!in) {
            error = "cannot read users file " + s.options.usersFile;
            return false;
        }
        std::string line;
        while (std::getline(in, line)) {
            if (!line.empty() && line.back() == '\r')
                line.pop_back();
            if (line.empty() || line[0] == '#' || line.find(':') == std::string::npos)
                continue;
            s.users.insert(line);
        }
    }
    int threads = s.options.threads > 0 ? s.options.threads : 1;
    s.http.new_task_queue = [threads] { return new httplib::ThreadPool(static_cast<size_t>(threads)); };
    s.http.set_payload_max_length(s.options.maxBody);
    s.http.set_keep_alive_max_count(100);
    s.http.set_read_timeout(30, 0);
    s.http.set_write_timeout(30, 0);
    // Only SO_REUSEADDR: httplib's default adds SO_REUSEPORT, which would
    // let a second server share a port already in use.
    s.http.set_socket_options([](int sock) {
        int yes = 1;
        setsockopt(sock, SOL_SOCKET, SO_REUSEADDR, reinterpret_cast<const char*>(&yes), sizeof yes);
    });
    // Refuse oversized bodies from the announced length, before reading them.
    size_t limit = s.options.maxBody;
    s.http.set_pre_routing_handler([limit](const httplib::Request& req, httplib::Response& res) {
        if (!req.has_header("Content-Length"))
            return httplib::Server::HandlerResponse::Unhandled;
        std::string text = req.get_header_value("Content-Length");
        bool digits = !text.empty() && text.size() <= 19;
        for (char c : text)
            digits = digits && std::isdigit(static_cast<unsigned char>(c));
        if (digits && std::stoull(text) <= limit)
            return httplib::Server::HandlerResponse::Unhandled;
        res.status = digits ? 413 : 400;
        res.set_header("Connection", "close");
        return httplib::Server::HandlerResponse::Handled;
    });
    s.http.Post(".*", [&s](const httplib::Request& req, httplib::Response& res) { s.serve(req, res); });
    auto notAllowed = [](const httplib::Request&, httplib::Response& res) {
        res.status = 405;
        res.set_header("Allow", "POST");
    };
    s.http.Get(".*", notAllowed);
    s.http.Put(".*", notAllowed);
    s.http.Delete(".*", notAllowed);
    s.http.Patch(".*", notAllowed);
    if (s.options.port == 0) {
        s.boundPort = s.http.bind_to_any_port(s.options.host);
        if (s.boundPort <= 0) {
            error = "cannot bind to " + s.options.host;
            return false;
        }
    } else {
        if (s.options.port < 0 || s.options.port > 65535 || !s.http.bind_to_port(s.options.host, s.options.port)) {
            error = "cannot bind to " + s.options.host + ":" + std::to_string(s.options.port);
            return false;
        }
        s.boundPort = s.options.port;
    }
    {
        std::lock_guard<std::mutex> guard(s.mutex);
        s.started = true;
    }
    s.thread = std::thread([&s] {
        s.http.listen_after_bind();
        std::lock_guard<std::mutex> guard(s.mutex);
        s.finished = true;
        s.done.notify_all();
    });
    // httplib's stop() does nothing until the loop runs, so a stop right
    // after start must not find it still starting.
    while (!s.http.is_running()) {
        {
            std::lock_guard<std::mutex> guard(s.mutex);
            if (s.finished)
                break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
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
    {
        std::lock_guard<std::mutex> lock(state->mutex);
        if (!state->started)
            return;
    }
    state->http.stop();
    std::lock_guard<std::mutex> lock(state->joining);
    if (state->thread.joinable())
        state->thread.join();
}

} // namespace cimhost::cimxml
