#pragma once
// The frame's menu of tree display styles.
#include "shellctrls/TreeStyles.h"

namespace nav {

struct StyleMenuEntry {
    shellctrls::TNamespaceTreeControlStyle style;
    const wchar_t* caption;
};

// The items of the menu, in order.
inline constexpr StyleMenuEntry kStyleMenu[] = {
    {shellctrls::nstcsHasLines, L"親子をつなぐ線を表示"},
    {shellctrls::nstcsFullRowSelect, L"行全体を強調表示"},
    {shellctrls::nstcsSpringExpand, L"選択解除された項目を折りたたむ"},
    {shellctrls::nstcsHorizontalScroll, L"水平スクロールバーを使用"},
    {shellctrls::nstcsShowSelectionAlways, L"常に選択表示"},
    {shellctrls::nstcsNoEditLabels, L"項目名の編集禁止"},
    {shellctrls::nstcsAutoHScroll, L"自動的に水平スクロール"},
    {shellctrls::nstcsFadeInOutExpandos, L"展開ボタンの表示を自動的に切り替える"},
};

// The styles after an item was switched on or off: lines and full-row selection
// exclude each other, so switching one on takes the other off.
shellctrls::TNamespaceTreeControlStyles ToggleStyle(shellctrls::TNamespaceTreeControlStyles styles,
                                                    shellctrls::TNamespaceTreeControlStyle style, bool checked);

} // namespace nav
