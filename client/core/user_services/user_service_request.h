#pragma once
// One request to the user service: the session cookie is set for the URL
// just before the request, and the answer is read whole. The windows wait
// for these requests behind modal loading windows, so a stalled host must
// not hold them: a request that makes no progress for kUserServiceTimeoutMs
// fails.
#include <string>

// "http://" + user-service host + path_and_query.
std::wstring UserServiceUrl(const std::wstring& path_and_query);

const unsigned long kUserServiceTimeoutMs = 5000;

bool UserServiceGet(const std::wstring& path_and_query, std::string* body);

// "%d" of a number, wide.
std::wstring DecimalText(long value);
