#pragma once
// The elements of a document as byte ranges, found by a tolerant scan that also works
// on a document already broken by earlier mutations (what does not match is skipped).
#include <string>
#include <vector>

namespace fuzz {

struct ElementSpan {
    size_t begin = 0;        // at "<name"
    size_t end = 0;          // after the end tag's ">"
    size_t contentBegin = 0; // after the start tag's ">"
    size_t contentEnd = 0;   // at the end tag's "<"
    std::string name;
    bool Leaf(const std::string& document) const { return document.find('<', contentBegin) >= contentEnd; }
};

std::vector<ElementSpan> FindElements(const std::string& document);

} // namespace fuzz
