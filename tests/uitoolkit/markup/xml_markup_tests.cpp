#include <gtest/gtest.h>

#include "uitoolkit/markup/xml_markup.h"

#include <algorithm>
#include <string>
#include <vector>

using UiToolkit::CXmlMarkup;
using UiToolkit::CXmlMarkupNode;

namespace {

std::wstring Attr(CXmlMarkupNode node, const wchar_t* name) {
    wchar_t buffer[CXmlMarkupNode::kValueBufferSize];
    if (!node.ValueOf(name, buffer)) return L"<absent>";
    return buffer;
}

// The character data of an element, read through the element table.
std::wstring Data(CXmlMarkup& doc, CXmlMarkupNode node) {
    for (int i = 1; doc.Element(i); ++i)
        if (doc.TextAt(doc.Element(i)->name) == node.TagName()) return doc.TextAt(doc.Element(i)->data);
    return L"<none>";
}

// Element names in document order with their depth, e.g. "a(b,c(d))".
std::wstring Shape(CXmlMarkupNode node) {
    std::wstring out;
    for (; node.IsValid(); node = node.NextSiblingNode()) {
        if (!out.empty()) out += L",";
        out += node.TagName();
        if (node.HasChildNodes()) out += L"(" + Shape(node.FirstChildNode()) + L")";
    }
    return out;
}

}  // namespace

TEST(XmlMarkup, BrokenDocumentsFailWithTheirFixedErrorText) {
    struct Case {
        const wchar_t* text;
        const wchar_t* error;
        const wchar_t* contextStart;
    } cases[] = {
        {L"hello", L"Expected start tag", L"hello"},
        {L"<a/> x", L"Expected start tag", L"x"},
        {L"<a", L"Error parsing element name", L""},
        {L"<a x", L"Error while parsing attributes", L""},
        {L"<a x y=\"1\"/>", L"Error while parsing attributes", L"y"},
        {L"<a x='1'/>", L"Expected attribute value", L"'1'"},
        {L"<a x=", L"Expected attribute value", L""},
        {L"<a x=\"1", L"Error while parsing attribute string", L""},
        {L"<a x=\"1\"", L"Expected start-tag closing", L""},
        {L"<a x=\"1\" / >", L"Expected start-tag closing", L"/ >"},
        {L"<a/ >", L"Expected start-tag closing", L""},
        {L"<r><a><b>text", L"Expected end-tag start", L""},
        {L"<r><a><b/>", L"Expected start tag", L""},
        {L"<a><b/>text</a>", L"Expected start tag", L"text</a>"},
        {L"<a></b>", L"Unmatched closing tag", L"b>"},
        {L"<a></ab>", L"Unmatched closing tag", L"b>"},
        {L"<a></a", L"Unmatched closing tag", L""},
        {L"<abc></ab>", L"Unmatched closing tag", L"ab>"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        CXmlMarkup doc;
        EXPECT_FALSE(doc.LoadFromText(c.text));
        EXPECT_STREQ(c.error, doc.LastError());
        EXPECT_EQ(0, wcsncmp(c.contextStart, doc.LastErrorContext(), wcslen(c.contextStart)))
            << "context: " << doc.LastErrorContext();
        EXPECT_FALSE(doc.RootNode().IsValid());
    }
}

TEST(XmlMarkup, WellFormedAndToleratedDocumentsGiveTheirTree) {
    struct Case {
        const wchar_t* text;
        const wchar_t* shape;
    } cases[] = {
        {L"<a><b/><c><d/></c></a>", L"a(b,c(d))"},
        {L"<?xml version=\"1.0\"?>\n<!-- skin -->\n<a><!-- x --><b/><?pi y?>\n<c/></a>", L"a(b,c)"},
        {L"<a></ a >", L"a"},
        {L"<a>text<b/></a>", L"a(b)"},
        {L"< a ><b/></a>", L"a(b)"},
        // Text that ends inside the root's list of children is complete.
        {L"<a><b/>", L"a(b)"},
        {L"<a><b>text", L"a(b)"},
        {L"<a>text", L"a"},
        // "</" at the top level ends the document.
        {L"<a/></x> anything <", L"a"},
        {L"<a/><b/>", L"a,b"},
        // Scans stop at the end of the text instead of running on.
        {L"<a><!-- never closed", L"a"},
        {L"<a><?never closed", L"a"},
        {L"<!-- never closed", L""},
        {L"   \r\n\t ", L""},
        {L"", L""},
        {L"<!-- only --> <?pi?>", L""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        CXmlMarkup doc;
        ASSERT_TRUE(doc.LoadFromText(c.text)) << doc.LastError();
        EXPECT_EQ(std::wstring(c.shape), Shape(doc.RootNode()));
        EXPECT_STREQ(L"", doc.LastError());
    }
}

TEST(XmlMarkup, EmptyElementsHaveEmptyData) {
    for (const wchar_t* text : {L"<a/>", L"<a />", L"<a x=\"1\"/>", L"<a x=\"1\" />", L"<r><a/></r>"}) {
        SCOPED_TRACE(text);
        CXmlMarkup doc;
        ASSERT_TRUE(doc.LoadFromText(text));
        CXmlMarkupNode a = doc.RootNode();
        if (std::wstring(a.TagName()) == L"r") a = a.FirstChildNode();
        EXPECT_STREQ(L"a", a.TagName());
        EXPECT_FALSE(a.HasChildNodes());
        EXPECT_EQ(L"", Data(doc, a));
    }
}

TEST(XmlMarkup, EntitiesDecodeInValuesAndDataAndLaterAttributesStayVisible) {
    CXmlMarkup doc;
    ASSERT_TRUE(doc.LoadFromText(
        L"<a first=\"&lt;&amp;\" second=\"2\" third=\"&quot;q&quot; &apos;s&apos; &gt;\" "
        L"fourth=\"&#65;&foo;&amp\" fifth=\"&amp;&amp;&amp;&amp;&amp;\" last=\"end\">x &lt; y &amp;&amp; z</a>"));
    CXmlMarkupNode a = doc.RootNode();
    ASSERT_EQ(6, a.AttrCount());
    const wchar_t* names[] = {L"first", L"second", L"third", L"fourth", L"fifth", L"last"};
    const wchar_t* values[] = {L"<&", L"2", L"\"q\" 's' >", L"&#65;&foo;&amp", L"&&&&&", L"end"};
    for (int i = 0; i < 6; ++i) {
        EXPECT_STREQ(names[i], a.AttrNameAt(i));
        EXPECT_STREQ(values[i], a.AttrValueAt(i));
        EXPECT_EQ(values[i], Attr(a, names[i]));
    }
    EXPECT_EQ(L"x < y && z", Data(doc, a));
}

TEST(XmlMarkup, ShortenedValuesLeaveNothingForTheAttributeWalk) {
    // Each value loses characters to decoding; what is left between the
    // decoded end and the closing quote must not read as attributes.
    CXmlMarkup doc;
    ASSERT_TRUE(doc.LoadFromText(L"<a v=\"&amp;x=&quot;y&quot; z\" w=\"&lt;\"/>"));
    CXmlMarkupNode a = doc.RootNode();
    ASSERT_EQ(2, a.AttrCount());
    EXPECT_EQ(L"&x=\"y\" z", Attr(a, L"v"));
    EXPECT_EQ(L"<", Attr(a, L"w"));
    EXPECT_EQ(L"<absent>", Attr(a, L"x"));
    EXPECT_EQ(L"<absent>", Attr(a, L"y"));
}

TEST(XmlMarkup, HandlesShowAtMost64AttributesAndValuesCut) {
    std::wstring text = L"<a";
    for (int i = 0; i < 65; ++i) text += L" k" + std::to_wstring(i) + L"=\"v" + std::to_wstring(i) + L"\"";
    text += L" /><b long=\"" + std::wstring(600, L'x') + L"\" e=\"\" />";
    CXmlMarkup doc;
    ASSERT_TRUE(doc.LoadFromText(text.c_str()));
    CXmlMarkupNode a = doc.RootNode();
    EXPECT_EQ(64, a.AttrCount());
    EXPECT_EQ(L"v63", Attr(a, L"k63"));
    EXPECT_EQ(L"<absent>", Attr(a, L"k64"));
    EXPECT_STREQ(L"", a.AttrNameAt(64));
    EXPECT_STREQ(L"", a.AttrValueAt(-1));

    CXmlMarkupNode b = a.NextSiblingNode();
    ASSERT_EQ(2, b.AttrCount());
    EXPECT_EQ(std::wstring(499, L'x'), Attr(b, L"long"));
    EXPECT_EQ(L"", Attr(b, L"e"));
    // Exact, case-sensitive names.
    EXPECT_EQ(L"<absent>", Attr(b, L"Long"));
}

TEST(XmlMarkup, Utf8WithAndWithoutByteOrderMarkGiveTheSameDocument) {
    const std::string body = "<Window caption=\"\xE4\xB8\xAD\xE6\x96\x87 \xF0\x9F\x98\x80\"><Label text=\"a\"/></Window>";
    for (const std::string& bytes : {body, "\xEF\xBB\xBF" + body}) {
        CXmlMarkup doc;
        ASSERT_TRUE(doc.LoadFromUtf8(bytes.data(), static_cast<int>(bytes.size())));
        CXmlMarkupNode root = doc.RootNode();
        EXPECT_STREQ(L"Window", root.TagName());
        EXPECT_EQ(L"\x4E2D\x6587 \xD83D\xDE00", Attr(root, L"caption"));
        EXPECT_STREQ(L"Label", root.FirstChildNode().TagName());
    }
    // A lone byte-order mark, or nothing at all, is an empty document.
    CXmlMarkup doc;
    EXPECT_TRUE(doc.LoadFromUtf8("\xEF\xBB\xBF", 3));
    EXPECT_FALSE(doc.RootNode().IsValid());
    EXPECT_TRUE(doc.LoadFromUtf8("", 0));
}

TEST(XmlMarkup, EveryTruncationOfASkinEndsCleanly) {
    const std::string full =
        "<?xml version=\"1.0\"?><Window size=\"1,2\"><!-- c --><VerticalLayout name=\"v\">"
        "<Button name=\"ok\" text=\"a &amp; b\"/><Label>hi &lt;</Label></VerticalLayout>"
        "<Font id=\"0\"/></Window>";
    const std::vector<std::wstring> errors = {
        L"Expected start tag", L"Error parsing element name", L"Error while parsing attributes",
        L"Expected attribute value", L"Error while parsing attribute string", L"Expected start-tag closing",
        L"Expected end-tag start", L"Unmatched closing tag"};
    int loaded = 0;
    for (size_t n = 0; n <= full.size(); ++n) {
        SCOPED_TRACE(n);
        CXmlMarkup doc;
        if (doc.LoadFromUtf8(full.data(), static_cast<int>(n))) {
            ++loaded;
            CXmlMarkupNode root = doc.RootNode();
            EXPECT_STREQ(root.IsValid() ? L"Window" : L"", root.TagName());
        } else {
            EXPECT_NE(errors.end(), std::find(errors.begin(), errors.end(), std::wstring(doc.LastError())))
                << doc.LastError();
        }
    }
    EXPECT_GT(loaded, 10);
    CXmlMarkup doc;
    ASSERT_TRUE(doc.LoadFromUtf8(full.data(), static_cast<int>(full.size())));
    EXPECT_EQ(L"Window(VerticalLayout(Button,Label),Font)", Shape(doc.RootNode()));
}

TEST(XmlMarkup, DeepNestingDoesNotExhaustTheStack) {
    const int depth = 200000;
    std::wstring text;
    for (int i = 0; i < depth; ++i) text += L"<n>";
    for (int i = 0; i < depth; ++i) text += L"</n>";
    CXmlMarkup doc;
    ASSERT_TRUE(doc.LoadFromText(text.c_str()));
    int levels = 0;
    for (CXmlMarkupNode n = doc.RootNode(); n.IsValid(); n = n.FirstChildNode()) ++levels;
    EXPECT_EQ(depth, levels);
}

TEST(XmlMarkup, AFailedLoadLeavesTheDocumentEmptyAndErrorsClearOnTheNextLoad) {
    CXmlMarkup doc;
    ASSERT_TRUE(doc.LoadFromText(L"<a x=\"1\"/>"));
    EXPECT_FALSE(doc.LoadFromText(L"<a x=1/>"));
    EXPECT_FALSE(doc.RootNode().IsValid());
    EXPECT_STREQ(L"Expected attribute value", doc.LastError());
    ASSERT_TRUE(doc.LoadFromText(L"<b/>"));
    EXPECT_STREQ(L"", doc.LastError());
    EXPECT_STREQ(L"", doc.LastErrorContext());
    EXPECT_STREQ(L"b", doc.RootNode().TagName());
    doc.FreeDocument();
    EXPECT_FALSE(doc.RootNode().IsValid());
}

TEST(XmlMarkup, AHandleWithoutADocumentIsNoElement) {
    CXmlMarkupNode none;
    wchar_t buffer[CXmlMarkupNode::kValueBufferSize] = L"untouched";
    EXPECT_STREQ(L"", none.TagName());
    EXPECT_FALSE(none.HasChildNodes());
    EXPECT_FALSE(none.FirstChildNode().IsValid());
    EXPECT_FALSE(none.NextSiblingNode().IsValid());
    EXPECT_EQ(0, none.AttrCount());
    EXPECT_FALSE(none.ValueOf(L"x", buffer));
    EXPECT_STREQ(L"untouched", buffer);
}

TEST(XmlMarkup, ElementTableKeepsDocumentOrderAndLinks) {
    CXmlMarkup doc;
    ASSERT_TRUE(doc.LoadFromText(L"<r><a><b/></a><c/></r><s/>"));
    // r=1, a=2, b=3, c=4, s=5
    struct Row {
        const wchar_t* name;
        int firstChild, nextSibling, parent;
    } rows[] = {{L"r", 2, 5, 0}, {L"a", 3, 4, 1}, {L"b", 0, 0, 2}, {L"c", 0, 0, 1}, {L"s", 0, 0, 0}};
    for (int i = 0; i < 5; ++i) {
        const UiToolkit::TXmlElement* e = doc.Element(i + 1);
        ASSERT_NE(nullptr, e);
        EXPECT_STREQ(rows[i].name, doc.TextAt(e->name));
        EXPECT_EQ(rows[i].firstChild, e->firstChild);
        EXPECT_EQ(rows[i].nextSibling, e->nextSibling);
        EXPECT_EQ(rows[i].parent, e->parent);
    }
    EXPECT_EQ(nullptr, doc.Element(6));
}
