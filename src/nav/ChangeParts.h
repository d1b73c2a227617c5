#pragma once
// The parts of the state the data file holds; frames report their changes by them.
#include "gui/EnumSet.h"

#include <cstdint>

namespace nav {

enum TChangePart : std::uint8_t { cpConfig = 0, cpForm = 1, cpFrame = 2, cpTree = 3 };
// A one-byte set: bits beyond the byte cannot be held and are ignored.
using TChangeParts = gui::EnumSet<TChangePart, std::uint8_t>;
constexpr TChangeParts AllChangeParts{cpConfig, cpForm, cpFrame, cpTree};

} // namespace nav
