#pragma once
// TXMLRegFile: a registry-like store kept in one XML file. Nodes are elements (like
// registry keys); values are child elements holding only text (like registry values).
//
// An object reads the whole file when it is created and writes it back whole when it
// goes, but only if something was changed. Use it briefly, as a local:
//
//     appdata::TXMLRegFile reg(DataFileName);
//     if (reg.OpenNode(L"\\Configuration", true)) width = reg.ReadIntDef(L"ExpandWidth", 300);
//
// Paths are segments separated by "\": absolute when they begin with "\" (from the
// root element), else relative to the current node; ".." is the parent, and an empty
// segment ("\A\", "\A\\B") never matches. When several children share a name the
// first counts. Names compare exactly. Value and listing operations need a current
// node (a successful OpenNode or CloseNode first) and raise EXMLDocError without one.
//
// Errors are gui::UserError subclasses with Japanese texts (XMLRegFileErrors.h):
// EXMLDocError for a missing value, a node read as a value or a refused file;
// EConvertError for a text that is not of the type read; EFOpenError and EFCreateError
// for the file. The document library's own failures come as gui::HResultError.
#include "appdata/MsXml.h"

#include <wrl/client.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace appdata {

class TXMLRegFile {
public:
    // Reads FileName if it exists (raising for a file that is not well-formed, is
    // refused, or cannot be read); otherwise starts a document whose root element is
    // named after the file's name without its last extension. Nothing is written now.
    explicit TXMLRegFile(std::wstring FileName);
    // A new document for FileName whatever the file holds now, which is not read (one
    // that cannot be read is replaced whole when this document is written).
    struct TNewDocument {};
    TXMLRegFile(std::wstring FileName, TNewDocument);
    // Calls UpdateFile when the document was modified and FileName is not empty; its
    // error reaches the caller. While an exception unwinds the stack the document is
    // dropped unwritten (it may be half done) and nothing is raised.
    ~TXMLRegFile() noexcept(false);
    TXMLRegFile(const TXMLRegFile&) = delete;
    TXMLRegFile& operator=(const TXMLRegFile&) = delete;

    const std::wstring& FileName() const noexcept { return FFileName; }
    void SetFileName(std::wstring FileName) { FFileName = std::move(FileName); }
    IXMLDOMElement* RootNode() const noexcept { return FRootNode.Get(); }
    // Null before the first successful OpenNode or CloseNode.
    IXMLDOMNode* CurrentNode() const noexcept { return FCurrentNode.Get(); }
    bool Modified() const noexcept { return FModified; }

    // Writes the whole document to FileName: replaced in one step through a temporary
    // file beside it, so a failure leaves the old file as it was. Modified stays set.
    void UpdateFile();
    // UpdateFile if the document was modified, then Modified is cleared so that the
    // object's end writes nothing more. For an object whose end must not raise (one held
    // by a std::unique_ptr, whose end would stop the program on an error): the error of
    // writing comes here instead.
    void Flush();

    // Makes the node at Path current; with CanCreate, missing nodes on the way are
    // appended. False, current node unchanged, when the path cannot be followed.
    // Never sets Modified: created nodes reach the file only with another change.
    bool OpenNode(const std::wstring& Path, bool CanCreate);
    void CloseNode();         // the root element becomes current
    void CloseNodeOneLevel(); // the parent becomes current (the root stays)
    bool NodeExists(const std::wstring& Path);
    // OpenNode with CanCreate, the current node kept; sets Modified in any case.
    bool CreateNode(const std::wstring& Path);
    // Appends a new node Name to the current node, whatever nodes of that name it has,
    // and makes it current: a node written afresh costs no search among its siblings.
    // False, current node unchanged, for a name no element can have or a node that
    // would lie deeper than kMaxDepth. Sets Modified when the node is made.
    bool AppendNode(const std::wstring& Name);
    // Makes each child of the current node that is a node current in turn, in document
    // order, and calls Visit with its name; afterwards the current node is the one it
    // was. Visit may move the current node (it starts at the child each time) and may
    // write, but must not remove the children being walked. Each node is met once, so
    // a walk over many siblings costs no more than the siblings.
    void ForEachSubNode(const std::function<void(const std::wstring& Name)>& Visit);

    // Whether the current node has a child element Name (a value or a node).
    bool ValueExists(const std::wstring& Name) const;
    bool HasSubNodes() const;
    // Append (the list is not cleared) the names of the current node's children that
    // are nodes (elements with child elements, or empty) or values, in document order.
    void GetNodeNames(std::vector<std::wstring>& Strings) const;
    void GetValueNames(std::vector<std::wstring>& Strings) const;

    // Removes the first child named by Path's last segment from the node the rest
    // names; the current node is kept (and becomes null if it was removed with it).
    bool DeleteNode(const std::wstring& Path);
    bool DeleteValue(const std::wstring& Name); // the first child Name, node or value
    void ClearNodes();                          // keeps the values; sets Modified
    void ClearValues();                         // keeps the nodes; sets Modified

    // Typed values of the current node. ReadXxx raises EXMLDocError when Name is
    // missing; the Def forms answer Default then. A text that does not parse raises
    // EConvertError from every reader. Writers replace the first child Name's text or
    // append a new child, and set Modified.
    std::wstring ReadString(const std::wstring& Name) const;
    std::wstring ReadStrDef(const std::wstring& Name, const std::wstring& Default) const;
    void WriteString(const std::wstring& Name, const std::wstring& Value);

    int32_t ReadInteger(const std::wstring& Name) const;
    int32_t ReadIntDef(const std::wstring& Name, int32_t Default) const;
    void WriteInteger(const std::wstring& Name, int32_t Value);

    uint32_t ReadCardinal(const std::wstring& Name) const;
    uint32_t ReadUIntDef(const std::wstring& Name, uint32_t Default) const;
    void WriteCardinal(const std::wstring& Name, uint32_t Value);

    // The decimal separator is the one of the user's locale settings.
    double ReadFloat(const std::wstring& Name) const;
    double ReadFltDef(const std::wstring& Name, double Default) const;
    void WriteFloat(const std::wstring& Name, double Value);

    // Written "-1" and "0"; read from any number or "True"/"False" in any case.
    bool ReadBool(const std::wstring& Name) const;
    bool ReadBoolDef(const std::wstring& Name, bool Default) const;
    void WriteBool(const std::wstring& Name, bool Value);

    // Files larger than this are refused unread, and so are files with more markup
    // characters ("<" and "=", which begin elements, comments and attributes) than
    // kMaxMarkup: the parser's memory and time grow with both (under Wine some 5 bytes
    // of memory per byte of text, 200 bytes and 0.5 µs per element), and what the
    // program writes is far smaller (a frame of 100 roots with 30 expanded items each,
    // stored as the lists hold them, is some 10 MB; 10,000 roots are some 100,000
    // markup characters). A document that would exceed either is never written, so
    // every file the store writes can be read back.
    static constexpr uint64_t kMaxFileSize = 256u * 1024 * 1024;
    static constexpr uint64_t kMaxMarkup = 2u * 1024 * 1024;
    // Nodes are not created deeper than this (the root element is level 1): the parser
    // refuses documents nested more than 256 levels, so a deeper file could never be
    // read back.
    static constexpr int kMaxDepth = 200;

private:
    TXMLRegFile(std::wstring FileName, TNewDocument, bool readFile);
    void Load(const std::string& bytes);
    void CreateEmptyDocument();
    Microsoft::WRL::ComPtr<IXMLDOMNode> FollowPath(const std::wstring& Path, bool CanCreate);
    IXMLDOMNode* RequireCurrentNode() const;
    // The text of the value Name; false when there is no child Name.
    bool FindText(const std::wstring& Name, std::wstring& Text) const;
    std::wstring RequireText(const std::wstring& Name) const;

    std::wstring FFileName;
    Microsoft::WRL::ComPtr<IXMLDOMDocument2> FDocument;
    Microsoft::WRL::ComPtr<IXMLDOMElement> FRootNode;
    Microsoft::WRL::ComPtr<IXMLDOMNode> FCurrentNode;
    bool FModified = false;
    int FUncaughtAtCreation;
};

} // namespace appdata
