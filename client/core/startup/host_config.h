#pragma once
#include <string>

// The four service hosts. Each has a compiled-in default (a placeholder under
// a reserved example domain, settable at build time) and is overridden at
// run time by an environment variable whose value is "host" or "host:port".
enum class ServiceHost { Catalogue, Login, User, Report };

// The configured value for a host role, "host" or "host:port".
std::wstring ServiceHostName(ServiceHost role);

// The environment variable that overrides a role ("VANTREL_CATALOGUE_HOST"...).
const wchar_t* ServiceHostVariable(ServiceHost role);

// Splits "host" or "host:port". Without a port, or with one that is not a
// number from 1 to 65535, the port is `default_port`. Returns false (outputs
// untouched) for an empty host.
bool SplitHostPort(const std::wstring& value, unsigned short default_port, std::wstring* host,
                   unsigned short* port);
