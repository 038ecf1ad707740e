#include "tests/support/private_service.h"
#include <windows.h>
#include <stdio.h>
#include "tests/support/test_support.h"

std::string PlainGet(int port, const std::string& path) { return test_support::PortGet(port, path); }

PrivateService::PrivateService() : port_(0) {
    int main_port = test_support::ServicePort();
    if (main_port == 0) return;
    Json::Value answer;
    std::string body = PlainGet(main_port, "/_ctl/session");
    Json::CharReaderBuilder builder;
    std::string errors;
    std::unique_ptr<Json::CharReader> reader(builder.newCharReader());
    if (reader->parse(body.data(), body.data() + body.size(), &answer, &errors) && answer.isObject()) {
        port_ = answer.get("port", 0).asInt();
    }
}

PrivateService::~PrivateService() {
    if (port_) Control("close");
}

std::wstring PrivateService::host() const {
    wchar_t text[64];
    swprintf(text, 64, L"127.0.0.1:%d", port_);
    return text;
}

std::wstring PrivateService::url(const std::wstring& path) const {
    return L"http://" + host() + path;
}

std::string PrivateService::Control(const std::string& what) {
    return PlainGet(port_, "/_ctl/" + what);
}

void PrivateService::Fault(const std::string& mode, const std::string& path, int count,
                           const std::string& arg) {
    char query[512];
    snprintf(query, sizeof query, "fault?mode=%s&path=%s&count=%d&arg=%s", mode.c_str(), path.c_str(),
             count, arg.c_str());
    Control(query);
}

Json::Value PrivateService::Log() {
    std::string body = Control("log");
    Json::Value log;
    Json::CharReaderBuilder builder;
    std::string errors;
    std::unique_ptr<Json::CharReader> reader(builder.newCharReader());
    reader->parse(body.data(), body.data() + body.size(), &log, &errors);
    return log;
}
