#pragma once
// The parts of the state the data file holds, and the layouts of the edge window.
#include "gui/EnumSet.h"

#include <cstdint>

namespace app {

enum TChangePart : std::uint8_t { cpConfig = 0, cpForm = 1, cpFrame = 2, cpTree = 3 };
// A one-byte set: bits beyond the byte cannot be held and are ignored.
using TChangeParts = gui::EnumSet<TChangePart, std::uint8_t>;
constexpr TChangeParts AllChangeParts{cpConfig, cpForm, cpFrame, cpTree};

enum TLayout : std::uint8_t { loNone = 0, loCollapsed = 1, loExpanded = 2, loPinned = 3 };

} // namespace app
