#pragma once
// The file list of a drop (CF_HDROP), read without the platform's fixed-size buffers
// and without trusting the data object's word about its layout.
#include <windows.h>
#include <objidl.h>

#include <optional>
#include <string>
#include <vector>

namespace oledrag {

// The names in a CF_HDROP block (a DROPFILES header, then nul-terminated names, wide or
// ANSI, ending with an empty name), each at full length, in order. Nothing is read
// beyond the block: a name that is not terminated inside it is left out. Nullopt when
// the header itself does not fit or points outside the block.
std::optional<std::vector<std::wstring>> ParseDropFiles(const void* block, size_t size);

// The file names a data object offers as CF_HDROP in global memory; nullopt when it
// offers no such list. Whatever medium the data object hands out is released exactly
// once, on every path.
std::optional<std::vector<std::wstring>> DroppedFileNames(IDataObject* data);

// The effect to answer for a drop that only refers to the dropped items: link if the
// source allows it, else copy, else none. Never move, which would tell the source to
// delete its items afterwards.
DWORD ReferenceDropEffect(DWORD offered);

} // namespace oledrag
