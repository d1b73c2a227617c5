#pragma once
// The saved state in the data file: one table of keys and their defaults, read and
// written by these functions over a TXMLRegFile. Each node is walked once, so large
// files cost what they hold.
#include "app/ChangeParts.h"
#include "app/SavedState.h"

#include <cstdint>
#include <exception>
#include <optional>
#include <string>
#include <vector>

namespace appdata {
class TXMLRegFile;
}

namespace app {

// A file that does not exist: every value at its default, no frame.
TSavedState DefaultSavedState();
// A frame or root node that holds no values.
TFrameState DefaultFrameState(int32_t id);
TRootState DefaultRootState();

// Reads the whole state. Missing nodes and values give their defaults; so does a value
// that does not parse, and a frame node whose name gives no id, or an id met before, is
// left out. The first such error goes to firstError (unless it holds one already);
// everything else is read all the same.
TSavedState ReadSavedState(appdata::TXMLRegFile& file, std::exception_ptr& firstError);

// Writes the parts of state into file: the configuration's values with cpConfig, the
// window's place with cpForm, and with cpFrame or cpTree "ActiveFrame" and every frame
// node afresh (every other node below \Snapshot goes). Values and nodes of parts not
// written stay as the file has them. An entry of "Expands", or a "Selected", whose text
// XML cannot hold is left out alone, and a root whose "Path" it cannot hold is left out
// with its values (the roots after it numbered on without a gap): their texts are
// appended to leftOut. Writes nothing to disk; the caller writes the file.
void WriteSavedState(appdata::TXMLRegFile& file, const TSavedState& state, TChangeParts parts,
                     std::vector<std::wstring>& leftOut);

// Copies the values of from that belong to parts into to (the configuration with
// cpConfig, the window's place with cpForm, "ActiveFrame" with cpFrame or cpTree).
void CopySettings(const TSettings& from, TSettings& to, TChangeParts parts);

// The id in a frame node's name ("Id.12" gives 12): the text from the fourth character
// on, at most 260 characters, as a decimal integer; nothing when it is none.
std::optional<int32_t> FrameIdOfNodeName(const std::wstring& name);
std::wstring FrameNodeName(int32_t id);

} // namespace app
