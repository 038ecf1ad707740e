#pragma once
// One request to the user service: the session cookie is set for the URL
// just before the request, and the answer is read whole.
#include <string>

// "http://" + user-service host + path_and_query.
std::wstring UserServiceUrl(const std::wstring& path_and_query);

bool UserServiceGet(const std::wstring& path_and_query, std::string* body);

// "%d" of a number, wide.
std::wstring DecimalText(long value);
