#include <gtest/gtest.h>

#include "uitoolkit/markup/markup_text_tokens.h"

#include <string>

using namespace UiToolkit;

namespace {

// The token stream as text: T"..." for text runs, <x:arg> for tags, </x>
// for closing tags, \n for line feeds. Raw mode follows the r tags.
std::wstring Tokens(const wchar_t* text) {
    std::wstring out;
    bool raw = false;
    TMarkupToken t;
    for (const wchar_t* p = NextMarkupToken(text, raw, &t); t.kind != MarkupToken::End;
         p = NextMarkupToken(p, raw, &t)) {
        switch (t.kind) {
            case MarkupToken::Text: out += L"T\"" + std::wstring(t.text, t.length) + L"\""; break;
            case MarkupToken::LineFeed: out += L"\\n"; break;
            case MarkupToken::Tag:
                out += std::wstring(L"<") + t.letter + L":" + std::wstring(t.text, t.length) + L">";
                if (t.letter == L'r') raw = true;
                break;
            case MarkupToken::CloseTag:
                out += std::wstring(L"</") + t.letter + L">";
                if (t.letter == L'r') raw = false;
                break;
            default: break;
        }
    }
    return out;
}

}  // namespace

TEST(MarkupTextTokens, TagsEscapesRunsAndRawText) {
    struct Case {
        const wchar_t* text;
        const wchar_t* tokens;
    } cases[] = {
        {L"{b}bold{/b} normal", L"<b:>T\"bold\"</b>T\" \"T\"normal\""},
        {L"<c #FF0000>red</c>", L"<c:#FF0000>T\"red\"</c>"},
        {L"{c #FF0000>mixed</c}", L"<c:#FF0000>T\"mixed\"</c>"},
        {L"a < b {and} c", L"T\"a < b {and} c\""},  // no tag forms: ordinary text
        {L"{B}x", L"T\"{B}x\""},                   // tags are lower-case letters
        {L"{bx}y", L"T\"{bx}y\""},                 // one letter, then a blank or the end
        {L"{a page1}here{/a}", L"<a:page1>T\"here\"</a>"},
        {L"{a}", L"<a:>"},
        {L"{i x.png 4 2}", L"<i:x.png 4 2>"},
        {L"{i unclosed", L"T\"{i unclosed\""},
        {L"<{>x<}> {<}y{>}", L"T\"{\"T\"x\"T\"}\"T\" \"T\"<\"T\"y\"T\">\""},
        {L"one\ntwo", L"T\"one\"\\nT\"two\""},
        {L"{r}{b}x</b>{/r}{b}", L"<r:>T\"{b}x</b>\"</r><b:>"},
        {L"{r}never closed {b}", L"<r:>T\"never closed {b}\""},
        {L"{n}{p 6}{/p}{x 10}{y 20}", L"<n:><p:6></p><x:10><y:20>"},
        {L"{/q}", L"</q>"},
        {L"", L""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(std::wstring(c.tokens), Tokens(c.text));
    }
}

TEST(MarkupTextTokens, ColourArguments) {
    struct Case {
        const wchar_t* arg;
        DWORD colour;
    } cases[] = {
        {L"#FF0000", 0xFF0000}, {L"00ff00", 0x00FF00}, {L" #0000FF", 0x0000FF},
        {L"#80FF0000", 0x7FFFFFFF},  // beyond 0x7FFFFFFF saturates: its RGB part is white
        {L"#7F123456", 0x7F123456}, {L"", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arg);
        EXPECT_EQ(c.colour, MarkupColour(c.arg, static_cast<int>(wcslen(c.arg))));
    }
}

TEST(MarkupTextTokens, FontArguments) {
    struct Case {
        const wchar_t* arg;
        bool byIndex;
        int index;
        const wchar_t* face;
        int size;
        bool bold, underline, italic;
    } cases[] = {
        {L"1", true, 1, L"", 10, false, false, false},
        {L"Tahoma 14 bold", false, 0, L"Tahoma", 14, true, false, false},
        {L"Tahoma", false, 0, L"Tahoma", 10, false, false, false},
        {L"Arial 9 Italic UNDERLINE", false, 0, L"Arial", 9, false, true, true},
        {L"Arial bold", false, 0, L"Arial", 10, true, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arg);
        TMarkupFontSpec f = MarkupFont(c.arg, static_cast<int>(wcslen(c.arg)));
        EXPECT_EQ(c.byIndex, f.byIndex);
        EXPECT_EQ(c.index, f.index);
        EXPECT_STREQ(c.face, f.face.GetData());
        EXPECT_EQ(c.size, f.size);
        EXPECT_EQ(c.bold, f.bold);
        EXPECT_EQ(c.underline, f.underline);
        EXPECT_EQ(c.italic, f.italic);
    }
}

TEST(MarkupTextTokens, ImageArgumentsReadOnlyTheirOwnTag) {
    struct Case {
        const wchar_t* arg;
        const wchar_t* name;
        const wchar_t* type;
        int parts, index;
    } cases[] = {
        {L"warning.png", L"warning.png", L"", 1, 0},
        {L"icons.png 4 2", L"icons.png", L"", 4, 2},
        {L"icons.png 4 7", L"icons.png", L"", 4, 0},   // index out of range
        {L"icons.png 4 -1", L"icons.png", L"", 4, 0},
        {L"icons.png 0", L"icons.png", L"", 1, 0},      // at least one column
        {L"file='a.png' restype='png'", L"a.png", L"png", 1, 0},
        {L"res='101' restype=''", L"101", L"", 1, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arg);
        TMarkupImageSpec i = MarkupImage(c.arg, static_cast<int>(wcslen(c.arg)));
        EXPECT_STREQ(c.name, i.name.GetData());
        EXPECT_STREQ(c.type, i.type.GetData());
        EXPECT_EQ(c.parts, i.parts);
        EXPECT_EQ(c.index, i.index);
    }
    // A plain image tag followed by text holding an image string keeps its
    // own name: the argument ends at the tag's ">" or "}".
    const wchar_t* text = L"{i plain.png}see {i file='other.png'}";
    TMarkupToken t;
    NextMarkupToken(text, false, &t);
    ASSERT_EQ(MarkupToken::Tag, t.kind);
    EXPECT_STREQ(L"plain.png", MarkupImage(t.text, t.length).name.GetData());
    EXPECT_EQ(0, MarkupNumber(L"", 0));
    EXPECT_EQ(6, MarkupNumber(L"6", 1));
}
