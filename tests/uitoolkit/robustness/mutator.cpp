#include "tests/uitoolkit/robustness/mutator.h"

namespace robustness {

uint32_t Mutator::Next() {
    // xorshift64*
    state_ ^= state_ >> 12;
    state_ ^= state_ << 25;
    state_ ^= state_ >> 27;
    return static_cast<uint32_t>((state_ * 0x2545F4914F6CDD1DULL) >> 32);
}

void Mutator::MutateOnce(std::string* data) {
    static const uint32_t kInteresting[] = {0,          1,          0x7F,       0x80,      0xFF,
                                            0x100,      0x7FFF,     0x8000,     0xFFFF,    0x10000,
                                            0x7FFFFFFF, 0x80000000, 0xFFFFFFFF, 0xFFFFFFFE, 256,
                                            1000,       4096,       65535,      0x400000,  0x1000000};
    if (data->empty()) {
        data->push_back(static_cast<char>(Next()));
        return;
    }
    const size_t size = data->size();
    const size_t at = Below(static_cast<uint32_t>(size));
    switch (Below(9)) {
        case 0:
        case 1:  // flip bits
            for (uint32_t n = 1 + Below(4); n; --n) (*data)[Below(static_cast<uint32_t>(size))] ^= static_cast<char>(1u << Below(8));
            break;
        case 2:  // interesting byte
            (*data)[at] = static_cast<char>(kInteresting[Below(sizeof kInteresting / sizeof *kInteresting)]);
            break;
        case 3: {  // interesting 16- or 32-bit little-endian value
            uint32_t v = kInteresting[Below(sizeof kInteresting / sizeof *kInteresting)];
            size_t width = Below(2) ? 4 : 2;
            for (size_t i = 0; i < width && at + i < size; ++i) (*data)[at + i] = static_cast<char>(v >> (8 * i));
            break;
        }
        case 4:  // random byte
            (*data)[at] = static_cast<char>(Next());
            break;
        case 5: {  // delete a chunk
            size_t n = 1 + Below(static_cast<uint32_t>(size - at < 64 ? size - at : 64));
            data->erase(at, n);
            break;
        }
        case 6: {  // duplicate a chunk somewhere
            size_t from = Below(static_cast<uint32_t>(size));
            size_t n = 1 + Below(static_cast<uint32_t>(size - from < 64 ? size - from : 64));
            data->insert(at, data->substr(from, n));
            break;
        }
        case 7:  // truncate
            data->resize(at);
            break;
        default: {  // overwrite with a chunk from elsewhere
            size_t from = Below(static_cast<uint32_t>(size));
            size_t n = 1 + Below(16);
            for (size_t i = 0; i < n && at + i < size && from + i < size; ++i) (*data)[at + i] = (*data)[from + i];
            break;
        }
    }
}

std::string Mutator::Mutate(const std::string& seed) {
    std::string out = seed;
    for (uint32_t n = 1 + Below(4); n; --n) MutateOnce(&out);
    return out;
}

std::string Mutator::MutateMarkup(const std::string& seed) {
    static const char* const kTokens[] = {"<",   ">",    "/>",   "</",      "\"", "=",   "&amp;", "&lt",
                                          "&",   "<!--", "-->",  "<?",      "?>", "'",   "\xEF\xBB\xBF",
                                          "\xE4", "\0",  "<a>",  "</a>",    " ",  "\n",  "x=\"",   "<b/>"};
    std::string out = seed;
    for (uint32_t n = 1 + Below(4); n; --n) {
        if (Below(2) || out.empty()) {
            MutateOnce(&out);
        } else {
            const char* token = kTokens[Below(sizeof kTokens / sizeof *kTokens)];
            size_t length = token[0] ? std::char_traits<char>::length(token) : 1;
            out.insert(Below(static_cast<uint32_t>(out.size() + 1)), token, length);
        }
    }
    return out;
}

}  // namespace robustness
