#pragma once
// A static control of a dialog turned into a link: its label drawn underlined
// in the user's link colours, a hand cursor and a tooltip with the target
// over it, and the target opened through the shell by a click, Enter or Space.

#include <windows.h>
#include <commctrl.h>

#include "common/text.h"
#include "common/unique_handle_win32.h"
#include "runtime/hyper_link.h"

class HyperLinkControl {
public:
    // Takes the control over until it is destroyed (or this object is).
    HyperLinkControl(HWND control, Text label, Text target);
    ~HyperLinkControl() { detach(); }
    HyperLinkControl(const HyperLinkControl&) = delete;
    HyperLinkControl& operator=(const HyperLinkControl&) = delete;

private:
    static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                      DWORD_PTR self);
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
    void makeLinkFont(HFONT baseFont);
    void addTooltip();
    // The tooltip's tool: the label's area of this control.
    TOOLINFOW labelTool() const;
    void readColours();
    void measureLabel();
    void paint();
    bool overLabel(LPARAM clientPoint) const;
    void open();
    void detach();

    HWND control_;
    Text label_;
    Text target_;
    UniqueGdiObject linkFont_;
    UniqueWindow tooltip_;
    UniqueCursor handCursor_;
    Rgb linkColour_ = kDefaultLinkColour;
    Rgb visitedColour_ = kDefaultVisitedColour;
    bool visited_ = false;
    RECT labelArea_{};
    bool attached_ = false;
};
