#pragma once
// A small non-validating XML parser for skin documents. The whole document
// is one wide text owned by CXmlMarkup; one pass writes terminators and
// decoded characters into it and records the elements in a flat table, so
// names, values and character data are used where they lie.
#include <windows.h>
#include <string>
#include <vector>

namespace UiToolkit {

struct TUiSkinLocation;
class CXmlMarkup;

struct TXmlElement {
    int name;         // offset of the tag name in the text
    int firstChild;   // 0 when none
    int nextSibling;  // 0 when none
    int parent;       // 0 for a top-level element
    int data;         // offset of the character data
};

// An element handle: a plain value, copied freely. Without a document it
// stands for no element.
class CXmlMarkupNode {
public:
    static const int kMaxAttributes = 64;
    static const int kValueBufferSize = 500;

    CXmlMarkupNode() = default;
    CXmlMarkupNode(CXmlMarkup* document, int element) : document_(document), element_(element) {}

    bool IsValid() const { return document_ != nullptr; }
    const wchar_t* TagName() const;
    CXmlMarkupNode FirstChildNode() const;
    CXmlMarkupNode NextSiblingNode() const;
    bool HasChildNodes() const;
    int AttrCount();
    const wchar_t* AttrNameAt(int i);
    const wchar_t* AttrValueAt(int i);
    // Copies at most 499 characters of the value of attribute `name` (exact
    // comparison) into a buffer of kValueBufferSize characters.
    bool ValueOf(const wchar_t* name, wchar_t* buffer);

private:
    void IndexAttributes();

    CXmlMarkup* document_ = nullptr;
    int element_ = 0;
    int attrCount_ = 0;
    struct Attr {
        int name;
        int value;
    } attrs_[kMaxAttributes];
};

class CXmlMarkup {
public:
    // Skin documents larger than this are refused.
    static const size_t kMaxSkinFileBytes = 4 * 1024 * 1024;

    CXmlMarkup() = default;
    CXmlMarkup(const CXmlMarkup&) = delete;
    CXmlMarkup& operator=(const CXmlMarkup&) = delete;

    bool LoadFromText(const wchar_t* text);
    bool LoadFromUtf8(const char* bytes, int length);
    // From the skin zip when one is set, else from the resource folder.
    bool LoadSkinFile(const wchar_t* name);
    bool LoadSkinFileFrom(const TUiSkinLocation& location, const wchar_t* name);
    void FreeDocument();

    CXmlMarkupNode RootNode();
    const wchar_t* LastError() const { return error_.c_str(); }
    const wchar_t* LastErrorContext() const { return errorContext_.c_str(); }

    // For handles.
    const wchar_t* TextAt(int offset) const { return text_.data() + offset; }
    int TextLength() const { return length_; }
    const TXmlElement* Element(int index) const;

private:
    enum class Step { Ok, Done, Failed };

    bool Parse();
    bool BuildElementTable();
    Step ReadElement(int topParent);
    int AppendElement(int parent);
    bool ReadAttributes();
    int ReadText(wchar_t stop);
    bool ReadEntity(wchar_t* out);
    void SkipBlanks();
    void SkipConstruct();
    void ScanName();
    bool RecordError(const wchar_t* error);
    bool LoadError(const wchar_t* error);

    std::vector<wchar_t> text_;  // the document, NUL-terminated
    int length_ = 0;             // characters before the final terminator
    int pos_ = 0;
    std::vector<TXmlElement> elements_;
    std::vector<int> lastChild_;  // per element: its last child so far
    int lastTopLevel_ = 0;
    std::wstring error_;
    std::wstring errorContext_;
};

}  // namespace UiToolkit
