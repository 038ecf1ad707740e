#include "client/core/utilities/md5.h"
#include <string.h>

namespace {

// floor(abs(sin(i + 1)) * 2^32)
const uint32_t kSine[64] = {
    0xd76aa478, 0xe8c7b756, 0x242070db, 0xc1bdceee,
    0xf57c0faf, 0x4787c62a, 0xa8304613, 0xfd469501,
    0x698098d8, 0x8b44f7af, 0xffff5bb1, 0x895cd7be,
    0x6b901122, 0xfd987193, 0xa679438e, 0x49b40821,
    0xf61e2562, 0xc040b340, 0x265e5a51, 0xe9b6c7aa,
    0xd62f105d, 0x02441453, 0xd8a1e681, 0xe7d3fbc8,
    0x21e1cde6, 0xc33707d6, 0xf4d50d87, 0x455a14ed,
    0xa9e3e905, 0xfcefa3f8, 0x676f02d9, 0x8d2a4c8a,
    0xfffa3942, 0x8771f681, 0x6d9d6122, 0xfde5380c,
    0xa4beea44, 0x4bdecfa9, 0xf6bb4b60, 0xbebfbc70,
    0x289b7ec6, 0xeaa127fa, 0xd4ef3085, 0x04881d05,
    0xd9d4d039, 0xe6db99e5, 0x1fa27cf8, 0xc4ac5665,
    0xf4292244, 0x432aff97, 0xab9423a7, 0xfc93a039,
    0x655b59c3, 0x8f0ccc92, 0xffeff47d, 0x85845dd1,
    0x6fa87e4f, 0xfe2ce6e0, 0xa3014314, 0x4e0811a1,
    0xf7537e82, 0xbd3af235, 0x2ad7d2bb, 0xeb86d391,
};

const unsigned kShift[4][4] = {{7, 12, 17, 22}, {5, 9, 14, 20}, {4, 11, 16, 23}, {6, 10, 15, 21}};

inline uint32_t Rotate(uint32_t x, unsigned n) { return (x << n) | (x >> (32 - n)); }

void Transform(uint32_t chain[4], const unsigned char block[64]) {
    uint32_t words[16];
    for (int i = 0; i < 16; ++i) {
        words[i] = static_cast<uint32_t>(block[i * 4]) |
                   static_cast<uint32_t>(block[i * 4 + 1]) << 8 |
                   static_cast<uint32_t>(block[i * 4 + 2]) << 16 |
                   static_cast<uint32_t>(block[i * 4 + 3]) << 24;
    }
    uint32_t a = chain[0], b = chain[1], c = chain[2], d = chain[3];
    for (int i = 0; i < 64; ++i) {
        int round = i / 16;
        uint32_t f;
        int index;
        switch (round) {
        case 0: f = (b & c) | (~b & d); index = i; break;
        case 1: f = (b & d) | (c & ~d); index = (5 * i + 1) % 16; break;
        case 2: f = b ^ c ^ d; index = (3 * i + 5) % 16; break;
        default: f = c ^ (b | ~d); index = (7 * i) % 16; break;
        }
        uint32_t next = b + Rotate(a + f + kSine[i] + words[index], kShift[round][i % 4]);
        a = d;
        d = c;
        c = b;
        b = next;
    }
    chain[0] += a;
    chain[1] += b;
    chain[2] += c;
    chain[3] += d;
}

}  // namespace

void Md5Init(Md5State* state) {
    state->chain[0] = 0x67452301;
    state->chain[1] = 0xefcdab89;
    state->chain[2] = 0x98badcfe;
    state->chain[3] = 0x10325476;
    state->count[0] = state->count[1] = 0;
    memset(state->block, 0, sizeof state->block);
}

void Md5Update(Md5State* state, const void* bytes, size_t length) {
    const unsigned char* in = static_cast<const unsigned char*>(bytes);
    size_t used = state->count[0] & 63;
    uint64_t total = (static_cast<uint64_t>(state->count[1]) << 32 | state->count[0]) + length;
    state->count[0] = static_cast<uint32_t>(total);
    state->count[1] = static_cast<uint32_t>(total >> 32);
    while (length > 0) {
        size_t take = 64 - used;
        if (take > length) take = length;
        memcpy(state->block + used, in, take);
        used += take;
        in += take;
        length -= take;
        if (used == 64) {
            Transform(state->chain, state->block);
            used = 0;
        }
    }
}

void Md5Final(Md5State* state, unsigned char digest[16]) {
    uint64_t bits = (static_cast<uint64_t>(state->count[1]) << 32 | state->count[0]) * 8;
    unsigned char length_bytes[8];
    for (int i = 0; i < 8; ++i) length_bytes[i] = static_cast<unsigned char>(bits >> (8 * i));
    static const unsigned char kPad[64] = {0x80};
    size_t used = state->count[0] & 63;
    size_t pad = used < 56 ? 56 - used : 120 - used;
    Md5Update(state, kPad, pad);
    Md5Update(state, length_bytes, 8);
    for (int i = 0; i < 4; ++i) {
        for (int j = 0; j < 4; ++j) digest[i * 4 + j] = static_cast<unsigned char>(state->chain[i] >> (8 * j));
    }
    memset(state, 0, sizeof *state);
}

void DigestToHex(const unsigned char digest[16], std::string* out) {
    static const char kHex[] = "0123456789ABCDEF";
    std::string text(32, '0');
    for (int i = 0; i < 16; ++i) {
        text[i * 2] = kHex[digest[i] >> 4];
        text[i * 2 + 1] = kHex[digest[i] & 0x0F];
    }
    out->swap(text);
}

std::string Md5Hex(const std::string& bytes) {
    Md5State state;
    Md5Init(&state);
    Md5Update(&state, bytes.data(), bytes.size());
    unsigned char digest[16];
    Md5Final(&state, digest);
    std::string hex;
    DigestToHex(digest, &hex);
    return hex;
}
