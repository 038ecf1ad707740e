#pragma once
// A private session of the local services that plays every host, and a
// signed-in sample user ("kelvora": uid 501, root scheme 600, favourites 601).
#include <gtest/gtest.h>
#include <string>
#include <vector>
#include "tests/support/private_service.h"

class UserServiceTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // /_user/<what> and other control paths on the session.
    std::string Get(const std::string& path);
    // "path?query" of every logged request since the last reset, and the
    // cookies they carried.
    std::vector<std::string> Requests();
    std::vector<std::string> Cookies();

    PrivateService service_;
};
