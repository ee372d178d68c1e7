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
//   lays its text out (a label that wraps: than its longest word);
// - list columns wider than their list, or a column header wider than its column.
std::vector<std::string> LayoutFaults(const wxWindow& window, const SharedRectangles& shared = {},
                                      const Overlays& overlays = {});

// The faults one to a line, for a test's failure message.
std::string FaultList(const std::vector<std::string>& faults);
