// What a gadget of the program's windows is and where it stands, in pixels at 96 dpi, and
// the order in which a window's gadgets are made. Window-free.
#pragma once

#include <cstddef>
#include <span>
#include <vector>

namespace quarnel {

enum class GadgetKind {
    Label,        // static text, left-aligned
    CentredLabel, // static text, centred
    TextField,    // one-line edit, sunken, scrolls horizontally
    MaskedField,  // the same with its characters masked
    Button,       // push button; reports right clicks too
    CheckBox,     // automatic check box
    Frame,        // group box
    ListCombo,    // drop-down list
    EditCombo,    // drop-down combo with an edit field
    ListBox,      // list of rows, one selected
};

struct GadgetSpec {
    int number;
    GadgetKind kind;
    int x, y, width, height;
    const char* text = "";
    int font = 0;                  // 1 to 6: that font of the program's table; 0: the default
    const char* toolTip = nullptr; // shown on hover, when given
};

// The order in which the gadgets follow each other for the keyboard, as the eye reads the
// window: group by group (a frame with what lies in it; a gadget outside every frame is a
// group of its own), groups and the gadgets within each from top to bottom and, along a
// row, from left to right. A frame comes before its content. Indices into `gadgets`.
std::vector<size_t> ScreenOrder(std::span<const GadgetSpec> gadgets);

} // namespace quarnel
