#pragma once
// How the controls of a resizable dialog follow its right and bottom edges:
// each control grows or moves by as much as the dialog's client area has
// grown since the layout started, so its distance to those edges stays.

#include <optional>
#include <vector>

#include "common/geometry.h"

enum AnchorFlag : unsigned {
    kAnchorSizeX = 0x0001,    // the right edge follows the dialog's right edge
    kAnchorSizeY = 0x0002,    // the bottom edge follows the dialog's bottom edge
    kAnchorMoveX = 0x0004,    // the whole control follows the right edge
    kAnchorMoveY = 0x0008,    // the whole control follows the bottom edge
    kAnchorRepaint = 0x0010,  // repainted after each move
    kAnchorSizeGrip = 0x4000, // the size grip's row
};

struct AnchorRule {
    int controlId;
    unsigned flags;
};

struct AnchoredControl {
    int controlId;
    unsigned flags;
    Rect initial; // in the dialog's client coordinates when the layout started
};

class DialogLayout {
public:
    // Starts over for a dialog whose client area and outer frame have these sizes now.
    void start(Size client, Size outer);
    void add(const AnchoredControl& control) { controls_.push_back(control); }
    const std::vector<AnchoredControl>& controls() const { return controls_; }

    // Where the control goes for the new client size; edges that its flags
    // leave alone stay where they are now (current).
    Rect placed(const AnchoredControl& control, const Rect& current, Size client) const;

    // The smallest outer size the user may give the dialog; none before start.
    std::optional<Size> minimumTrackingSize() const { return minimum_; }

private:
    std::vector<AnchoredControl> controls_;
    Size initialClient_;
    std::optional<Size> minimum_;
};
