#pragma once
// What a save writes: the window's state and the file's merged by part, as the keep
// modes and the record of changes say. A pure function over plain values.
#include "app/ChangeParts.h"
#include "app/SavedState.h"

namespace app {

struct TSaveInput {
    // What the window has now. Its tree values count only when the trees are written.
    const TSavedState& window;
    // What the file holds now; null when it cannot be read whole (it fails to parse, or
    // holds values or frames that could not be read).
    const TSavedState* file = nullptr;
    // What the file was last known to hold: as loaded at start, or as last saved.
    const TSavedState& lastKnown;
    // The parts asked for: Maintains at the end of the program, every part whose keep
    // mode is not "保存しない" (and the configuration) after the options dialog's OK.
    TChangeParts parts;
    // The parts changed since the last load or save (all of them after OK).
    TChangeParts modifies;
};

struct TSavePlan {
    // The parts taken from the window; none means the file is not touched.
    TChangeParts write;
    // The file cannot be read: it is kept beside, and a new file takes its place with
    // every part (those not written from the window as last known).
    bool newDocument = false;
    // What the file is to hold.
    TSavedState state;
};

// The parts asked for and changed are taken from the window; every other part is what
// the file holds (or, when it cannot be read, what it last held). Tree values go only
// with their frame (same id) and their root (same index, same designation):
//  - frames written without the trees keep, for each root, the tree values that the
//    file has for it;
//  - trees written without the frames go to the file's frames and roots that match;
//    a frame or root the file does not have gets none (a root node without its path
//    would load as the desktop);
//  - a frame whose start-up restore is pending keeps what the file remembers of its
//    tree, together with what it shows.
TSavePlan PlanSave(const TSaveInput& input);

} // namespace app
