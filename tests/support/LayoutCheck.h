// What a user sees of a window's layout: controls lying over each other, and controls or texts
// cut off. The sizes a control needs are GTK's own, not worked out again here.
#pragma once

#include <string>
#include <utility>
#include <vector>

class wxWindow;

// Controls that share one rectangle by design (two views of which one is shown at a time).
using SharedRectangles = std::vector<std::pair<const wxWindow*, const wxWindow*>>;

// Windows that lie over their siblings by design (a size grip in the corner).
using Overlays = std::vector<const wxWindow*>;

// One line per fault in the window and the panels in it:
// - a shown control that reaches past its parent's edge;
// - two shown sibling controls that overlap (group boxes and lines frame and part others and are
//   left out);
// - a label, button, check box, radio button, choice, combo box, text field or spin control
//   lower than GTK's minimum height for its width, which holds its text;
// - a text GTK cuts: a label, button, check box, radio button or group title narrower than GTK
//   lays its text out (a label that wraps: than its longest word), unless GTK shortens the label
//   with an ellipsis and its tip holds the whole text;
// - a one-line field that takes a limited number of certain characters (digits, say) with less
//   room for its text than the longest text it accepts needs;
// - a list column narrower than its heading or one of its entries; columns wider than their list
//   while one of them is wider than its texts (the list may scroll sideways only to show them);
// - two shown sibling controls less than 2 px apart;
// - a one-line label whose vertical centre lies more than 2 px from the centre of the field
//   beside it (to its right, in the same row);
// - a window narrower than its title's text and the room the title bar's buttons take.
std::vector<std::string> LayoutFaults(const wxWindow& window, const SharedRectangles& shared = {},
                                      const Overlays& overlays = {});

// The faults one to a line, for a test's failure message.
std::string FaultList(const std::vector<std::string>& faults);
