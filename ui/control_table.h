// The window's controls as data: one row per control with its name, kind,
// panel, text, place in twips, tab index and a few flags. The window is built
// from these rows and nothing else, so a control's facts live in one place.
#pragma once

#include "entry/form.h"

#include <span>
#include <string_view>
#include <variant>

namespace tarvix {

enum class ControlKind {
    Panel,        // group frame with a caption; hiding it hides its children
    Label,        // static text, wrapped at word boundaries
    TextBox,      // single-line edit field
    DropDownList, // editable combo box
    PushButton,
    Picture, // a bitmap at its natural size
};

// Flags for the few controls that differ from their kind's defaults.
enum ControlFlag : unsigned {
    NoFlags = 0,
    HiddenAtStart = 1U << 0,   // revealed later by the OK buttons
    DisabledAtStart = 1U << 1, // the OK buttons wait for their inputs
    Locked = 1U << 2,          // the program writes it; the user may select and copy
    ResultFont = 1U << 3,      // results and summaries: "MS Sans Serif" 12 pt bold
    AuthorLink = 1U << 4,      // blue, open-hand pointer, opens the author's page
};

inline constexpr int kNoTabIndex = -1;

// What a control is to the entry checks' Form: one of its boxes, OK buttons or
// panels, or nothing (labels, the picture).
using FormPart = std::variant<std::monostate, Box, Button, Panel>;

struct ControlDescription {
    std::string_view name; // also the widget's objectName; array members as "Label3(1)"
    ControlKind kind;
    std::string_view panel; // the panel holding it; empty for the window itself
    std::string_view text;  // caption or initial text, UTF-8, blanks exactly as shown
    // Twips. Inside a panel, measured from the panel's outer top-left corner
    // (its caption band included); otherwise from the client area's corner.
    int left;
    int top;
    int width;
    int height;
    int tabIndex; // kNoTabIndex for the picture
    unsigned flags;
    FormPart part = {};
};

// Panels come before the controls they hold.
std::span<const ControlDescription> controlTable();

// The name of the control that is this part of the Form.
std::string_view controlName(Box box);
std::string_view controlName(Button button);
std::string_view controlName(Panel panel);

// What a screen reader announces for a control whose meaning is shown beside
// it rather than on it. A box or list is named by the label beside it, which
// also becomes its buddy; the name is that caption without a trailing "=".
// Controls with no such label carry their name here.
struct AccessibleCaption {
    std::string_view control;
    std::string_view label; // the label naming it, or empty
    std::string_view name;  // UTF-8; only where there is no label
};

std::span<const AccessibleCaption> accessibleCaptions();

// Twips are 1/1440 inch: 15 to a device-independent pixel at 96 dpi.
inline constexpr int kTwipsPerPixel = 15;
int twipsToPixels(int twips);

inline constexpr std::string_view kWindowName = "frmTarvix1";
inline constexpr std::string_view kWindowCaption =
    "Loaded Dipole Antenna for restricted space ( FPS units)";
inline constexpr int kClientWidthTwips = 9645;
inline constexpr int kClientHeightTwips = 5565;

// The author's page, opened by a click on Label11.
inline constexpr std::string_view kAuthorPage = "https://example.org/tarvi";
static_assert(kAuthorPage.size() == 25);

// The diagram at twice the pixel density; the natural size is compiled in
// (ui/compiled_bitmap.h).
inline constexpr std::string_view kDiagram2xResource = ":/tarvix/diagram@2x.png";

} // namespace tarvix
