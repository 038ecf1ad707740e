#pragma once
#include <stddef.h>
#include <stdint.h>
#include <string>

// MD5 (RFC 1321), kept by the client itself: the login service receives the
// password's digest.
struct Md5State {
    uint32_t chain[4];    // the four chaining values
    uint32_t count[2];    // bytes processed, low and high halves
    unsigned char block[64];
};

// Sets the standard initial values.
void Md5Init(Md5State* state);
void Md5Update(Md5State* state, const void* bytes, size_t length);
// Writes the 16-byte digest. The state is spent afterwards.
void Md5Final(Md5State* state, unsigned char digest[16]);

// Replaces `out` with the 32 upper-case hexadecimal characters of a digest.
void DigestToHex(const unsigned char digest[16], std::string* out);

// The MD5 of `bytes` as 32 upper-case hexadecimal characters (what the login
// service receives for a password).
std::string Md5Hex(const std::string& bytes);
