#include "uitoolkit/markup/xml_markup.h"

#include "uitoolkit/zip/skin_files.h"

#include <cwctype>
#include <cstring>

namespace UiToolkit {

namespace {

const size_t kMaxErrorText = 99;
const size_t kMaxErrorContext = 49;

inline bool IsBlank(wchar_t c) { return static_cast<unsigned>(c) <= 32; }

inline bool IsNameChar(wchar_t c) {
    if (c < 128)
        return (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z') || (c >= L'0' && c <= L'9') ||
               c == L'_' || c == L':';
    return iswalnum(c) != 0;
}

struct Entity {
    const wchar_t* name;  // with its ";"
    int length;
    wchar_t value;
};
const Entity kEntities[] = {
    {L"amp;", 4, L'&'}, {L"lt;", 3, L'<'}, {L"gt;", 3, L'>'}, {L"quot;", 5, L'"'}, {L"apos;", 5, L'\''},
};

}  // namespace

// ---------------------------------------------------------------- document

const TXmlElement* CXmlMarkup::Element(int index) const {
    if (index <= 0 || index >= static_cast<int>(elements_.size())) return nullptr;
    return &elements_[index];
}

void CXmlMarkup::FreeDocument() {
    std::vector<wchar_t>().swap(text_);
    std::vector<TXmlElement>().swap(elements_);
    length_ = 0;
    pos_ = 0;
}

CXmlMarkupNode CXmlMarkup::RootNode() {
    if (elements_.size() < 2) return CXmlMarkupNode();
    return CXmlMarkupNode(this, 1);
}

bool CXmlMarkup::LoadFromText(const wchar_t* text) {
    FreeDocument();
    size_t length = text ? wcslen(text) : 0;
    text_.assign(text ? text : L"", (text ? text : L"") + length);
    text_.push_back(0);
    length_ = static_cast<int>(length);
    return Parse();
}

bool CXmlMarkup::LoadFromUtf8(const char* bytes, int length) {
    FreeDocument();
    error_.clear();
    errorContext_.clear();
    if (length < 0 || (!bytes && length > 0)) return LoadError(L"Could not read file");
    if (length >= 3 && static_cast<unsigned char>(bytes[0]) == 0xEF &&
        static_cast<unsigned char>(bytes[1]) == 0xBB && static_cast<unsigned char>(bytes[2]) == 0xBF) {
        bytes += 3;
        length -= 3;
    }
    int wide = length > 0 ? MultiByteToWideChar(CP_UTF8, 0, bytes, length, nullptr, 0) : 0;
    text_.assign(static_cast<size_t>(wide) + 1, 0);
    if (wide > 0) MultiByteToWideChar(CP_UTF8, 0, bytes, length, text_.data(), wide);
    length_ = wide;
    return Parse();
}

bool CXmlMarkup::LoadSkinFile(const wchar_t* name) { return LoadSkinFileFrom(CurrentSkinLocation(), name); }

bool CXmlMarkup::LoadSkinFileFrom(const TUiSkinLocation& location, const wchar_t* name) {
    FreeDocument();
    error_.clear();
    errorContext_.clear();
    if (!name) name = L"";
    TUiBytes bytes;
    if (!location.skinZipName.empty()) {
        switch (ReadSkinZipEntry(location, name, kMaxSkinFileBytes, &bytes)) {
            case SkinRead::Ok: break;
            case SkinRead::ZipOpenFailed: return LoadError(L"Error opening zip file");
            case SkinRead::NotInZip: return LoadError(L"Could not find ziped file");
            case SkinRead::Empty: return LoadError(L"File is empty");
            case SkinRead::TooLarge: return LoadError(L"File too large");
            default: return LoadError(L"Could not unzip file");
        }
    } else {
        switch (ReadWholeFile(location.resourceFolder + name, kMaxSkinFileBytes, &bytes)) {
            case SkinRead::Ok: break;
            case SkinRead::FileOpenFailed: return LoadError(L"Error opening file");
            case SkinRead::Empty: return LoadError(L"File is empty");
            case SkinRead::TooLarge: return LoadError(L"File too large");
            default: return LoadError(L"Could not read file");
        }
    }
    return LoadFromUtf8(bytes.data.get(), static_cast<int>(bytes.size));
}

bool CXmlMarkup::LoadError(const wchar_t* error) {
    FreeDocument();
    error_ = error;
    errorContext_.clear();
    return false;
}

bool CXmlMarkup::RecordError(const wchar_t* error) {
    error_.assign(error, wcsnlen(error, kMaxErrorText));
    errorContext_.clear();
    for (int p = pos_; p < length_ && text_[p] != 0 && errorContext_.size() < kMaxErrorContext; ++p)
        errorContext_.push_back(text_[p]);
    return false;
}

bool CXmlMarkup::Parse() {
    if (BuildElementTable()) return true;
    std::wstring error = error_, context = errorContext_;
    FreeDocument();
    error_ = error;
    errorContext_ = context;
    return false;
}

// ------------------------------------------------------------- scanning
// Every scan is bounded by the text's length: the parser writes
// terminators inside the text, so a NUL is no sign of its end.

void CXmlMarkup::SkipBlanks() {
    while (pos_ < length_ && IsBlank(text_[pos_])) ++pos_;
}

void CXmlMarkup::ScanName() {
    while (pos_ < length_ && IsNameChar(text_[pos_])) ++pos_;
}

// At the "!" of "<!" or the "?" of "<?": skips past the closing "->" or
// "?>", or to the end of the text when there is none.
void CXmlMarkup::SkipConstruct() {
    const wchar_t first = text_[pos_] == L'!' ? L'-' : L'?';
    for (; pos_ + 1 < length_; ++pos_) {
        if (text_[pos_] == first && text_[pos_ + 1] == L'>') {
            pos_ += 2;
            return;
        }
    }
    pos_ = length_;
}

bool CXmlMarkup::ReadEntity(wchar_t* out) {
    // pos_ is at "&".
    for (const Entity& e : kEntities) {
        if (length_ - (pos_ + 1) >= e.length && wmemcmp(&text_[pos_ + 1], e.name, e.length) == 0) {
            *out = e.value;
            pos_ += 1 + e.length;
            return true;
        }
    }
    *out = L'&';
    ++pos_;
    return false;
}

// Decodes text up to `stop` (or the end) over itself; the characters left
// between the decoded end and `stop` become blanks. Returns the decoded end.
int CXmlMarkup::ReadText(wchar_t stop) {
    int write = pos_;
    while (pos_ < length_) {
        wchar_t c = text_[pos_];
        if (c == stop) break;
        if (c == L'&') ReadEntity(&c);
        else ++pos_;
        text_[write++] = c;
    }
    for (int i = write; i < pos_; ++i) text_[i] = L' ';
    return write;
}

int CXmlMarkup::AppendElement(int parent) {
    if (elements_.size() == elements_.capacity())
        elements_.reserve(elements_.capacity() + elements_.capacity() / 2 + 500);
    elements_.push_back(TXmlElement{pos_, 0, 0, parent, 0});
    return static_cast<int>(elements_.size()) - 1;
}

bool CXmlMarkup::ReadAttributes() {
    SkipBlanks();
    while (pos_ < length_ && text_[pos_] != L'/' && text_[pos_] != L'>') {
        ScanName();
        const int nameEnd = pos_;
        SkipBlanks();
        if (pos_ >= length_ || text_[pos_] != L'=') return RecordError(L"Error while parsing attributes");
        text_[pos_] = L' ';
        text_[nameEnd] = 0;
        ++pos_;
        SkipBlanks();
        if (pos_ >= length_ || text_[pos_] != L'"') return RecordError(L"Expected attribute value");
        ++pos_;
        const int end = ReadText(L'"');
        if (pos_ >= length_) return RecordError(L"Error while parsing attribute string");
        // The closing quote and anything decoding left behind become blanks,
        // so the attribute walk of a handle never reads leftovers.
        text_[pos_] = L' ';
        text_[end] = 0;
        ++pos_;
        SkipBlanks();
    }
    return true;
}

bool CXmlMarkup::BuildElementTable() {
    error_.clear();
    errorContext_.clear();
    elements_.clear();
    pos_ = 0;
    lastTopLevel_ = 0;
    AppendElement(0);  // record 0 stands for "none"
    for (;;) {
        SkipBlanks();
        if (pos_ >= length_) return true;
        if (text_[pos_] != L'<') return RecordError(L"Expected start tag");
        ++pos_;
        if (pos_ < length_ && text_[pos_] == L'/') return true;  // the rest is ignored
        SkipBlanks();
        if (pos_ < length_ && (text_[pos_] == L'!' || text_[pos_] == L'?')) {
            SkipConstruct();
            continue;
        }
        Step step = ReadElement(0);
        if (step == Step::Failed) return false;
        if (step == Step::Done) return true;
    }
}

// Reads one top-level element and everything inside it. Nesting is kept on
// an explicit stack, so deep documents cannot exhaust the thread's stack.
CXmlMarkup::Step CXmlMarkup::ReadElement(int topParent) {
    struct Frame {
        int index;
        int nameOffset;
        int nameLength;
        int dataEnd;
        int lastChild;
    };
    std::vector<Frame> open;
    auto fail = [this](const wchar_t* error) {
        RecordError(error);
        return Step::Failed;
    };
    // The text ended early where that is allowed: close the open elements'
    // character data and accept the document.
    auto done = [this, &open]() {
        for (const Frame& f : open) text_[f.dataEnd] = 0;
        return Step::Done;
    };

    int parent = topParent;
    for (;;) {
        // ---- an element starts at pos_ (its name)
        const int index = AppendElement(parent);
        int& previous = open.empty() ? lastTopLevel_ : open.back().lastChild;
        if (previous) elements_[previous].nextSibling = index;
        else if (parent) elements_[parent].firstChild = index;
        previous = index;

        const int nameOffset = pos_;
        ScanName();
        if (pos_ >= length_) return fail(L"Error parsing element name");
        const int nameLength = pos_ - nameOffset;
        bool empty = false;
        const wchar_t after = text_[pos_];
        text_[pos_] = 0;  // ends the tag name
        if (after == L'>') {
            ++pos_;
        } else {
            if (after != L'/') {
                ++pos_;
                if (!ReadAttributes()) return Step::Failed;
            }
            if (pos_ < length_ && (text_[pos_] == L'/' || after == L'/')) {
                if (pos_ + 1 >= length_ || text_[pos_ + 1] != L'>') return fail(L"Expected start-tag closing");
                text_[pos_] = 0;
                elements_[index].data = pos_;
                pos_ += 2;
                empty = true;
            } else if (pos_ < length_ && text_[pos_] == L'>') {
                ++pos_;
            } else {
                return fail(L"Expected start-tag closing");
            }
        }

        bool atTag = false;  // pos_ is at a "<" inside open.back()
        if (!empty) {
            elements_[index].data = pos_;
            const int dataEnd = ReadText(L'<');
            if (pos_ >= length_) {
                text_[dataEnd] = 0;
                if (parent == 0 || parent == 1) return done();
                return fail(L"Expected end-tag start");
            }
            open.push_back(Frame{index, nameOffset, nameLength, dataEnd, 0});
            atTag = true;
        } else if (open.empty()) {
            return Step::Ok;
        }

        // ---- children, comments and end tags until the next child starts
        for (;;) {
            if (!atTag) {
                SkipBlanks();
                if (pos_ >= length_) return open.back().index == 1 ? done() : fail(L"Expected start tag");
                if (text_[pos_] != L'<') return fail(L"Expected start tag");
            }
            atTag = false;
            Frame& f = open.back();
            if (pos_ + 1 < length_ && text_[pos_ + 1] == L'/') {
                text_[f.dataEnd] = 0;
                pos_ += 2;
                SkipBlanks();
                if (length_ - pos_ < f.nameLength ||
                    wmemcmp(&text_[pos_], &text_[f.nameOffset], f.nameLength) != 0)
                    return fail(L"Unmatched closing tag");
                pos_ += f.nameLength;
                SkipBlanks();
                if (pos_ >= length_ || text_[pos_] != L'>') return fail(L"Unmatched closing tag");
                ++pos_;
                open.pop_back();
                if (open.empty()) return Step::Ok;
                continue;
            }
            ++pos_;
            SkipBlanks();
            if (pos_ < length_ && (text_[pos_] == L'!' || text_[pos_] == L'?')) {
                SkipConstruct();
                continue;
            }
            parent = f.index;
            break;
        }
    }
}

// ---------------------------------------------------------------- handles

const wchar_t* CXmlMarkupNode::TagName() const {
    const TXmlElement* e = document_ ? document_->Element(element_) : nullptr;
    return e ? document_->TextAt(e->name) : L"";
}

CXmlMarkupNode CXmlMarkupNode::FirstChildNode() const {
    const TXmlElement* e = document_ ? document_->Element(element_) : nullptr;
    if (!e || !e->firstChild) return CXmlMarkupNode();
    return CXmlMarkupNode(document_, e->firstChild);
}

CXmlMarkupNode CXmlMarkupNode::NextSiblingNode() const {
    const TXmlElement* e = document_ ? document_->Element(element_) : nullptr;
    if (!e || !e->nextSibling) return CXmlMarkupNode();
    return CXmlMarkupNode(document_, e->nextSibling);
}

bool CXmlMarkupNode::HasChildNodes() const {
    const TXmlElement* e = document_ ? document_->Element(element_) : nullptr;
    return e && e->firstChild != 0;
}

int CXmlMarkupNode::AttrCount() {
    if (attrCount_ == 0) IndexAttributes();
    return attrCount_;
}

const wchar_t* CXmlMarkupNode::AttrNameAt(int i) {
    if (i < 0 || i >= AttrCount()) return L"";
    return document_->TextAt(attrs_[i].name);
}

const wchar_t* CXmlMarkupNode::AttrValueAt(int i) {
    if (i < 0 || i >= AttrCount()) return L"";
    return document_->TextAt(attrs_[i].value);
}

bool CXmlMarkupNode::ValueOf(const wchar_t* name, wchar_t* buffer) {
    if (!document_ || !name || !buffer) return false;
    const int count = AttrCount();
    for (int i = 0; i < count; ++i) {
        if (wcscmp(document_->TextAt(attrs_[i].name), name) == 0) {
            wcsncpy(buffer, document_->TextAt(attrs_[i].value), kValueBufferSize - 1);
            buffer[kValueBufferSize - 1] = 0;
            return true;
        }
    }
    return false;
}

// Walks the attributes between the tag name and the character data. The
// parser left each name and value terminated and everything else between
// them blank, so the walk only steps over blanks, names and values.
void CXmlMarkupNode::IndexAttributes() {
    attrCount_ = 0;
    const TXmlElement* e = document_ ? document_->Element(element_) : nullptr;
    if (!e) return;
    const wchar_t* t = document_->TextAt(0);
    const int limit = e->data < document_->TextLength() ? e->data : document_->TextLength();
    int p = e->name;
    while (p < limit && t[p] != 0) ++p;
    ++p;
    while (p < limit && attrCount_ < kMaxAttributes) {
        while (p < limit && IsBlank(t[p])) ++p;
        if (p >= limit || !IsNameChar(t[p])) break;
        const int name = p;
        while (p < limit && t[p] != 0) ++p;
        ++p;
        while (p < limit && IsBlank(t[p])) ++p;
        if (p >= limit || t[p] != L'"') break;
        ++p;
        attrs_[attrCount_].name = name;
        attrs_[attrCount_].value = p;
        ++attrCount_;
        while (p < limit && t[p] != 0) ++p;
        ++p;
    }
}

}  // namespace UiToolkit
