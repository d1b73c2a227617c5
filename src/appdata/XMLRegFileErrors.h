#pragma once
// The exceptions of the XML key-value store and their user-facing texts. The texts are
// those the user sees in the application's error box, so they stay in Japanese.
#include "gui/Error.h"

#include <initializer_list>
#include <string>
#include <string_view>

namespace appdata {

// Reading the document: missing nodes, malformed or refused files, bad names.
class EXMLDocError : public gui::UserError {
public:
    using UserError::UserError;
};

// A stored text that does not parse as the type asked for.
class EConvertError : public gui::UserError {
public:
    using UserError::UserError;
};

// The data file cannot be opened for reading.
class EFOpenError : public gui::UserError {
public:
    using UserError::UserError;
};

// The data file cannot be created or written.
class EFCreateError : public gui::UserError {
public:
    using UserError::UserError;
};

namespace messages {
inline constexpr std::wstring_view kNodeNotFound = L"ノード \"%s\" が見つかりません";
inline constexpr std::wstring_view kNotSingleTextNode =
    L"要素 \"%s\" に単一のテキスト ノードが含まれていません";
inline constexpr std::wstring_view kNotInteger = L"'%s' は整数ではありません";
inline constexpr std::wstring_view kNotFloat = L"'%s' は浮動小数点数ではありません";
inline constexpr std::wstring_view kNotBoolean = L"'%s' は正しい論理型ではありません";
inline constexpr std::wstring_view kCannotCreateFile = L"ファイル \"%s\" を作成できません。%s";
inline constexpr std::wstring_view kCannotOpenFile = L"ファイル \"%s\" を開けません。%s";
// A file that is there but is not taken: the second placeholder gives the reason.
inline constexpr std::wstring_view kCannotLoadFile = L"ファイル \"%s\" を読み込めません。%s";
inline constexpr std::wstring_view kNotWellFormed = L"正しい XML 文書ではありません。";
inline constexpr std::wstring_view kParsePosition = L"(%s 行目 %s 文字目)";
inline constexpr std::wstring_view kDocumentTypeRefused =
    L"文書型宣言 (DOCTYPE) を含む文書は受け付けません。";
inline constexpr std::wstring_view kFileTooLarge = L"ファイルが大きすぎます (上限 %s バイト)。";
inline constexpr std::wstring_view kTooMuchMarkup = L"要素が多すぎます (上限 %s 個)。";
// A document that would be too large to be read back is not written.
inline constexpr std::wstring_view kContentTooLarge =
    L"保存する内容が読み込める大きさを超えるため、前のファイルをそのまま残しました。";
inline constexpr std::wstring_view kInvalidElementName = L"\"%s\" は要素名として使えません";
inline constexpr std::wstring_view kInvalidCharacter =
    L"要素 \"%s\" の値に XML で表せない文字が含まれています";
inline constexpr std::wstring_view kNoCurrentNode = L"現在のノードがありません";
} // namespace messages

// The pattern with each "%s" replaced by the next argument, in order; the arguments
// are inserted as they are, so a "%" inside them is never read as a placeholder.
std::wstring FormatText(std::wstring_view pattern, std::initializer_list<std::wstring_view> arguments);

} // namespace appdata
