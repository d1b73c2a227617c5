#include "appdata/XMLRegFile.h"

#include "appdata/WholeFile.h"
#include "appdata/XMLCharacters.h"
#include "appdata/XMLDom.h"
#include "appdata/XMLLayout.h"
#include "appdata/XMLPrologCheck.h"
#include "appdata/XMLRegFileErrors.h"
#include "appdata/XMLTextForms.h"
#include "gui/Error.h"

#include <cstring>
#include <exception>
#include <optional>
#include <string_view>

namespace appdata {
namespace {

// The root element's name for a new document: the file's name without its last
// extension ("Kestrav.xml" gives "Kestrav", "a.b.xml" gives "a.b").
std::wstring RootNameFor(std::wstring_view fileName) {
    size_t slash = fileName.find_last_of(L"\\/");
    std::wstring_view name = slash == std::wstring_view::npos ? fileName : fileName.substr(slash + 1);
    size_t dot = name.rfind(L'.');
    return std::wstring(dot == std::wstring_view::npos ? name : name.substr(0, dot));
}

void SetBoolProperty(IXMLDOMDocument2* document, const wchar_t* name, bool value) {
    VARIANT variant;
    variant.vt = VT_BOOL;
    variant.boolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
    gui::ThrowIfFailed(document->setProperty(MakeBstr(name).get(), variant));
}

std::wstring TrimLineEnds(std::wstring text) {
    while (!text.empty() && (text.back() == L'\r' || text.back() == L'\n' || text.back() == L' '))
        text.pop_back();
    return text;
}

std::wstring EmptyIfNull(const gui::unique_bstr& text) {
    return text ? std::wstring(text.get(), ::SysStringLen(text.get())) : std::wstring();
}

} // namespace

TXMLRegFile::TXMLRegFile(std::wstring FileName) : TXMLRegFile(std::move(FileName), TNewDocument{}, true) {}

TXMLRegFile::TXMLRegFile(std::wstring FileName, TNewDocument) : TXMLRegFile(std::move(FileName), {}, false) {}

TXMLRegFile::TXMLRegFile(std::wstring FileName, TNewDocument, bool readFile)
    : FFileName(std::move(FileName)), FUncaughtAtCreation(std::uncaught_exceptions()) {
    gui::ThrowIfFailed(
        ::CoCreateInstance(kDomDocument60, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&FDocument)));
    gui::ThrowIfFailed(FDocument->put_async(VARIANT_FALSE));
    // The file is untrusted input: nothing outside it is ever fetched, no DTD is taken.
    gui::ThrowIfFailed(FDocument->put_validateOnParse(VARIANT_FALSE));
    gui::ThrowIfFailed(FDocument->put_resolveExternals(VARIANT_FALSE));
    SetBoolProperty(FDocument.Get(), L"ProhibitDTD", true);
    // The depth the parser accepts, set explicitly where the library knows the property
    // (Wine's does not and holds to 257 levels by itself).
    VARIANT depth;
    depth.vt = VT_I4;
    depth.lVal = 256;
    FDocument->setProperty(MakeBstr(L"MaxElementDepth").get(), depth);
    // Text is kept exactly as read, so that values keep their leading and trailing white
    // space; the store itself ignores text that is white space only.
    gui::ThrowIfFailed(FDocument->put_preserveWhiteSpace(VARIANT_TRUE));

    std::optional<std::string> bytes;
    if (readFile)
        bytes = ReadWholeFile(FFileName, kMaxFileSize);
    if (bytes)
        Load(*bytes);
    else
        CreateEmptyDocument();
}

TXMLRegFile::~TXMLRegFile() noexcept(false) {
    if (!FModified || FFileName.empty())
        return;
    // An exception leaving the work with this object means the document may hold only
    // part of what was to be written: the file keeps its last complete content instead.
    if (std::uncaught_exceptions() > FUncaughtAtCreation)
        return;
    UpdateFile();
}

void TXMLRegFile::Load(const std::string& bytes) {
    if (HasDocumentTypeDeclaration(bytes))
        throw EXMLDocError(
            FormatText(messages::kCannotLoadFile, {FFileName, messages::kDocumentTypeRefused}));
    if (MarkupCount(bytes) > kMaxMarkup)
        throw EXMLDocError(
            FormatText(messages::kCannotLoadFile,
                       {FFileName, FormatText(messages::kTooMuchMarkup, {std::to_wstring(kMaxMarkup)})}));

    gui::unique_variant source;
    SAFEARRAY* array = ::SafeArrayCreateVector(VT_UI1, 0, static_cast<ULONG>(bytes.size()));
    if (array == nullptr)
        throw std::bad_alloc();
    source.get().vt = VT_ARRAY | VT_UI1;
    source.get().parray = array;
    if (!bytes.empty()) {
        void* data = nullptr;
        gui::ThrowIfFailed(::SafeArrayAccessData(array, &data));
        std::memcpy(data, bytes.data(), bytes.size());
        ::SafeArrayUnaccessData(array);
    }
    // A byte array rather than a stream: the library then detects the encoding from the
    // byte-order mark or declaration, and (under Wine) reads large files in linear time.
    VARIANT_BOOL loaded = VARIANT_FALSE;
    HRESULT hr = FDocument->load(source.get(), &loaded);
    ComPtr<IXMLDOMElement> root;
    if (SUCCEEDED(hr) && loaded == VARIANT_TRUE)
        FDocument->get_documentElement(&root);
    if (!root) {
        std::wstring detail(messages::kNotWellFormed);
        ComPtr<IXMLDOMParseError> error;
        if (SUCCEEDED(FDocument->get_parseError(&error)) && error) {
            gui::unique_bstr reason;
            long line = 0, position = 0;
            error->get_reason(reason.put());
            error->get_line(&line);
            error->get_linepos(&position);
            detail += TrimLineEnds(EmptyIfNull(reason));
            if (line > 0)
                detail +=
                    FormatText(messages::kParsePosition, {std::to_wstring(line), std::to_wstring(position)});
        }
        throw EXMLDocError(FormatText(messages::kCannotLoadFile, {FFileName, detail}));
    }
    FRootNode = root;
}

void TXMLRegFile::CreateEmptyDocument() {
    ComPtr<IXMLDOMProcessingInstruction> declaration;
    gui::ThrowIfFailed(FDocument->createProcessingInstruction(
        MakeBstr(L"xml").get(), MakeBstr(L"version=\"1.0\"").get(), &declaration));
    ComPtr<IXMLDOMNode> appended;
    gui::ThrowIfFailed(FDocument->appendChild(declaration.Get(), &appended));

    std::wstring rootName = RootNameFor(FFileName);
    if (!IsValidElementName(rootName))
        throw EXMLDocError(FormatText(messages::kInvalidElementName, {rootName}));
    gui::ThrowIfFailed(FDocument->createElement(MakeBstr(rootName).get(), &FRootNode));
    gui::ThrowIfFailed(FDocument->appendChild(FRootNode.Get(), &appended));
}

void TXMLRegFile::UpdateFile() {
    std::string bytes = LayOutDocument(FRootNode.Get());
    // A file the store would refuse to read is not written: the last one stays.
    if (bytes.size() > kMaxFileSize || MarkupCount(bytes) > kMaxMarkup)
        throw EFCreateError(FormatText(messages::kCannotCreateFile, {FFileName, messages::kContentTooLarge}));
    ReplaceWholeFile(FFileName, bytes);
}

void TXMLRegFile::Flush() {
    if (!FModified || FFileName.empty())
        return;
    UpdateFile();
    FModified = false;
}

ComPtr<IXMLDOMNode> TXMLRegFile::FollowPath(const std::wstring& Path, bool CanCreate) {
    std::wstring_view rest = Path;
    ComPtr<IXMLDOMNode> node;
    if (!rest.empty() && rest.front() == L'\\') {
        node = FRootNode;
        rest.remove_prefix(1);
    } else {
        node = FCurrentNode;
    }
    if (!node || rest.empty())
        return node;

    // Nodes made on the way are taken away again when a later segment fails; the first
    // one made holds all the others.
    ComPtr<IXMLDOMNode> firstCreated, firstCreatedParent;
    auto fail = [&]() -> ComPtr<IXMLDOMNode> {
        if (firstCreated)
            RemoveChildNode(firstCreatedParent.Get(), firstCreated.Get());
        return nullptr;
    };
    int depth = 0; // of node, counted only when nodes may be created
    if (CanCreate)
        for (ComPtr<IXMLDOMNode> up = node; up && NodeType(up.Get()) == NODE_ELEMENT;
             up = ParentNode(up.Get()))
            ++depth;
    for (;;) {
        size_t end = rest.find(L'\\');
        std::wstring_view segment = rest.substr(0, end);
        if (segment.empty())
            return fail();
        if (segment == L"..") {
            ComPtr<IXMLDOMNode> parent = ParentNode(node.Get());
            if (!parent || NodeType(parent.Get()) != NODE_ELEMENT)
                return fail();
            node = parent;
            --depth;
        } else {
            ComPtr<IXMLDOMNode> child = FirstChildElement(node.Get(), segment);
            if (!child) {
                if (!CanCreate || depth >= kMaxDepth || !IsValidElementName(segment))
                    return fail();
                ComPtr<IXMLDOMElement> element;
                gui::ThrowIfFailed(FDocument->createElement(MakeBstr(segment).get(), &element));
                gui::ThrowIfFailed(node->appendChild(element.Get(), &child));
                if (!firstCreated) {
                    firstCreated = child;
                    firstCreatedParent = node;
                }
            }
            node = child;
            ++depth;
        }
        if (end == std::wstring_view::npos)
            return node;
        rest.remove_prefix(end + 1);
    }
}

bool TXMLRegFile::AppendNode(const std::wstring& Name) {
    IXMLDOMNode* current = RequireCurrentNode();
    int depth = 0;
    for (ComPtr<IXMLDOMNode> up = current; up && NodeType(up.Get()) == NODE_ELEMENT;
         up = ParentNode(up.Get()))
        ++depth;
    if (depth >= kMaxDepth || !IsValidElementName(Name))
        return false;
    ComPtr<IXMLDOMElement> element;
    gui::ThrowIfFailed(FDocument->createElement(MakeBstr(Name).get(), &element));
    ComPtr<IXMLDOMNode> child;
    gui::ThrowIfFailed(current->appendChild(element.Get(), &child));
    FCurrentNode = child;
    FModified = true;
    return true;
}

void TXMLRegFile::ForEachSubNode(const std::function<void(const std::wstring& Name)>& Visit) {
    ComPtr<IXMLDOMNode> parent(RequireCurrentNode());
    try {
        for (ComPtr<IXMLDOMNode> child = FirstChildElement(parent.Get()); child;
             child = NextSiblingElement(child.Get())) {
            if (ReadContent(child.Get()).IsValue())
                continue;
            FCurrentNode = child;
            Visit(NodeName(child.Get()));
        }
    } catch (...) {
        FCurrentNode = parent;
        throw;
    }
    FCurrentNode = parent;
}

bool TXMLRegFile::OpenNode(const std::wstring& Path, bool CanCreate) {
    ComPtr<IXMLDOMNode> node = FollowPath(Path, CanCreate);
    if (!node)
        return false;
    FCurrentNode = node;
    return true;
}

void TXMLRegFile::CloseNode() {
    FCurrentNode = FRootNode;
}

void TXMLRegFile::CloseNodeOneLevel() {
    if (!FCurrentNode)
        return;
    ComPtr<IXMLDOMNode> parent = ParentNode(FCurrentNode.Get());
    if (parent && NodeType(parent.Get()) == NODE_ELEMENT)
        FCurrentNode = parent;
}

bool TXMLRegFile::NodeExists(const std::wstring& Path) {
    return FollowPath(Path, false) != nullptr;
}

bool TXMLRegFile::CreateNode(const std::wstring& Path) {
    FModified = true;
    return FollowPath(Path, true) != nullptr;
}

IXMLDOMNode* TXMLRegFile::RequireCurrentNode() const {
    if (!FCurrentNode)
        throw EXMLDocError(std::wstring(messages::kNoCurrentNode));
    return FCurrentNode.Get();
}

bool TXMLRegFile::ValueExists(const std::wstring& Name) const {
    return FirstChildElement(RequireCurrentNode(), Name) != nullptr;
}

bool TXMLRegFile::HasSubNodes() const {
    for (ComPtr<IXMLDOMNode> child = FirstChildElement(RequireCurrentNode()); child;
         child = NextSiblingElement(child.Get()))
        if (!ReadContent(child.Get()).IsValue())
            return true;
    return false;
}

void TXMLRegFile::GetNodeNames(std::vector<std::wstring>& Strings) const {
    for (ComPtr<IXMLDOMNode> child = FirstChildElement(RequireCurrentNode()); child;
         child = NextSiblingElement(child.Get()))
        if (!ReadContent(child.Get()).IsValue())
            Strings.push_back(NodeName(child.Get()));
}

void TXMLRegFile::GetValueNames(std::vector<std::wstring>& Strings) const {
    for (ComPtr<IXMLDOMNode> child = FirstChildElement(RequireCurrentNode()); child;
         child = NextSiblingElement(child.Get()))
        if (ReadContent(child.Get()).IsValue())
            Strings.push_back(NodeName(child.Get()));
}

bool TXMLRegFile::DeleteNode(const std::wstring& Path) {
    size_t cut = Path.rfind(L'\\');
    std::wstring parentPath = cut == std::wstring::npos ? std::wstring()
                              : cut == 0                ? std::wstring(L"\\")
                                                        : Path.substr(0, cut);
    std::wstring name = cut == std::wstring::npos ? Path : Path.substr(cut + 1);
    if (name.empty())
        return false;
    ComPtr<IXMLDOMNode> parent = FollowPath(parentPath, false);
    if (!parent)
        return false;
    ComPtr<IXMLDOMNode> child = FirstChildElement(parent.Get(), name);
    if (!child)
        return false;
    RemoveChildNode(parent.Get(), child.Get());
    FModified = true;

    // A current node that went with the removed subtree is no longer in the document;
    // working on it would lose every later write, so there is no current node then.
    for (ComPtr<IXMLDOMNode> node = FCurrentNode; node;) {
        ComPtr<IXMLDOMNode> up = ParentNode(node.Get());
        if (!up) {
            FCurrentNode = nullptr;
            break;
        }
        if (NodeType(up.Get()) == NODE_DOCUMENT)
            break;
        node = up;
    }
    return true;
}

bool TXMLRegFile::DeleteValue(const std::wstring& Name) {
    IXMLDOMNode* current = RequireCurrentNode();
    ComPtr<IXMLDOMNode> child = FirstChildElement(current, Name);
    if (!child)
        return false;
    RemoveChildNode(current, child.Get());
    FModified = true;
    return true;
}

void TXMLRegFile::ClearNodes() {
    IXMLDOMNode* current = RequireCurrentNode();
    std::vector<ComPtr<IXMLDOMNode>> nodes;
    for (ComPtr<IXMLDOMNode> child = FirstChildElement(current); child;
         child = NextSiblingElement(child.Get()))
        if (!ReadContent(child.Get()).IsValue())
            nodes.push_back(child);
    for (const auto& node : nodes)
        RemoveChildNode(current, node.Get());
    FModified = true;
}

void TXMLRegFile::ClearValues() {
    IXMLDOMNode* current = RequireCurrentNode();
    std::vector<ComPtr<IXMLDOMNode>> values;
    for (ComPtr<IXMLDOMNode> child = FirstChildElement(current); child;
         child = NextSiblingElement(child.Get()))
        if (ReadContent(child.Get()).IsValue())
            values.push_back(child);
    for (const auto& value : values)
        RemoveChildNode(current, value.Get());
    FModified = true;
}

bool TXMLRegFile::FindText(const std::wstring& Name, std::wstring& Text) const {
    ComPtr<IXMLDOMNode> child = FirstChildElement(RequireCurrentNode(), Name);
    if (!child)
        return false;
    ElementContent content = ReadContent(child.Get());
    if (content.hasElements)
        throw EXMLDocError(FormatText(messages::kNotSingleTextNode, {Name}));
    Text = std::move(content.text);
    return true;
}

std::wstring TXMLRegFile::RequireText(const std::wstring& Name) const {
    std::wstring text;
    if (!FindText(Name, text))
        throw EXMLDocError(FormatText(messages::kNodeNotFound, {Name}));
    return text;
}

void TXMLRegFile::WriteString(const std::wstring& Name, const std::wstring& Value) {
    IXMLDOMNode* current = RequireCurrentNode();
    if (!IsXmlText(Value))
        throw EXMLDocError(FormatText(messages::kInvalidCharacter, {Name}));
    ComPtr<IXMLDOMNode> child = FirstChildElement(current, Name);
    if (child) {
        if (ReadContent(child.Get()).hasElements)
            throw EXMLDocError(FormatText(messages::kNotSingleTextNode, {Name}));
        SetElementText(FDocument.Get(), child.Get(), Value);
    } else {
        if (!IsValidElementName(Name))
            throw EXMLDocError(FormatText(messages::kInvalidElementName, {Name}));
        ComPtr<IXMLDOMElement> element;
        gui::ThrowIfFailed(FDocument->createElement(MakeBstr(Name).get(), &element));
        SetElementText(FDocument.Get(), element.Get(), Value);
        gui::ThrowIfFailed(current->appendChild(element.Get(), &child));
    }
    FModified = true;
}

std::wstring TXMLRegFile::ReadString(const std::wstring& Name) const {
    return RequireText(Name);
}

std::wstring TXMLRegFile::ReadStrDef(const std::wstring& Name, const std::wstring& Default) const {
    std::wstring text;
    return FindText(Name, text) ? text : Default;
}

namespace {

int32_t ToInteger(const std::wstring& text) {
    std::optional<int32_t> value = TextToInteger(text);
    if (!value)
        throw EConvertError(FormatText(messages::kNotInteger, {text}));
    return *value;
}

uint32_t ToCardinal(const std::wstring& text) {
    std::optional<uint32_t> value = TextToCardinal(text);
    if (!value)
        throw EConvertError(FormatText(messages::kNotInteger, {text}));
    return *value;
}

double ToFloat(const std::wstring& text) {
    std::optional<double> value = TextToFloat(text, UserDecimalSeparator());
    if (!value)
        throw EConvertError(FormatText(messages::kNotFloat, {text}));
    return *value;
}

bool ToBool(const std::wstring& text) {
    std::optional<bool> value = TextToBool(text, UserDecimalSeparator());
    if (!value)
        throw EConvertError(FormatText(messages::kNotBoolean, {text}));
    return *value;
}

} // namespace

int32_t TXMLRegFile::ReadInteger(const std::wstring& Name) const {
    return ToInteger(RequireText(Name));
}

int32_t TXMLRegFile::ReadIntDef(const std::wstring& Name, int32_t Default) const {
    std::wstring text;
    return FindText(Name, text) ? ToInteger(text) : Default;
}

void TXMLRegFile::WriteInteger(const std::wstring& Name, int32_t Value) {
    WriteString(Name, IntegerToText(Value));
}

uint32_t TXMLRegFile::ReadCardinal(const std::wstring& Name) const {
    return ToCardinal(RequireText(Name));
}

uint32_t TXMLRegFile::ReadUIntDef(const std::wstring& Name, uint32_t Default) const {
    std::wstring text;
    return FindText(Name, text) ? ToCardinal(text) : Default;
}

void TXMLRegFile::WriteCardinal(const std::wstring& Name, uint32_t Value) {
    WriteString(Name, CardinalToText(Value));
}

double TXMLRegFile::ReadFloat(const std::wstring& Name) const {
    return ToFloat(RequireText(Name));
}

double TXMLRegFile::ReadFltDef(const std::wstring& Name, double Default) const {
    std::wstring text;
    return FindText(Name, text) ? ToFloat(text) : Default;
}

void TXMLRegFile::WriteFloat(const std::wstring& Name, double Value) {
    WriteString(Name, FloatToText(Value, UserDecimalSeparator()));
}

bool TXMLRegFile::ReadBool(const std::wstring& Name) const {
    return ToBool(RequireText(Name));
}

bool TXMLRegFile::ReadBoolDef(const std::wstring& Name, bool Default) const {
    std::wstring text;
    return FindText(Name, text) ? ToBool(text) : Default;
}

void TXMLRegFile::WriteBool(const std::wstring& Name, bool Value) {
    WriteString(Name, BoolToText(Value));
}

} // namespace appdata
