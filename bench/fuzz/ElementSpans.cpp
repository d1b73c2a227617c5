#include "fuzz/ElementSpans.h"

namespace fuzz {
namespace {

bool NameChar(char c) {
    return c != '>' && c != '/' && c != ' ' && c != '\t' && c != '\r' && c != '\n' && c != '<';
}

} // namespace

std::vector<ElementSpan> FindElements(const std::string& document) {
    std::vector<ElementSpan> spans;
    std::vector<ElementSpan> open;
    size_t at = 0;
    while ((at = document.find('<', at)) != std::string::npos) {
        size_t close = document.find('>', at);
        if (close == std::string::npos)
            break;
        char first = at + 1 < document.size() ? document[at + 1] : '\0';
        if (first == '?' || first == '!') {
            at = close + 1;
            continue;
        }
        bool endTag = first == '/';
        size_t nameBegin = at + (endTag ? 2 : 1);
        size_t nameEnd = nameBegin;
        while (nameEnd < close && NameChar(document[nameEnd]))
            ++nameEnd;
        std::string name = document.substr(nameBegin, nameEnd - nameBegin);
        if (endTag) {
            if (!open.empty() && open.back().name == name) {
                ElementSpan span = open.back();
                open.pop_back();
                span.contentEnd = at;
                span.end = close + 1;
                spans.push_back(span);
            }
        } else if (!name.empty()) {
            ElementSpan span;
            span.begin = at;
            span.contentBegin = close + 1;
            span.name = name;
            if (document[close - 1] == '/') {
                span.contentEnd = span.contentBegin;
                span.end = close + 1;
                spans.push_back(span);
            } else {
                open.push_back(span);
            }
        }
        at = close + 1;
    }
    return spans;
}

} // namespace fuzz
