#pragma once
// The parts of the state the data file holds, and the layouts of the edge window.
#include "nav/ChangeParts.h"

#include <cstdint>

namespace app {

using nav::AllChangeParts;
using nav::cpConfig;
using nav::cpForm;
using nav::cpFrame;
using nav::cpTree;
using nav::TChangePart;
using nav::TChangeParts;

enum TLayout : std::uint8_t { loNone = 0, loCollapsed = 1, loExpanded = 2, loPinned = 3 };

} // namespace app
