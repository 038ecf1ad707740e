#pragma once
#include <string>

// Sets the session cookie "_VANTREL_USER" (the login session's cookie text,
// read in the ANSI code page) for a user-service request's full URL. Called
// immediately before each such request. Returns whether WinINet took it.
bool SetUserServiceCookie(const std::wstring& url);
