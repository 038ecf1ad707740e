#include "uitoolkit/markup/markup_text_tokens.h"

#include "uitoolkit/image/image_string.h"

#include <cwchar>
#include <cwctype>
#include <string>

namespace UiToolkit {

namespace {

inline bool IsOpen(wchar_t c) { return c == L'<' || c == L'{'; }
inline bool IsClose(wchar_t c) { return c == L'>' || c == L'}'; }
inline bool IsLetter(wchar_t c) { return c >= L'a' && c <= L'z'; }

// The literal an escape stands for, or 0: <{> and <}> give braces, {<}
// and {>} give angle brackets.
wchar_t Escape(const wchar_t* p) {
    if (p[0] == L'<' && (p[1] == L'{' || p[1] == L'}') && p[2] == L'>') return p[1];
    if (p[0] == L'{' && (p[1] == L'<' || p[1] == L'>') && p[2] == L'}') return p[1];
    return 0;
}

// Whether a tag, closing tag or escape starts at `p`; `end` gets the
// position after it.
bool TagAt(const wchar_t* p, TMarkupToken* token, const wchar_t** end) {
    if (!IsOpen(p[0])) return false;
    if (wchar_t literal = Escape(p)) {
        static const wchar_t kLiterals[] = L"<>{}";
        token->kind = MarkupToken::Text;
        token->text = wcschr(kLiterals, literal);
        token->length = 1;
        *end = p + 3;
        return true;
    }
    if (p[1] == L'/' && IsLetter(p[2]) && IsClose(p[3])) {
        token->kind = MarkupToken::CloseTag;
        token->letter = p[2];
        *end = p + 4;
        return true;
    }
    if (IsLetter(p[1]) && (p[2] == L' ' || IsClose(p[2]))) {
        const wchar_t* q = p + 2;
        while (*q && !IsClose(*q)) ++q;
        if (!*q) return false;
        token->kind = MarkupToken::Tag;
        token->letter = p[1];
        const wchar_t* arg = p + 2;
        while (arg < q && *arg == L' ') ++arg;
        token->text = arg;
        token->length = static_cast<int>(q - arg);
        *end = q + 1;
        return true;
    }
    return false;
}

bool IsRawEnd(const wchar_t* p) { return IsOpen(p[0]) && p[1] == L'/' && p[2] == L'r' && IsClose(p[3]); }

std::wstring Lower(const wchar_t* s, int n) {
    std::wstring out(s, n);
    for (wchar_t& c : out) c = static_cast<wchar_t>(towlower(c));
    return out;
}

}  // namespace

const wchar_t* NextMarkupToken(const wchar_t* p, bool raw, TMarkupToken* token) {
    *token = TMarkupToken();
    if (!p || !*p) return p;
    if (raw) {
        if (IsRawEnd(p)) {
            token->kind = MarkupToken::CloseTag;
            token->letter = L'r';
            return p + 4;
        }
        const wchar_t* q = p;
        while (*q && !IsRawEnd(q)) ++q;
        token->kind = MarkupToken::Text;
        token->text = p;
        token->length = static_cast<int>(q - p);
        return q;
    }
    if (*p == L'\n') {
        token->kind = MarkupToken::LineFeed;
        return p + 1;
    }
    const wchar_t* end = nullptr;
    if (TagAt(p, token, &end)) return end;
    token->kind = MarkupToken::Text;
    token->text = p;
    if (*p == L' ') {
        token->length = 1;
        return p + 1;
    }
    const wchar_t* q = p + 1;
    TMarkupToken probe;
    while (*q && *q != L'\n' && !TagAt(q, &probe, &end)) ++q;
    token->length = static_cast<int>(q - p);
    return q;
}

DWORD MarkupColour(const wchar_t* arg, int length) {
    std::wstring text(arg, length);
    const wchar_t* p = text.c_str();
    while (*p == L' ') ++p;
    if (*p == L'#') ++p;
    long long value = wcstoll(p, nullptr, 16);
    if (value > 0x7FFFFFFFLL) value = 0x7FFFFFFFLL;
    if (value < -0x80000000LL) value = -0x80000000LL;
    return static_cast<DWORD>(static_cast<long>(value));
}

TMarkupFontSpec MarkupFont(const wchar_t* arg, int length) {
    TMarkupFontSpec spec;
    std::wstring text(arg, length);
    const wchar_t* p = text.c_str();
    while (*p == L' ') ++p;
    if (*p >= L'0' && *p <= L'9') {
        spec.byIndex = true;
        spec.index = static_cast<int>(wcstol(p, nullptr, 10));
        return spec;
    }
    const wchar_t* face = p;
    while (*p && *p != L' ') ++p;
    spec.face.Assign(face, static_cast<int>(p - face));
    while (*p == L' ') ++p;
    if (*p >= L'0' && *p <= L'9') spec.size = static_cast<int>(wcstol(p, nullptr, 10));
    const std::wstring rest = Lower(p, static_cast<int>(wcslen(p)));
    spec.bold = rest.find(L"bold") != std::wstring::npos;
    spec.underline = rest.find(L"underline") != std::wstring::npos;
    spec.italic = rest.find(L"italic") != std::wstring::npos;
    return spec;
}

TMarkupImageSpec MarkupImage(const wchar_t* arg, int length) {
    TMarkupImageSpec spec;
    // Only this tag's own argument decides its form; text further on may
    // hold image strings of its own.
    std::wstring text(arg, length);
    if (text.find(L"file='") != std::wstring::npos || text.find(L"res='") != std::wstring::npos) {
        // The pairs of an image string: the last image named wins.
        ParseImageStrings(RECT{0, 0, 0, 0}, text.c_str(), nullptr, [&spec](const TUiImageDrawState& state) {
            spec.name = state.name;
            spec.type = state.type;
        });
        return spec;
    }
    const wchar_t* p = text.c_str();
    while (*p == L' ') ++p;
    const wchar_t* name = p;
    while (*p && *p != L' ') ++p;
    spec.name.Assign(name, static_cast<int>(p - name));
    wchar_t* end = nullptr;
    long parts = wcstol(p, &end, 10);
    if (end != p) {
        spec.parts = parts < 1 ? 1 : static_cast<int>(parts);
        p = end;
        long index = wcstol(p, &end, 10);
        if (end != p && index >= 0 && index < spec.parts) spec.index = static_cast<int>(index);
    }
    return spec;
}

int MarkupNumber(const wchar_t* arg, int length) {
    std::wstring text(arg, length);
    return static_cast<int>(wcstol(text.c_str(), nullptr, 10));
}

}  // namespace UiToolkit
