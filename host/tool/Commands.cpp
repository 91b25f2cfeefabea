#include "Commands.h"

#include <cmpimacs.h>
#include <arpa/inet.h>
#include <netdb.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iostream>
#include <map>
#include <sstream>
#include <thread>

#include "Broker.h"
#include "Codec.h"
#include "HostSetup.h"
#include "InterfaceTable.h"
#include "JsonWriter.h"
#include "LiveImport.h"
#include "MofWriter.h"
#include "NodeStore.h"
#include "PathText.h"
#include "Request.h"
#include "Server.h"

namespace ipifhost {

namespace {

using cimhost::Value;

const char* const defaultNamespace = "root/cimv2";

struct Options {
    std::vector<std::string> words;
    std::map<std::string, std::string> values;
    bool serve = false;
    bool noAuth = false;
    bool help = false;
    bool json = false;

    std::string get(const std::string& name, const std::string& fallback = std::string()) const
    {
        auto it = values.find(name);
        return it == values.end() ? fallback : it->second;
    }
};

const char* const valued[] = {"--store", "--data-dir", "--mof", "--provider-dir", "--namespace",
                              "--work", "--host", "--port", "--users", "--assoc", "--result",
                              "--role", "--result-role", "--out", "--cert", "--key", "--format", "--threads"};

bool parseOptions(const std::vector<std::string>& arguments, Options& options, std::string& error)
{
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& a = arguments[i];
        if (a == "--serve") {
            options.serve = true;
            continue;
        }
        if (a == "--no-auth") {
            options.noAuth = true;
            continue;
        }
        if (a == "--live" || a == "--allow-changes") {
            options.values[a] = "1";
            continue;
        }
        if (a == "--help" || a == "-h") {
            options.help = true;
            continue;
        }
        bool known = false;
        for (const char* name : valued)
            if (a == name) {
                if (i + 1 >= arguments.size()) {
                    error = a + " needs a value";
                    return false;
                }
                options.values[a] = arguments[++i];
                known = true;
            }
        if (known)
            continue;
        if (a.size() > 2 && a.compare(0, 2, "--") == 0) {
            error = "unknown option " + a;
            return false;
        }
        options.words.push_back(a);
    }
    return true;
}

std::string statusName(CMPIrc rc)
{
    static const char* const names[] = {
        "CIM_ERR_OK", "CIM_ERR_FAILED", "CIM_ERR_ACCESS_DENIED", "CIM_ERR_INVALID_NAMESPACE",
        "CIM_ERR_INVALID_PARAMETER", "CIM_ERR_INVALID_CLASS", "CIM_ERR_NOT_FOUND",
        "CIM_ERR_NOT_SUPPORTED", "CIM_ERR_CLASS_HAS_CHILDREN", "CIM_ERR_CLASS_HAS_INSTANCES",
        "CIM_ERR_INVALID_SUPERCLASS", "CIM_ERR_ALREADY_EXISTS", "CIM_ERR_NO_SUCH_PROPERTY",
        "CIM_ERR_TYPE_MISMATCH", "CIM_ERR_QUERY_LANGUAGE_NOT_SUPPORTED", "CIM_ERR_INVALID_QUERY",
        "CIM_ERR_METHOD_NOT_AVAILABLE", "CIM_ERR_METHOD_NOT_FOUND"};
    if (rc >= 0 && static_cast<std::size_t>(rc) < sizeof names / sizeof names[0])
        return names[rc];
    return "CMPI rc " + std::to_string(static_cast<int>(rc));
}

int failed(const cimhost::Response& r)
{
    std::cerr << statusName(r.rc) << (r.message.empty() ? "" : ": " + r.message) << "\n";
    return 1;
}

bool parsePath(const std::string& text, const std::string& nameSpace, cimhost::PathSpec& path,
               std::string& error)
{
    if (!cimhost::parsePathText(text, path, &error))
        return false;
    if (path.nameSpace.empty())
        path.nameSpace = nameSpace;
    return true;
}

// A value for a declared type, from command-line text; strings when the
// schema does not know the name.
bool typedValue(const std::string& text, bool known, CMPIType type, const std::string& nameSpace,
                Value& value, std::string& error)
{
    if (!known || type == CMPI_string) {
        value = Value::string(text);
        return true;
    }
    if (type == CMPI_ref) {
        cimhost::PathSpec path;
        if (!parsePath(text, nameSpace, path, error))
            return false;
        value = Value::reference(path);
        return true;
    }
    if (type & CMPI_ARRAY) {
        std::string body = text;
        if (body.size() >= 2 && body.front() == '{' && body.back() == '}')
            body = body.substr(1, body.size() - 2);
        Value::Elements elements;
        std::istringstream parts(body);
        std::string part;
        while (std::getline(parts, part, ',')) {
            Value element;
            if (!typedValue(part, true, type & ~CMPI_ARRAY, nameSpace, element, error))
                return false;
            elements.push_back(element);
        }
        value = Value::array(type & ~CMPI_ARRAY, elements);
        return true;
    }
    return cimhost::cimxml::Codec::readScalar(text, type, value, error);
}

bool splitAssignment(const std::string& word, std::string& name, std::string& text)
{
    const auto equals = word.find('=');
    if (equals == std::string::npos || equals == 0)
        return false;
    name = word.substr(0, equals);
    text = word.substr(equals + 1);
    return true;
}

const char* optional(const Options& options, const std::string& name, std::string& keep)
{
    keep = options.get(name);
    return keep.empty() ? nullptr : keep.c_str();
}

// JSON output is one document per command: an array for enumerations and
// association requests, an object for gi, mi and cm.
void printInstances(const cimhost::Response& r, bool json)
{
    if (json) {
        nlohmann::ordered_json out = nlohmann::ordered_json::array();
        for (const CMPIInstance* inst : r.instances)
            out.push_back(JsonWriter::instance(cimhost::toInstanceSpec(inst)));
        std::cout << out.dump(2) << "\n";
        return;
    }
    for (const CMPIInstance* inst : r.instances)
        std::cout << MofWriter::instance(cimhost::toInstanceSpec(inst)) << "\n";
}

void printPaths(const cimhost::Response& r, bool json)
{
    if (json) {
        nlohmann::ordered_json out = nlohmann::ordered_json::array();
        for (const CMPIObjectPath* path : r.paths)
            out.push_back(cimhost::pathToText(path));
        std::cout << out.dump(2) << "\n";
        return;
    }
    for (const CMPIObjectPath* path : r.paths)
        std::cout << cimhost::pathToText(path) << "\n";
}

std::vector<cimhost::InstanceSpec> specs(const cimhost::Response& r)
{
    std::vector<cimhost::InstanceSpec> out;
    for (const CMPIInstance* inst : r.instances)
        out.push_back(cimhost::toInstanceSpec(inst));
    return out;
}

int show(cimhost::Request& req, const std::string& nameSpace, bool json)
{
    std::vector<cimhost::InstanceSpec> found[3];
    const char* const classes[] = {"Tavrix_IPProtocolEndpoint", "Tavrix_IPRemoteServiceAccessPoint",
                                   "Tavrix_DNSSettingData"};
    for (int i = 0; i < 3; ++i) {
        cimhost::Response r = req.enumerateInstances(req.newObjectPath(nameSpace, classes[i]));
        // Endpoints are the rows; a host without the companion still has those.
        if (!r.ok() && i == 0)
            return failed(r);
        if (r.ok())
            found[i] = specs(r);
    }
    const auto rows = InterfaceTable::rows(found[0], found[1], found[2]);
    if (json)
        std::cout << InterfaceTable::json(rows).dump(2) << "\n";
    else
        std::cout << InterfaceTable::table(rows);
    return 0;
}

bool copyFile(const std::string& from, const std::string& to)
{
    std::ifstream in(from, std::ios::binary);
    if (!in)
        return false;
    const std::string temporary = to + ".part";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out << in.rdbuf();
        if (!out.flush())
            return false;
    }
    return std::rename(temporary.c_str(), to.c_str()) == 0;
}

bool makeFolders(const std::string& path)
{
    for (std::size_t slash = 1; slash != std::string::npos;) {
        slash = path.find('/', slash + 1);
        const std::string part = path.substr(0, slash);
        if (mkdir(part.c_str(), 0755) != 0 && errno != EEXIST)
            return false;
    }
    return true;
}

// The store and data folder must be named before the module first reads.
void useStore(const Options& options)
{
    if (!options.get("--store").empty())
        setenv("QUELLSTORE_FILE", options.get("--store").c_str(), 1);
    // This machine's interfaces, from the kernel, read only.
    if (!options.get("--live").empty())
        setenv("QUELLSTORE_SOURCE", "live", 1);
    if (!options.get("--allow-changes").empty())
        setenv("QUELLSTORE_ALLOW_CHANGES", "1", 1);
    std::string data = options.get("--data-dir");
    if (!data.empty()) {
        if (data.back() != '/')
            data += '/';
        setenv("MARANTH_DATA_DIR", data.c_str(), 1);
    }
}

// True when every address the name stands for is a loopback one.
bool loopbackOnly(const std::string& host)
{
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = AI_PASSIVE;
    addrinfo* found = nullptr;
    if (getaddrinfo(host.c_str(), nullptr, &hints, &found) != 0 || !found)
        return false;
    bool loopback = true;
    for (addrinfo* a = found; a; a = a->ai_next) {
        if (a->ai_family == AF_INET) {
            const auto* in = reinterpret_cast<const sockaddr_in*>(a->ai_addr);
            loopback = loopback && (ntohl(in->sin_addr.s_addr) >> 24) == 127;
        } else if (a->ai_family == AF_INET6) {
            const auto* in6 = reinterpret_cast<const sockaddr_in6*>(a->ai_addr);
            loopback = loopback && IN6_IS_ADDR_LOOPBACK(&in6->sin6_addr);
        } else {
            loopback = false;
        }
    }
    freeaddrinfo(found);
    return loopback;
}

// Nothing is served from a store that cannot be loaded: it would pass for
// a system without interfaces.
bool storeLoads()
{
    const std::string fault = Korvu::NodeStore::loadError();
    if (fault.empty())
        return true;
    std::cerr << "ipifhost: the node store cannot be used: " << fault << "\n";
    return false;
}

int serve(cimhost::Broker& broker, const HostSetup& setup, const Options& options)
{
    cimhost::cimxml::ServerOptions server;
    server.host = options.get("--host", "127.0.0.1");
    const std::string port = options.get("--port", "5988");
    char* end = nullptr;
    const long number = std::strtol(port.c_str(), &end, 10);
    if (!end || *end || number < 0 || number > 65535) {
        std::cerr << "ipifhost: --port " << port << ": not a port\n";
        return 2;
    }
    server.port = static_cast<int>(number);
    server.usersFile = options.get("--users");
    server.classes = setup.catalog();
    server.namespaces = setup.namespaces();
    server.instanceClasses = setup.instanceClasses();
    const std::string threads = options.get("--threads", "8");
    const long threadCount = std::strtol(threads.c_str(), &end, 10);
    if (!end || *end || threadCount < 1 || threadCount > 256) {
        std::cerr << "ipifhost: --threads " << threads << ": not a count from 1 to 256\n";
        return 2;
    }
    server.threads = static_cast<int>(threadCount);
    server.certFile = options.get("--cert");
    server.keyFile = options.get("--key");
    if (!loopbackOnly(server.host) && server.usersFile.empty()) {
        if (!options.noAuth) {
            std::cerr << "ipifhost: --host " << server.host
                      << " is reachable from other machines: give --users FILE (or --no-auth to serve anyone)\n";
            return 2;
        }
        std::cerr << "ipifhost: warning: serving " << server.host << " to anyone, without authentication\n";
    }
    if (!server.usersFile.empty() && server.certFile.empty() && !loopbackOnly(server.host))
        std::cerr << "ipifhost: warning: passwords travel in clear without --cert and --key\n";

    // Signals are taken by one thread, which stops the server.
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);

    cimhost::cimxml::Server listener(broker, server);
    std::string error;
    if (!listener.start(error)) {
        std::cerr << "ipifhost: " << error << "\n";
        return 1;
    }
    std::cout << "listening on " << (server.certFile.empty() ? "http" : "https") << "://" << server.host << ":" << listener.port() << std::endl;
    std::thread stopper([&listener, signals] {
        int received = 0;
        sigwait(&signals, &received);
        listener.stop();
    });
    listener.wait();
    stopper.join();
    return 0;
}

int demo(cimhost::Broker& broker, const HostSetup& setup, const HostPaths& paths, Options options)
{
    std::string work = options.get("--work");
    if (work.empty()) {
        const char* home = std::getenv("HOME");
        work = std::string(home && *home ? home : ".") + "/.local/state/ipifhost-demo";
    }
    const std::string store = work + "/store.json";
    if (!makeFolders(work + "/data")) {
        std::cerr << "ipifhost: " << work << ": cannot be created\n";
        return 1;
    }
    struct stat info;
    if (stat(store.c_str(), &info) != 0) {
        // The shipped store is copied once; the demo then changes the copy.
        if (!copyFile(paths.demoStore, store)) {
            std::cerr << "ipifhost: " << paths.demoStore << ": cannot be copied\n";
            return 1;
        }
        std::cout << "Demo system copied to " << store << "\n";
    }
    options.values["--store"] = store;
    options.values["--data-dir"] = work + "/data/";
    useStore(options);
    if (!storeLoads())
        return 1;
    if (options.serve)
        return serve(broker, setup, options);

    cimhost::Request req(broker);
    for (const char* cls : {"Tavrix_IPProtocolEndpoint", "Tavrix_StaticIPAssignmentSettingData",
                            "Tavrix_IPRemoteServiceAccessPoint", "Tavrix_IPConfigurationService"}) {
        std::cout << "// " << cls << "\n";
        cimhost::Response r = req.enumerateInstances(req.newObjectPath(defaultNamespace, cls));
        if (!r.ok())
            return failed(r);
        printInstances(r, false);
    }
    std::cout << "// The demo store is " << store
              << "; `ipifhost demo --serve` serves it to WBEM clients on port 5988.\n";
    return 0;
}

} // namespace

namespace {

struct CommandHelp {
    const char* name;
    const char* synopsis;
    const char* text;
};

const CommandHelp commandHelp[] = {
    {"show", "show [--format table|json]", "a table of the IP interfaces through the module\n"
                                           "(system, interface, origin, state, addresses/prefix, gateways, DNS)"},
    {"ei", "ei CLASS", "enumerate instances"},
    {"ein", "ein CLASS", "enumerate instance names"},
    {"gi", "gi PATH", "get an instance"},
    {"mi", "mi PATH Prop=value...", "modify an instance"},
    {"ai", "ai PATH [--assoc C] [--result C] [--role R] [--result-role R]", "associators"},
    {"ain", "ain PATH [--assoc C] [--result C] [--role R] [--result-role R]", "associator names"},
    {"ri", "ri PATH [--result C] [--role R]", "references"},
    {"rin", "rin PATH [--result C] [--role R]", "reference names"},
    {"cm", "cm PATH Method [Arg=value...]", "invoke a method (references as path text)"},
    {"serve", "serve [--host H] [--port P] [--users FILE | --no-auth] [--cert PEM --key PEM] [--threads N]",
     "serve CIM-XML over HTTP (loopback unless --host)"},
    {"demo", "demo [--work DIR] [--serve]", "run on a copy of the bundled demo system"},
    {"import-live", "import-live [--out FILE]", "write a node store of this machine's interfaces"},
    {"help", "help", "print this usage"},
};

const CommandHelp* findHelp(const std::string& command)
{
    for (const CommandHelp& h : commandHelp)
        if (command == h.name)
            return &h;
    return nullptr;
}

const char* const commonOptions =
    "options: --store FILE  --data-dir DIR  --namespace NS  --mof DIR  --provider-dir DIR\n"
    "         --format mof|json (one-shot commands)  --help\n"
    "         --live: this machine's kernel instead of --store (read only);\n"
    "         --allow-changes: with --live, writes go to the kernel\n"
    "PATH: a WBEM URI such as 'root/cimv2:Tavrix_IPProtocolEndpoint.Name=\"eth0_...\",...'\n";

bool oneShot(const std::string& command)
{
    return command != "serve" && command != "demo" && command != "import-live" && command != "help";
}

} // namespace

std::string Commands::usage()
{
    std::string out = "usage: ipifhost COMMAND [ARGUMENTS] [OPTIONS]\n";
    for (const CommandHelp& h : commandHelp) {
        std::string line = std::string("  ") + h.synopsis;
        const std::string first = std::string(h.text).substr(0, std::string(h.text).find('\n'));
        line += line.size() < 34 ? std::string(34 - line.size(), ' ') : std::string("\n") + std::string(34, ' ');
        out += line + first + "\n";
    }
    const HostPaths paths = HostSetup::defaultPaths();
    out += commonOptions;
    out += "files: schema and registration in " + paths.mofDir + ", demo system " + paths.demoStore + "\n";
    return out + "See ipifhost(1).\n";
}

std::string Commands::usage(const std::string& command)
{
    const CommandHelp* h = findHelp(command);
    if (!h)
        return usage();
    return std::string("usage: ipifhost ") + h->synopsis + " [OPTIONS]\n" + h->text + "\n" + commonOptions;
}

int Commands::run(const std::vector<std::string>& arguments)
{
    Options options;
    std::string error;
    if (!parseOptions(arguments, options, error)) {
        std::cerr << "ipifhost: " << error << "\n" << usage();
        return 2;
    }
    if (options.words.empty() || options.words[0] == "help") {
        if (options.help || !options.words.empty()) {
            std::cout << usage();
            return 0;
        }
        std::cerr << usage();
        return 2;
    }
    const std::string command = options.words[0];
    if (!findHelp(command)) {
        std::cerr << "ipifhost: unknown command " << command << "\n" << usage();
        return 2;
    }
    if (options.help) {
        std::cout << usage(command);
        return 0;
    }
    const std::string format = options.get("--format", command == "show" ? "table" : "mof");
    const bool formatKnown = oneShot(command) && (format == "json" || format == (command == "show" ? "table" : "mof"));
    if (!options.get("--format").empty() && !formatKnown) {
        std::cerr << "ipifhost: " << command << ": --format " << format << " is not offered\n" << usage(command);
        return 2;
    }
    options.json = format == "json";
    if (command == "import-live")
        return LiveImport::run(options.get("--out"));

    const bool needsTarget = command != "serve" && command != "demo" && command != "show";
    if (needsTarget && options.words.size() < (command == "cm" ? 3u : 2u)) {
        std::cerr << "ipifhost: " << command << " needs more arguments\n" << usage(command);
        return 2;
    }

    if (command != "demo")
        useStore(options);
    HostPaths paths = HostSetup::defaultPaths();
    if (!options.get("--mof").empty())
        paths.mofDir = options.get("--mof");
    if (!options.get("--provider-dir").empty())
        paths.providerDirs.insert(paths.providerDirs.begin(), options.get("--provider-dir"));
    cimhost::Broker broker;
    HostSetup setup;
    if (!setup.load(broker, paths, error)) {
        std::cerr << "ipifhost: " << error << "\n";
        return 1;
    }
    if (command != "demo" && !storeLoads())
        return 1;
    if (command == "serve")
        return serve(broker, setup, options);
    if (command == "demo")
        return demo(broker, setup, paths, options);

    const std::string nameSpace = options.get("--namespace", defaultNamespace);
    cimhost::Request req(broker);
    if (command == "show")
        return show(req, nameSpace, options.json);
    if (command == "ei" || command == "ein") {
        std::string text = options.words[1];
        std::string ns = nameSpace;
        const auto colon = text.find(':');
        if (colon != std::string::npos) {
            ns = text.substr(0, colon);
            text = text.substr(colon + 1);
        }
        CMPIObjectPath* op = req.newObjectPath(ns, text);
        cimhost::Response r = command == "ei" ? req.enumerateInstances(op) : req.enumerateInstanceNames(op);
        if (!r.ok())
            return failed(r);
        command == "ei" ? printInstances(r, options.json) : printPaths(r, options.json);
        return 0;
    }

    cimhost::PathSpec target;
    if (!parsePath(options.words[1], nameSpace, target, error)) {
        std::cerr << "ipifhost: " << options.words[1] << ": " << error << "\n";
        return 2;
    }
    CMPIObjectPath* op = req.makePath(target);
    std::string a, b, c, d;
    if (command == "gi") {
        cimhost::Response r = req.getInstance(op);
        if (!r.ok())
            return failed(r);
        if (options.json && r.instances.size() == 1)
            std::cout << JsonWriter::instance(cimhost::toInstanceSpec(r.instances[0])).dump(2) << "\n";
        else
            printInstances(r, options.json);
        return 0;
    }
    if (command == "ai" || command == "ain") {
        cimhost::Response r =
            command == "ai"
                ? req.associators(op, optional(options, "--assoc", a), optional(options, "--result", b),
                                  optional(options, "--role", c), optional(options, "--result-role", d))
                : req.associatorNames(op, optional(options, "--assoc", a), optional(options, "--result", b),
                                      optional(options, "--role", c), optional(options, "--result-role", d));
        if (!r.ok())
            return failed(r);
        command == "ai" ? printInstances(r, options.json) : printPaths(r, options.json);
        return 0;
    }
    if (command == "ri" || command == "rin") {
        cimhost::Response r =
            command == "ri"
                ? req.references(op, optional(options, "--result", b), optional(options, "--role", c))
                : req.referenceNames(op, optional(options, "--result", b), optional(options, "--role", c));
        if (!r.ok())
            return failed(r);
        command == "ri" ? printInstances(r, options.json) : printPaths(r, options.json);
        return 0;
    }
    const auto catalog = setup.catalog();
    if (command == "mi") {
        cimhost::InstanceSpec changed;
        changed.path = target;
        changed.properties = target.keys;
        for (std::size_t i = 2; i < options.words.size(); ++i) {
            std::string name, text;
            if (!splitAssignment(options.words[i], name, text)) {
                std::cerr << "ipifhost: " << options.words[i] << ": not Prop=value\n";
                return 2;
            }
            CMPIType type = CMPI_string;
            const bool known = catalog->propertyType(target.className, name, type);
            Value value;
            if (!typedValue(text, known, type, nameSpace, value, error)) {
                std::cerr << "ipifhost: " << name << ": " << error << "\n";
                return 2;
            }
            changed.set(name, value);
        }
        cimhost::Response r = req.modifyInstance(op, req.makeInstance(changed));
        if (!r.ok())
            return failed(r);
        if (options.json)
            std::cout << nlohmann::ordered_json{{"modified", cimhost::pathToText(target)}}.dump(2) << "\n";
        else
            std::cout << "modified " << cimhost::pathToText(target) << "\n";
        return 0;
    }

    // cm PATH Method Arg=value...
    const std::string method = options.words[2];
    CMPIArgs* in = req.newArgs();
    for (std::size_t i = 3; i < options.words.size(); ++i) {
        std::string name, text;
        if (!splitAssignment(options.words[i], name, text)) {
            std::cerr << "ipifhost: " << options.words[i] << ": not Arg=value\n";
            return 2;
        }
        CMPIType type = CMPI_string;
        const bool known = catalog->parameterType(target.className, method, name, type);
        Value value;
        if (!typedValue(text, known, type, nameSpace, value, error)) {
            std::cerr << "ipifhost: " << name << ": " << error << "\n";
            return 2;
        }
        CMPIData data = cimhost::toData(&broker, req.arena(), value);
        CMAddArg(in, name.c_str(), &data.value, data.type);
    }
    CMPIArgs* out = req.newArgs();
    cimhost::Response r = req.invokeMethod(op, method.c_str(), in, out);
    if (!r.ok())
        return failed(r);
    nlohmann::ordered_json result = nlohmann::ordered_json::object();
    if (r.data.size() == 1) {
        if (options.json)
            result["ReturnValue"] = JsonWriter::value(cimhost::toValue(r.data[0]));
        else
            std::cout << "ReturnValue = " << MofWriter::literal(cimhost::toValue(r.data[0])) << ";\n";
    }
    const CMPICount count = CMGetArgCount(out, nullptr);
    for (CMPICount i = 0; i < count; ++i) {
        CMPIString* name = nullptr;
        CMPIData data = CMGetArgAt(out, i, &name, nullptr);
        const std::string argument = name ? CMGetCharPtr(name) : "?";
        if (options.json)
            result[argument] = JsonWriter::value(cimhost::toValue(data));
        else
            std::cout << argument << " = " << MofWriter::literal(cimhost::toValue(data)) << ";\n";
    }
    if (options.json)
        std::cout << result.dump(2) << "\n";
    return 0;
}

} // namespace ipifhost
