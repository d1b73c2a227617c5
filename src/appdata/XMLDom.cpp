#include "appdata/XMLDom.h"

#include "appdata/XMLCharacters.h"
#include "gui/Error.h"

#include <new>

namespace appdata {

gui::unique_bstr MakeBstr(std::wstring_view text) {
    gui::unique_bstr bstr(::SysAllocStringLen(text.data(), static_cast<UINT>(text.size())));
    if (!bstr)
        throw std::bad_alloc();
    return bstr;
}

std::wstring NodeName(IXMLDOMNode* node) {
    gui::unique_bstr name;
    gui::ThrowIfFailed(node->get_nodeName(name.put()));
    return name ? std::wstring(name.get(), ::SysStringLen(name.get())) : std::wstring();
}

DOMNodeType NodeType(IXMLDOMNode* node) {
    DOMNodeType type = NODE_INVALID;
    gui::ThrowIfFailed(node->get_nodeType(&type));
    return type;
}

ComPtr<IXMLDOMNode> ParentNode(IXMLDOMNode* node) {
    ComPtr<IXMLDOMNode> parent;
    gui::ThrowIfFailed(node->get_parentNode(&parent));
    return parent;
}

namespace {

ComPtr<IXMLDOMNode> FirstChild(IXMLDOMNode* node) {
    ComPtr<IXMLDOMNode> child;
    gui::ThrowIfFailed(node->get_firstChild(&child));
    return child;
}

ComPtr<IXMLDOMNode> NextSibling(IXMLDOMNode* node) {
    ComPtr<IXMLDOMNode> sibling;
    gui::ThrowIfFailed(node->get_nextSibling(&sibling));
    return sibling;
}

ComPtr<IXMLDOMNode> ElementFrom(ComPtr<IXMLDOMNode> node) {
    while (node && NodeType(node.Get()) != NODE_ELEMENT)
        node = NextSibling(node.Get());
    return node;
}

} // namespace

ComPtr<IXMLDOMNode> FirstChildElement(IXMLDOMNode* parent) {
    return ElementFrom(FirstChild(parent));
}

ComPtr<IXMLDOMNode> FirstChildElement(IXMLDOMNode* parent, std::wstring_view name) {
    for (ComPtr<IXMLDOMNode> child = FirstChildElement(parent); child;
         child = NextSiblingElement(child.Get()))
        if (NodeName(child.Get()) == name)
            return child;
    return nullptr;
}

ComPtr<IXMLDOMNode> NextSiblingElement(IXMLDOMNode* node) {
    return ElementFrom(NextSibling(node));
}

ElementContent ReadContent(IXMLDOMNode* element) {
    ElementContent content;
    for (ComPtr<IXMLDOMNode> child = FirstChild(element); child; child = NextSibling(child.Get())) {
        DOMNodeType type = NodeType(child.Get());
        if (type == NODE_ELEMENT) {
            content.hasElements = true;
        } else if (type == NODE_TEXT || type == NODE_CDATA_SECTION) {
            gui::unique_variant value;
            gui::ThrowIfFailed(child->get_nodeValue(value.put()));
            if (value.get().vt != VT_BSTR || value.get().bstrVal == nullptr)
                continue;
            std::wstring_view text(value.get().bstrVal, ::SysStringLen(value.get().bstrVal));
            if (!IsXmlWhiteSpace(text))
                content.text += text;
        }
    }
    if (content.hasElements)
        content.text.clear();
    return content;
}

void SetElementText(IXMLDOMDocument* document, IXMLDOMNode* element, std::wstring_view text) {
    for (ComPtr<IXMLDOMNode> child = FirstChild(element); child; child = FirstChild(element))
        RemoveChildNode(element, child.Get());
    if (text.empty())
        return;
    ComPtr<IXMLDOMText> textNode;
    gui::ThrowIfFailed(document->createTextNode(MakeBstr(text).get(), &textNode));
    ComPtr<IXMLDOMNode> appended;
    gui::ThrowIfFailed(element->appendChild(textNode.Get(), &appended));
}

void RemoveChildNode(IXMLDOMNode* parent, IXMLDOMNode* child) {
    ComPtr<IXMLDOMNode> removed;
    gui::ThrowIfFailed(parent->removeChild(child, &removed));
}

} // namespace appdata
