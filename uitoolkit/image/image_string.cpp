#include "uitoolkit/image/image_string.h"

#include <cwchar>
#include <cwctype>

namespace UiToolkit {

namespace {

inline bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t' || c == L'\r' || c == L'\n'; }

// Four decimal numbers, exactly one character skipped between them;
// missing numbers read 0.
RECT ParseRect(const wchar_t* text) {
    long v[4] = {0, 0, 0, 0};
    const wchar_t* p = text;
    for (int i = 0; i < 4 && *p; ++i) {
        wchar_t* end = nullptr;
        v[i] = wcstol(p, &end, 10);
        if (!*end) break;
        p = end + 1;
    }
    return RECT{v[0], v[1], v[2], v[3]};
}

class ImageStringReader {
public:
    ImageStringReader(const RECT& control, const std::function<void(const TUiImageDrawState&)>& draw)
        : control_(control), draw_(draw) {}

    TUiImageDrawState state;

    void Read(const wchar_t* text) {
        pending_ = 0;
        const wchar_t* p = text;
        for (;;) {
            while (IsBlank(*p)) ++p;
            if (!*p) return;
            const wchar_t* key = p;
            while (*p && *p != L'=' && !IsBlank(*p)) ++p;
            CUiString name(key, static_cast<int>(p - key));
            while (IsBlank(*p)) ++p;
            if (*p != L'=') return;
            ++p;
            while (IsBlank(*p)) ++p;
            if (*p != L'\'') return;
            const wchar_t* value = ++p;
            while (*p && *p != L'\'') ++p;
            if (!*p) return;
            Apply(name, CUiString(value, static_cast<int>(p - value)));
            ++p;
            if (!IsBlank(*p)) return;  // pairs are separated by blanks; the end ends too
        }
    }

private:
    void DrawPending() {
        if (pending_ > 0) draw_(state);
    }

    void Apply(const CUiString& key, const CUiString& value) {
        if (value.IsEmpty()) return;
        if (key == L"file") {
            DrawPending();
            state.name = value;
            ++pending_;
        } else if (key == L"res") {
            DrawPending();
            state.name = value;
        } else if (key == L"restype") {
            DrawPending();
            state.type = value;
            ++pending_;
        } else if (key == L"dest") {
            RECT r = ParseRect(value);
            state.dest.left = control_.left + r.left;
            state.dest.top = control_.top + r.top;
            state.dest.right = control_.left + r.right < control_.right ? control_.left + r.right : control_.right;
            state.dest.bottom =
                control_.top + r.bottom < control_.bottom ? control_.top + r.bottom : control_.bottom;
        } else if (key == L"source") {
            state.source = ParseRect(value);
        } else if (key == L"corner") {
            state.corner = ParseRect(value);
        } else if (key == L"mask") {
            const wchar_t* v = value;
            if (*v == L'#') ++v;
            state.mask = static_cast<DWORD>(wcstoul(v, nullptr, 16));
        } else if (key == L"fade") {
            state.fade = static_cast<int>(wcstol(value, nullptr, 10) & 0xFF);
        } else if (key == L"hole") {
            state.hole = value == L"true";
        } else if (key == L"xtiled") {
            state.xtiled = value == L"true";
        } else if (key == L"ytiled") {
            state.ytiled = value == L"true";
        }
    }

    const RECT control_;
    const std::function<void(const TUiImageDrawState&)>& draw_;
    int pending_ = 0;
};

}  // namespace

void ParseImageStrings(const RECT& control, const wchar_t* image, const wchar_t* modifier,
                       const std::function<void(const TUiImageDrawState&)>& draw) {
    ImageStringReader reader(control, draw);
    reader.state.name = image ? image : L"";
    reader.state.dest = control;
    reader.state.source = RECT{0, 0, 0, 0};
    reader.state.corner = RECT{0, 0, 0, 0};
    if (image) reader.Read(image);
    if (modifier) reader.Read(modifier);
    draw(reader.state);
}

}  // namespace UiToolkit
