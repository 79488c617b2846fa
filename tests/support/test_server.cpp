#include "tests/support/test_server.h"

#include <arpa/inet.h>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <netinet/in.h>
#include <sstream>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

bool canConnect(int port) {
    const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    const bool ok = connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    close(fd);
    return ok;
}

}  // namespace

int freePort() {
    const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
    socklen_t length = sizeof address;
    getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
    close(fd);
    return ntohs(address.sin_port);
}

std::string plainGet(int port, const std::string& path) {
    const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    std::string response;
    if (connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0) {
        const std::string request = "GET " + path + " HTTP/1.0\r\nHost: 127.0.0.1\r\n\r\n";
        (void)!write(fd, request.data(), request.size());
        char buffer[65536];
        for (ssize_t n; (n = read(fd, buffer, sizeof buffer)) > 0;) response.append(buffer, static_cast<size_t>(n));
    }
    close(fd);
    const size_t body = response.find("\r\n\r\n");
    return body == std::string::npos ? std::string() : response.substr(body + 4);
}

ServerProcess::~ServerProcess() { stop(); }

std::string ServerProcess::url(const std::string& path) const {
    return "http://127.0.0.1:" + std::to_string(port_) + path;
}

void ServerProcess::stop() {
    if (pid_ > 0) {
        kill(pid_, SIGTERM);
        int status;
        waitpid(pid_, &status, 0);
    }
    pid_ = -1;
}

bool ServerProcess::launch(const std::vector<std::string>& argv, int port) {
    int out[2];
    if (pipe(out) != 0) return false;
    pid_ = fork();
    if (pid_ == 0) {
        dup2(out[1], STDOUT_FILENO);
        close(out[0]);
        close(out[1]);
        std::vector<char*> args;
        for (const std::string& arg : argv) args.push_back(const_cast<char*>(arg.c_str()));
        args.push_back(nullptr);
        execvp(args[0], args.data());
        _exit(127);
    }
    close(out[1]);
    if (port == 0) {
        FILE* stream = fdopen(out[0], "r");
        char line[128] = {};
        if (fgets(line, sizeof line, stream)) sscanf(line, "PORT %d", &port_);
        fclose(stream);
        return port_ > 0;
    }
    close(out[0]);
    port_ = port;
    for (int i = 0; i < 200; ++i) {
        if (canConnect(port)) return true;
        usleep(25000);
    }
    return false;
}

HttpTestServer::HttpTestServer(const std::string& root, double stallSeconds, const std::string& tlsCert) {
    std::vector<std::string> argv = {"python3", QUILLBOX_SOURCE_DIR "/tools/testserver.py", "--root", root,
                                     "--stall-seconds", std::to_string(stallSeconds)};
    if (!tlsCert.empty()) argv.insert(argv.end(), {"--tls-cert", tlsCert});
    launch(argv, 0);
}

TinyProxy::TinyProxy(const std::string& folder, const std::string& user, const std::string& password) {
    const int port = freePort();
    logPath_ = folder + "/tinyproxy.log";
    const std::string config = folder + "/tinyproxy.conf";
    std::ofstream out(config);
    out << "Port " << port << "\nListen 127.0.0.1\nTimeout 60\nMaxClients 20\nLogLevel Connect\n"
        << "LogFile \"" << logPath_ << "\"\nAllow 127.0.0.1\nViaProxyName \"tinyproxy\"\n"
        << "ConnectPort 443\nConnectPort 0\n";
    if (!user.empty()) out << "BasicAuth " << user << " " << password << "\n";
    out.close();
    launch({"tinyproxy", "-d", "-c", config}, port);
}

std::string TinyProxy::log() const {
    std::ifstream in(logPath_);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

MicroSocks::MicroSocks(const std::string& user, const std::string& password) {
    const int port = freePort();
    std::vector<std::string> argv = {"microsocks", "-i", "127.0.0.1", "-p", std::to_string(port)};
    if (!user.empty()) {
        argv.insert(argv.end(), {"-u", user, "-P", password});
    }
    launch(argv, port);
}
