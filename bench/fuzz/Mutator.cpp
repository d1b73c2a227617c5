#include "fuzz/Mutator.h"

#include "fuzz/ElementSpans.h"
#include "fuzz/Random.h"

#include <algorithm>
#include <functional>
#include <vector>

namespace fuzz {
namespace {

using Mutation = std::function<std::string(Random&, std::string&)>;

const ElementSpan* PickElement(Random& random, const std::vector<ElementSpan>& spans, bool leavesOnly,
                               const std::string& document) {
    std::vector<const ElementSpan*> fitting;
    for (const ElementSpan& span : spans)
        if (!leavesOnly || span.Leaf(document))
            fitting.push_back(&span);
    return fitting.empty() ? nullptr : fitting[random.Below(fitting.size())];
}

std::string FlipBits(Random& random, std::string& doc) {
    if (doc.empty())
        return "flip none";
    size_t count = 1 + random.Below(random.OneIn(4) ? 64 : 8);
    for (size_t i = 0; i < count; ++i)
        doc[random.Below(doc.size())] ^= static_cast<char>(1u << random.Below(8));
    return "flip " + std::to_string(count);
}

std::string CutElement(Random& random, std::string& doc) {
    const auto spans = FindElements(doc);
    const ElementSpan* span = PickElement(random, spans, false, doc);
    if (span == nullptr)
        return "cut none";
    // Sometimes only a start or an end tag goes, leaving the rest unbalanced.
    switch (random.Below(4)) {
    case 0:
        doc.erase(span->begin, span->contentBegin - span->begin);
        return "cut start tag " + span->name;
    case 1:
        if (span->contentEnd < span->end)
            doc.erase(span->contentEnd, span->end - span->contentEnd);
        return "cut end tag " + span->name;
    default:
        doc.erase(span->begin, span->end - span->begin);
        return "cut " + span->name;
    }
}

std::string DuplicateElement(Random& random, std::string& doc) {
    const auto spans = FindElements(doc);
    const ElementSpan* span = PickElement(random, spans, false, doc);
    if (span == nullptr)
        return "duplicate none";
    static const size_t kCopies[] = {1, 1, 2, 3, 10, 40};
    size_t copies = random.Pick(kCopies);
    std::string element = doc.substr(span->begin, span->end - span->begin);
    std::string repeated;
    for (size_t i = 0; i < copies; ++i)
        repeated += element;
    doc.insert(span->end, repeated);
    return "duplicate " + span->name + " x" + std::to_string(copies);
}

std::string NestDeeply(Random& random, std::string& doc) {
    const auto spans = FindElements(doc);
    const ElementSpan* span = PickElement(random, spans, false, doc);
    if (span == nullptr)
        return "nest none";
    // Around the depths the store and the parser stop at, and far beyond.
    static const size_t kDepths[] = {10, 198, 199, 200, 201, 254, 255, 256, 257, 1000, 20000};
    static const char* const kNames[] = {"N", "Id.1", "Frames", "Roots", "No.0", "Tree"};
    size_t depth = random.Pick(kDepths);
    std::string name = random.OneIn(3) ? span->name : random.Pick(kNames);
    std::string open, close;
    for (size_t i = 0; i < depth; ++i) {
        open += "<" + name + ">";
        close += "</" + name + ">";
    }
    doc.insert(span->contentEnd, close);
    doc.insert(span->contentBegin, open);
    return "nest " + name + " x" + std::to_string(depth) + " in " + span->name;
}

std::string OutOfRange(Random& random, std::string& doc) {
    const auto spans = FindElements(doc);
    const ElementSpan* span = PickElement(random, spans, true, doc);
    if (span == nullptr)
        return "value none";
    static const char* const kValues[] = {"2147483647",
                                          "2147483648",
                                          "-2147483648",
                                          "-2147483649",
                                          "4294967295",
                                          "4294967296",
                                          "99999999999999999999999",
                                          "-0",
                                          "+5",
                                          " 5",
                                          "5 ",
                                          "0x10",
                                          "$10",
                                          "1e3",
                                          "1.5",
                                          "",
                                          "NaN",
                                          "True",
                                          "false",
                                          "-1",
                                          "0",
                                          "256",
                                          "65536",
                                          "-16777201",
                                          "\xEF\xBC\x91",
                                          "1\t2",
                                          "&#48;",
                                          "&#x31;",
                                          "&lt;",
                                          "<![CDATA[42]]>",
                                          "rfDesktop",
                                          "rfNoSuchRoot",
                                          "\\\\?\\C:\\",
                                          "\\\\nohost\\share",
                                          "C:\\..\\..\\..",
                                          "::{00000000-0000-0000-0000-000000000000}",
                                          ",,,,",
                                          "\"a,b",
                                          "\"\"\"",
                                          "C:\\Windows\\*",
                                          "CON",
                                          "C:\\nul\\x"};
    std::string value = random.Pick(kValues);
    doc.replace(span->contentBegin, span->contentEnd - span->contentBegin, value);
    return "value " + span->name + "=" + value;
}

std::string HugeValue(Random& random, std::string& doc) {
    const auto spans = FindElements(doc);
    const ElementSpan* span = PickElement(random, spans, true, doc);
    if (span == nullptr)
        return "huge value none";
    static const size_t kLengths[] = {300, 4096, 32768, 262144, 2000000};
    size_t length = random.Pick(kLengths);
    std::string value;
    switch (random.Below(4)) {
    case 0:
        value = std::string(length, '9');
        break;
    case 1:
        value = "C:\\" + std::string(length, 'a');
        break;
    case 2:
        // Many items for the lists read from one value.
        for (size_t i = 0; value.size() < length; ++i)
            value += "C:\\x" + std::to_string(i) + ",";
        break;
    default:
        for (size_t i = 0; value.size() < length; ++i)
            value += "\xE3\x81\x82"; // a Japanese letter
        break;
    }
    doc.replace(span->contentBegin, span->contentEnd - span->contentBegin, value);
    return "huge value " + span->name + " " + std::to_string(value.size());
}

std::string BadName(Random& random, std::string& doc) {
    const auto spans = FindElements(doc);
    const ElementSpan* span = PickElement(random, spans, false, doc);
    if (span == nullptr || span->contentEnd == span->end)
        return "rename none";
    static const char* const kNames[] = {
        "Id.-1",          "Id.+5", "Id. 5", "Id.0x10", "Id.",          "Id.99999999999",  "Id.2147483647",
        "Id.-2147483648", "Id.0",  "No.-1", "x:y",     "\xE5\x90\x8D", "Id.\xEF\xBC\x91", "_",
        "a.b.c"};
    std::string name;
    switch (random.Below(3)) {
    case 0:
        name = random.Pick(kNames);
        break;
    case 1:
        name = std::string(random.OneIn(2) ? 300 : 70000, 'A');
        break;
    default:
        name = "Id." + std::string(random.OneIn(2) ? 40 : 5000, '7');
        break;
    }
    // The end tag first, so that the start tag's offsets still hold.
    doc.replace(span->contentEnd + 2, span->name.size(), name);
    doc.replace(span->begin + 1, span->name.size(), name);
    return "rename " + span->name + " to " + name.substr(0, 20) + (name.size() > 20 ? "..." : "");
}

std::string BreakAttribute(Random& random, std::string& doc) {
    const auto spans = FindElements(doc);
    const ElementSpan* span = PickElement(random, spans, false, doc);
    if (span == nullptr)
        return "attribute none";
    static const std::string kAttributes[] = {" a=\"x",
                                              " a=x",
                                              " a=\"1\" a=\"2\"",
                                              " xmlns=\"urn:x\"",
                                              " xmlns:p=\"urn:p\"",
                                              " p:a=\"1\"",
                                              " xml:space=\"default\"",
                                              " =",
                                              " a='<'",
                                              " a=\"&bogus;\"",
                                              " a=\"" + std::string(100000, 'v') + "\"",
                                              "/"};
    std::string attribute = random.Pick(kAttributes);
    size_t at = span->contentBegin - 1;
    if (doc[at - 1] == '/')
        --at;
    doc.insert(at, attribute);
    return "attribute on " + span->name + ": " + attribute.substr(0, 20);
}

std::string InsertMarkup(Random& random, std::string& doc) {
    static const std::string kTokens[] = {"<!-- c -->",
                                          "<![CDATA[x]]>",
                                          "&amp;",
                                          "&#0;",
                                          "&#x10FFFF;",
                                          "&#xD800;",
                                          "&undefined;",
                                          "<?pi x?>",
                                          "]]>",
                                          "\xC3\x28",
                                          "\xFF\xFE",
                                          std::string("\0", 1),
                                          "\xEF\xBB\xBF",
                                          "<!DOCTYPE x>",
                                          "<!ENTITY a \"b\">",
                                          "&lt;Id.5&gt;",
                                          "<",
                                          ">",
                                          "</Kestrav>",
                                          "<Kestrav>",
                                          "\x01",
                                          "\xED\xA0\x80"};
    const std::string& token = random.Pick(kTokens);
    doc.insert(random.Below(doc.size() + 1), token);
    return "insert markup";
}

std::string ChangeEncoding(Random& random, std::string& doc) {
    size_t rootAt = doc.find("<Kestrav");
    if (rootAt == std::string::npos)
        rootAt = 0;
    static const char* const kPrologs[] = {
        "<?xml version=\"1.0\" encoding=\"UTF-16\"?>",
        "<?xml version=\"1.0\" encoding=\"Shift_JIS\"?>",
        "<?xml version=\"1.0\" encoding=\"bogus\"?>",
        "<?xml version=\"2.0\"?>",
        "<?xml?>",
        "<?xml version=\"1.0\" standalone=\"yes\"?><?xml version=\"1.0\"?>",
        "",
        "\xEF\xBB\xBF",
        "\xFE\xFF"};
    switch (random.Below(3)) {
    case 0: {
        // The whole document as UTF-16 (little-endian, with or without its mark).
        std::string wide = random.OneIn(2) ? std::string("\xFF\xFE") : std::string();
        for (char c : doc) {
            wide += c;
            wide += '\0';
        }
        doc = wide;
        return "as UTF-16";
    }
    default: {
        std::string prolog = random.Pick(kPrologs);
        doc.replace(0, rootAt, prolog);
        return "prolog " + prolog.substr(0, 40);
    }
    }
}

std::string Truncate(Random& random, std::string& doc) {
    doc.resize(random.Below(doc.size() + 1));
    return "truncate at " + std::to_string(doc.size());
}

} // namespace

std::string Mutate(const std::string& document, uint64_t seed, std::string& applied) {
    // Weighted: the structural mutations most, those that break the whole file least
    // (most of their cases end at the parser).
    static const Mutation kMutations[] = {FlipBits,         CutElement,   CutElement,     DuplicateElement,
                                          DuplicateElement, NestDeeply,   OutOfRange,     OutOfRange,
                                          OutOfRange,       HugeValue,    BadName,        BadName,
                                          BreakAttribute,   InsertMarkup, ChangeEncoding, Truncate};
    Random random(seed);
    std::string doc = document;
    size_t count = 1 + random.Below(random.OneIn(3) ? 4 : 2);
    applied.clear();
    for (size_t i = 0; i < count; ++i) {
        if (!applied.empty())
            applied += "; ";
        applied += random.Pick(kMutations)(random, doc);
    }
    return doc;
}

} // namespace fuzz
