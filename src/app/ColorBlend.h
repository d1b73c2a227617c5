#pragma once
// The colour an instance shows next to its neighbour in the chain.
#include "gui/Color.h"

namespace app {

// The marker for "no neighbour colour known".
constexpr gui::TColor NoBlendColor = 0x1FFFFFFF;

// The base colour, shifted when the neighbour's colour is close to it in every channel
// (within 32): each channel becomes (base + neighbour) mod 256, moved by a further 64
// when that is still close to the base. Without a neighbour colour: the base colour.
gui::TColor BlendedColor(gui::TColor base, gui::TColor neighbour);

} // namespace app
