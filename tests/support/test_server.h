// Real servers on 127.0.0.1 for the tests: our HTTP test server, tinyproxy
// and microsocks. Each stops when its object goes away.
#pragma once

#include <string>
#include <vector>

class ServerProcess {
public:
    ServerProcess() = default;
    ~ServerProcess();
    ServerProcess(const ServerProcess&) = delete;
    ServerProcess& operator=(const ServerProcess&) = delete;

    int port() const { return port_; }
    std::string url(const std::string& path) const;
    void stop();

protected:
    // Starts argv and waits until something accepts connections on port (or,
    // with port 0, until the program prints "PORT <n>").
    bool launch(const std::vector<std::string>& argv, int port);

    int pid_ = -1;
    int port_ = 0;
};

// tools/testserver.py serving files from root.
class HttpTestServer : public ServerProcess {
public:
    explicit HttpTestServer(const std::string& root, double stallSeconds = 90.0, const std::string& tlsCert = "");
};

// tinyproxy on a free port, optionally with Basic credentials.
class TinyProxy : public ServerProcess {
public:
    TinyProxy(const std::string& folder, const std::string& user = "", const std::string& password = "");
    std::string log() const;

private:
    std::string logPath_;
};

// microsocks (SOCKS5) on a free port, optionally with credentials.
class MicroSocks : public ServerProcess {
public:
    MicroSocks(const std::string& user = "", const std::string& password = "");
};

// A port nothing listens on.
int freePort();

// GET through no proxy at all, for reading a test server's records.
std::string plainGet(int port, const std::string& path);
