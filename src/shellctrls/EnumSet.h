#pragma once
// The tree's sets are the library's enumeration sets (bit n for ordinal n).
#include "gui/EnumSet.h"

namespace shellctrls {

using gui::EnumSet;

} // namespace shellctrls
