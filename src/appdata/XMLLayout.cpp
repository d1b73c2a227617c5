#include "appdata/XMLLayout.h"

#include "appdata/XMLCharacters.h"
#include "appdata/XMLDom.h"
#include "appdata/XMLRegFileErrors.h"
#include "gui/Error.h"

#include <vector>

namespace appdata {
namespace {

// The reference written for c, or null when c is written as it is. Line breaks are
// references everywhere, so a value keeps them and still stands on one line; in
// attribute values quotes and tabs are too, since reading normalises their white space.
const wchar_t* ReferenceFor(wchar_t c, bool inAttribute) noexcept {
    switch (c) {
    case L'&':
        return L"&amp;";
    case L'<':
        return L"&lt;";
    case L'>':
        return L"&gt;";
    case L'\r':
        return L"&#13;";
    case L'\n':
        return L"&#10;";
    case L'"':
        return inAttribute ? L"&quot;" : nullptr;
    case L'\t':
        return inAttribute ? L"&#9;" : nullptr;
    default:
        return nullptr;
    }
}

void AppendEscaped(std::wstring& out, std::wstring_view text, bool inAttribute) {
    for (wchar_t c : text) {
        if (const wchar_t* reference = ReferenceFor(c, inAttribute))
            out += reference;
        else
            out += c;
    }
}

void CheckText(std::wstring_view elementName, std::wstring_view text) {
    if (!IsXmlText(text))
        throw EXMLDocError(FormatText(messages::kInvalidCharacter, {elementName}));
}

std::wstring NamespaceOf(IXMLDOMNode* node) {
    gui::unique_bstr uri;
    if (node == nullptr || FAILED(node->get_namespaceURI(uri.put())) || !uri)
        return {};
    return std::wstring(uri.get(), ::SysStringLen(uri.get()));
}

// xmlns="..." for an element without a prefix whose namespace is not its parent's.
void AppendDefaultNamespace(std::wstring& out, IXMLDOMNode* element, const std::wstring& name) {
    if (name.find(L':') != std::wstring::npos)
        return;
    std::wstring uri = NamespaceOf(element);
    if (uri.empty() || uri == NamespaceOf(ParentNode(element).Get()))
        return;
    CheckText(name, uri);
    out += L" xmlns=\"";
    AppendEscaped(out, uri, true);
    out += L'"';
}

// The start tag without its closing ">", with the attributes of a hand-edited file.
void AppendStartTag(std::wstring& out, IXMLDOMNode* element, const std::wstring& name) {
    out += L'<';
    out += name;
    ComPtr<IXMLDOMNamedNodeMap> attributes;
    if (FAILED(element->get_attributes(&attributes)) || !attributes)
        return;
    long count = 0;
    gui::ThrowIfFailed(attributes->get_length(&count));
    bool unlisted = false;
    for (long i = 0; i < count; ++i) {
        ComPtr<IXMLDOMNode> attribute;
        // Some document libraries count a default namespace declaration among the
        // attributes but cannot hand it out; it is written from the element's namespace
        // below instead of failing every save of the file.
        if (FAILED(attributes->get_item(i, &attribute))) {
            unlisted = true;
            continue;
        }
        if (!attribute)
            continue;
        gui::unique_bstr value;
        gui::ThrowIfFailed(attribute->get_text(value.put()));
        std::wstring_view text = value ? std::wstring_view(value.get(), ::SysStringLen(value.get())) : L"";
        CheckText(name, text);
        out += L' ';
        out += NodeName(attribute.Get());
        out += L"=\"";
        AppendEscaped(out, text, true);
        out += L'"';
    }
    if (unlisted)
        AppendDefaultNamespace(out, element, name);
}

void AppendIndent(std::wstring& out, size_t level) {
    out.append(level * 2, L' ');
}

std::string ToUtf8(std::wstring_view text) {
    if (text.empty())
        return {};
    int size = ::WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, text.data(),
                                     static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    if (size <= 0)
        gui::ThrowIfFailed(HRESULT_FROM_WIN32(::GetLastError()));
    std::string bytes(static_cast<size_t>(size), '\0');
    ::WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, text.data(), static_cast<int>(text.size()),
                          bytes.data(), size, nullptr, nullptr);
    return bytes;
}

} // namespace

void AppendEscapedText(std::wstring& out, std::wstring_view text) {
    AppendEscaped(out, text, false);
}

std::string LayOutDocument(IXMLDOMNode* rootElement) {
    std::wstring out = L"<?xml version=\"1.0\"?>\r\n";
    // Walked with an explicit stack of open elements, so that deep trees cannot
    // exhaust the machine stack.
    std::vector<std::wstring> openNames;
    ComPtr<IXMLDOMNode> element = rootElement;
    while (element) {
        std::wstring name = NodeName(element.Get());
        ElementContent content = ReadContent(element.Get());
        AppendIndent(out, openNames.size());
        AppendStartTag(out, element.Get(), name);
        if (content.hasElements) {
            out += L">\r\n";
            openNames.push_back(std::move(name));
            element = FirstChildElement(element.Get());
            continue;
        }
        if (content.text.empty()) {
            out += L"/>\r\n";
        } else {
            CheckText(name, content.text);
            out += L'>';
            AppendEscapedText(out, content.text);
            out += L"</";
            out += name;
            out += L">\r\n";
        }
        // On to the next sibling, closing every element whose entries are done.
        ComPtr<IXMLDOMNode> next = openNames.empty() ? nullptr : NextSiblingElement(element.Get());
        while (!next && !openNames.empty()) {
            element = ParentNode(element.Get());
            AppendIndent(out, openNames.size() - 1);
            out += L"</";
            out += openNames.back();
            out += L">\r\n";
            openNames.pop_back();
            if (!openNames.empty())
                next = NextSiblingElement(element.Get());
        }
        element = next;
    }
    return "\xEF\xBB\xBF" + ToUtf8(out);
}

} // namespace appdata
