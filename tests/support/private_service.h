#pragma once
// A private session of the local services: its own port, request log and
// fault table, so tests running at the same time do not disturb each other.
#include <json/json.h>
#include <string>

class PrivateService {
public:
    PrivateService();
    ~PrivateService();

    bool ok() const { return port_ != 0; }
    int port() const { return port_; }
    std::wstring host() const;                     // "127.0.0.1:<port>"
    std::wstring url(const std::wstring& path) const;  // "http://127.0.0.1:<port><path>"

    // /_ctl/<what> on this session; the body.
    std::string Control(const std::string& what);
    void Fault(const std::string& mode, const std::string& path, int count, const std::string& arg = "");
    void Reset() { Control("reset"); }
    // The logged requests (array of objects: path, raw_query, range, cookie,
    // user_agent, connection_id, ...).
    Json::Value Log();

private:
    int port_;
};

// GET on 127.0.0.1:<port> with a plain WinINet client; the body.
std::string PlainGet(int port, const std::string& path);
