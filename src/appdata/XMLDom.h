#pragma once
// Small helpers over the MSXML document object model: walking children, element names
// and the text that makes an element a value. Failed calls raise gui::HResultError.
#include "appdata/MsXml.h"
#include "gui/Handles.h"

#include <wrl/client.h>

#include <string>
#include <string_view>

namespace appdata {

using Microsoft::WRL::ComPtr;

gui::unique_bstr MakeBstr(std::wstring_view text);
std::wstring NodeName(IXMLDOMNode* node);
DOMNodeType NodeType(IXMLDOMNode* node);
ComPtr<IXMLDOMNode> ParentNode(IXMLDOMNode* node);

// The first child element, or the first of that name (names compare exactly); null
// when there is none.
ComPtr<IXMLDOMNode> FirstChildElement(IXMLDOMNode* parent);
ComPtr<IXMLDOMNode> FirstChildElement(IXMLDOMNode* parent, std::wstring_view name);
ComPtr<IXMLDOMNode> NextSiblingElement(IXMLDOMNode* node);

// What an element holds as far as the store is concerned. Text that is white space
// only carries no data and is left out; comments and processing instructions are
// ignored. An element is a value when it has text and no child elements.
struct ElementContent {
    bool hasElements = false;
    std::wstring text;
    bool IsValue() const noexcept { return !hasElements && !text.empty(); }
};
ElementContent ReadContent(IXMLDOMNode* element);

// Replaces everything below element by the one text node text (nothing when empty).
void SetElementText(IXMLDOMDocument* document, IXMLDOMNode* element, std::wstring_view text);

void RemoveChildNode(IXMLDOMNode* parent, IXMLDOMNode* child);

} // namespace appdata
