// The output pane: a borderless window holding one read-only, scrolling
// text box. It exists only while it shows text.
#pragma once

#include <string>

#include "platform/colour.h"
#include "platform/geometry.h"

namespace vantrel {

struct PaneView {
    std::string text;  // lines joined by CR LF
    Rect bounds;       // screen pixels
    Colour textColour = 0;
    Colour bgColour = 0;
    int dpi = 96;  // the scale of the monitor the pane opens on
};

class OutputPane {
  public:
    virtual ~OutputPane() = default;

    // The text shown, "" while the pane is closed.
    virtual std::string Text() const = 0;
    // Destroys the pane with its text; nothing happens when it is closed.
    virtual void Close() = 0;
    // Opens the pane when closed, then shows the view with the caret after
    // the end of the text and gives the keyboard focus back to the bar.
    virtual void Show(const PaneView& view) = 0;
};

}  // namespace vantrel
