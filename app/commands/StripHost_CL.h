#pragma once
// What the strip's commands need of the main window beyond CommandHost_CL: the strip's
// selection, the rebuild for a new interval, a repaint of its labels and the modal flag while
// the favourite's name is asked for. The main window implements it.
// Thread: UI for every call.

#include <cstdint>

class StripHost_CL {
public:
    virtual ~StripHost_CL() = default;

    // The selected cells of the strip, first <= last; false when it has none (no cells yet).
    virtual bool StripSelection(int* first, int* last) const = 0;
    // The strip is rebuilt for a new interval without reloading the movie: its worker stops
    // (code 1) and the cells are asked for again when it has.
    virtual void RebuildStrip(int64_t interval) = 0;
    // The labels of favourites and skip ranges changed: the strip paints again.
    virtual void RepaintStrip() = 0;
    virtual void SetModalDialogOpen(bool open) = 0;
};
