#include <gtest/gtest.h>
#include <string.h>
#include "client/core/utilities/md5.h"

namespace {

std::string Md5Hex(const std::string& text, size_t piece) {
    Md5State state;
    Md5Init(&state);
    for (size_t i = 0; i < text.size(); i += piece) {
        Md5Update(&state, text.data() + i, text.size() - i < piece ? text.size() - i : piece);
    }
    unsigned char digest[16];
    Md5Final(&state, digest);
    std::string hex;
    DigestToHex(digest, &hex);
    return hex;
}

TEST(Md5, MatchesTheRfc1321VectorsWhateverThePieceSize) {
    struct Case {
        std::string text;
        const char* digest;
    } cases[] = {
        {"", "D41D8CD98F00B204E9800998ECF8427E"},
        {"a", "0CC175B9C0F1B6A831C399E269772661"},
        {"abc", "900150983CD24FB0D6963F7D28E17F72"},
        {"message digest", "F96B697D7CB7938D525A2F31AAF161D0"},
        {"abcdefghijklmnopqrstuvwxyz", "C3FCD3D76192E4007DFB496CCA67E13B"},
        {"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789",
         "D174AB98D277D9F5A5611C2C9F419D9F"},
        {"12345678901234567890123456789012345678901234567890123456789012345678901234567890",
         "57EDF4A22BE3C955AC49DA2E2107B67A"},
        // Lengths around the padding boundary (55, 56 and 64 bytes).
        {std::string(55, 'a'), "EF1772B6DFF9A122358552954AD0DF65"},
        {std::string(56, 'a'), "3B0C8AC703F828B04C6C197006D17218"},
        {std::string(64, 'a'), "014842D480B571495A4A0363793F7367"},
        {std::string(1000000, 'a'), "7707D6AE4E027C70EEA2A935C2296F21"},
    };
    for (const Case& c : cases) {
        for (size_t piece : {size_t(1), size_t(7), size_t(64), size_t(100000)}) {
            if (piece == 1 && c.text.size() > 1000) continue;
            EXPECT_EQ(c.digest, Md5Hex(c.text, piece)) << c.text.size() << " bytes, pieces of " << piece;
        }
    }
}

TEST(DigestToHex, HighNibbleFirstUpperCaseAndReplacesOutput) {
    unsigned char digest[16];
    for (int i = 0; i < 16; ++i) digest[i] = static_cast<unsigned char>(i * 17 + (i == 15 ? 0 : 1));
    std::string hex = "old text that is replaced";
    DigestToHex(digest, &hex);
    EXPECT_EQ("0112233445566778899AABBCCDDEEFFF", hex);
}

}  // namespace
