#include "ServerProcess.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <thread>

ServerProcess::~ServerProcess() { stop(); }

bool ServerProcess::start(const std::string& ipifhost, const std::string& store,
                          const std::vector<std::string>& extra, std::string& error)
{
    char pattern[] = "/tmp/ipif-load-XXXXXX";
    if (!mkdtemp(pattern)) {
        error = "cannot make a work folder";
        return false;
    }
    work = pattern;
    {
        std::ifstream in(store, std::ios::binary);
        std::ofstream out(work + "/store.json", std::ios::binary);
        out << in.rdbuf();
        if (!in || !out) {
            error = "cannot copy " + store;
            return false;
        }
    }
    std::string data = work + "/data";
    mkdir(data.c_str(), 0700);
    std::vector<std::string> args = {ipifhost, "serve", "--port", "0", "--store", work + "/store.json",
                                     "--data-dir", data};
    args.insert(args.end(), extra.begin(), extra.end());
    std::string logFile = work + "/server.log";
    child = fork();
    if (child < 0) {
        error = "cannot fork";
        return false;
    }
    if (child == 0) {
        int fd = open(logFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        dup2(fd, 1);
        dup2(fd, 2);
        std::vector<char*> argv;
        for (std::string& a : args)
            argv.push_back(a.data());
        argv.push_back(nullptr);
        execv(argv[0], argv.data());
        _exit(127);
    }
    const std::string marker = "listening on http://127.0.0.1:";
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (std::chrono::steady_clock::now() < deadline) {
        std::string text = log();
        size_t at = text.find(marker);
        if (at != std::string::npos && text.find('\n', at) != std::string::npos) {
            boundPort = std::atoi(text.c_str() + at + marker.size());
            return boundPort > 0;
        }
        int status = 0;
        if (waitpid(child, &status, WNOHANG) == child) {
            child = -1;
            error = "the server ended: " + text;
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    error = "the server did not start: " + log();
    return false;
}

void ServerProcess::stop()
{
    if (child > 0) {
        kill(child, SIGTERM);
        int status = 0;
        for (int i = 0; i < 500 && waitpid(child, &status, WNOHANG) == 0; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        if (waitpid(child, &status, WNOHANG) == 0) {
            kill(child, SIGKILL);
            waitpid(child, &status, 0);
        }
        child = -1;
    }
    if (!work.empty()) {
        std::string command = "rm -rf '" + work + "'";
        if (std::system(command.c_str()) != 0)
            work.clear();
        work.clear();
    }
}

long ServerProcess::residentKb() const
{
    std::ifstream in("/proc/" + std::to_string(child) + "/status");
    std::string line;
    while (std::getline(in, line))
        if (line.compare(0, 6, "VmRSS:") == 0)
            return std::atol(line.c_str() + 6);
    return 0;
}

std::string ServerProcess::log() const
{
    std::ifstream in(work + "/server.log");
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}
