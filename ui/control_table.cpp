// Every control of frmTarvix1, in twips, as the window has always been laid
// out. Captions keep their spelling and their runs of blanks.
#include "ui/control_table.h"

#include "calc/design_run.h"

#include <array>
#include <cmath>

namespace tarvix {

namespace {

// The Form's panels, by a name of their own: the kind of control is a Panel too.
using FormPanel = Panel;
using enum ControlKind;

constexpr std::string_view kWindow{};

constexpr auto kControls = std::to_array<ControlDescription>({
    // name, kind, panel, text, left, top, width, height, tab index, flags, part of the Form
    {"Frame1", Panel, kWindow, "About this programe", 120, 120, 2295, 1815, 10, NoFlags},
    {"Frame2", Panel, kWindow, "Instructions for use", 7200, 120, 2415, 1935, 12, NoFlags},
    {"Frame3", Panel, kWindow, "Data Input - step 1", 120, 2040, 8895, 1695, 14, NoFlags,
     FormPanel::Frame3},
    {"Frame4", Panel, kWindow, "Data Input - step 2", 720, 2280, 7215, 1335, 20, HiddenAtStart,
     FormPanel::Frame4},
    {"Frame5", Panel, kWindow, "Winding data for the Loading Coils", 120, 3480, 8895, 1695, 24,
     HiddenAtStart, FormPanel::Frame5},
    {"Frame6", Panel, kWindow, "Antenna Diamensions", 240, 2160, 8415, 1095, 33, HiddenAtStart,
     FormPanel::Frame6},

    {"Image1", Picture, kWindow, "", 2520, 240, 4530, 1335, kNoTabIndex, NoFlags},
    {"Label5", Label, kWindow, "Tarvix Ver 1.1", 6240, 5280, 1215, 255, 43, NoFlags},
    {"Label11", Label, kWindow, "Programed by Orlenth", 7800, 5280, 1680, 255, 9, AuthorLink},

    {"Label1", Label, "Frame1",
     "This is a narrow band High-Q antenna.  You  can  design    for  any  short length "
     "(shorter  than half wave dipole). This is more suitable for restricted spaces.",
     120, 360, 2055, 1215, 11, NoFlags},

    {"Label2", Label, "Frame2",
     "First, input data  into  four  text boxes   according    to    your design.   Then   "
     "input    the diamensions for coils and get  the  number  of  turns.   After finished  "
     "the  construction you  must   trim  the  length   for minimum SWR",
     120, 240, 2175, 1575, 13, NoFlags},

    {"Label3(1)", Label, "Frame3", "Frequency ( MHz )", 120, 240, 1455, 255, 15, NoFlags},
    {"Labe4(1)", Label, "Frame3", "A = Total Length ( ft )", 1680, 240, 1545, 255, 16, NoFlags},
    {"Labe5(0)", Label, "Frame3", "B = Centre to Coil distance ( ft )", 3360, 240, 2235, 255, 17,
     NoFlags},
    {"Labe6(0)", Label, "Frame3", "Antenna Wire SWG ( 10 - 30)", 6000, 240, 2415, 255, 19, NoFlags},
    {"txtF", TextBox, "Frame3", " ", 360, 600, 615, 285, 0, NoFlags, Box::txtF},
    {"txtA", TextBox, "Frame3", " ", 2040, 600, 615, 285, 1, NoFlags, Box::txtA},
    {"txtB", TextBox, "Frame3", " ", 3960, 600, 615, 285, 2, NoFlags, Box::txtB},
    {"cmbSWG1", DropDownList, "Frame3", kDefaultAntennaSwgText, 6600, 600, 615, 315, 3, NoFlags,
     Box::cmbSWG1},
    {"Command1", PushButton, "Frame3", "OK", 5160, 960, 855, 375, 4, DisabledAtStart,
     Button::Command1},

    {"Label7(1)", Label, "Frame4", "Coil Former Diameter ( in )", 120, 240, 2055, 255, 21, NoFlags},
    {"Label8(0)", Label, "Frame4", "Coil Length ( in )", 2160, 240, 1335, 255, 22, NoFlags},
    {"Label9(1)", Label, "Frame4", "Coil wire SWG ( 10 - 30 )", 3600, 240, 1935, 255, 23, NoFlags},
    {"txtD1", TextBox, "Frame4", " ", 480, 600, 495, 285, 5, NoFlags, Box::txtD1},
    {"txtB1", TextBox, "Frame4", " ", 2520, 600, 495, 285, 6, NoFlags, Box::txtB1},
    {"cmbSWG2", DropDownList, "Frame4", kDefaultCoilSwgText, 3960, 600, 615, 315, 7, NoFlags,
     Box::cmbSWG2},
    {"Command2", PushButton, "Frame4", "OK", 5880, 720, 735, 375, 8, DisabledAtStart,
     Button::Command2},

    {"Labe11(0)", Label, "Frame5", "No. of Turns of the Coil =", 240, 480, 1815, 255, 26, NoFlags},
    {"txtN", TextBox, "Frame5", " ", 2160, 480, 1035, 345, 42, Locked | ResultFont, Box::txtN},
    {"Label12(0)", Label, "Frame5", "Revised Length of the Coil", 5040, 240, 2055, 255, 27,
     NoFlags},
    {"txtB2", TextBox, "Frame5", " ", 4560, 480, 3255, 350, 18, Locked | ResultFont, Box::txtB2},
    {"Label7(0)", Label, "Frame5", "Coil Former Diameter ( in ) =", 120, 1080, 2055, 255, 28,
     NoFlags},
    {"txtDD1", TextBox, "Frame5", " ", 2160, 1050, 615, 390, 29, ResultFont, Box::txtDD1},
    {"Label9(0)", Label, "Frame5", "Coil wire SWG  =", 2880, 1080, 1335, 255, 30, NoFlags},
    {"txtSWG2", TextBox, "Frame5", " ", 4320, 1080, 495, 360, 31, ResultFont, Box::txtSWG2},
    // The micro sign is U+00B5 (0xB5 in code page 1252), not the Greek mu.
    {"Label10(1)", Label, "Frame5", "Inductance of the Coil ( \u00B5H ) =", 5160, 1080, 2175, 255,
     25, NoFlags},
    {"L", TextBox, "Frame5", " ", 7320, 960, 1155, 420, 32, Locked | ResultFont, Box::L},

    {"Label3(0)", Label, "Frame6", "Frequency ( MHz )", 120, 240, 1455, 255, 34, NoFlags},
    {"Labe4(0)", Label, "Frame6", "A = Total Length ( ft )", 1920, 240, 1545, 255, 35, NoFlags},
    {"Labe5(1)", Label, "Frame6", "B = Centre to Coil distance ( ft )", 3600, 240, 2235, 255, 36,
     NoFlags},
    {"Label4", Label, "Frame6", "Antenna Wire SWG ", 6360, 240, 1575, 255, 37, NoFlags},
    {"txtFF", TextBox, "Frame6", " ", 240, 600, 855, 360, 38, ResultFont, Box::txtFF},
    {"txtAA", TextBox, "Frame6", " ", 2160, 600, 855, 360, 39, ResultFont, Box::txtAA},
    {"txtBB", TextBox, "Frame6", " ", 4200, 600, 855, 360, 40, ResultFont, Box::txtBB},
    {"txtSWG1", TextBox, "Frame6", " ", 6720, 600, 615, 360, 41, ResultFont, Box::txtSWG1},
});

constexpr std::string_view kNoLabel{};

constexpr auto kCaptions = std::to_array<AccessibleCaption>({
    // control, label, name
    {"Image1", kNoLabel,
     "Loaded dipole antenna: A is the total length, B the distance from the centre to each coil"},

    {"txtF", "Label3(1)", {}},
    {"txtA", "Labe4(1)", {}},
    {"txtB", "Labe5(0)", {}},
    {"cmbSWG1", "Labe6(0)", {}},
    {"Command1", kNoLabel, "OK, step 1"},

    {"txtD1", "Label7(1)", {}},
    {"txtB1", "Label8(0)", {}},
    {"cmbSWG2", "Label9(1)", {}},
    {"Command2", kNoLabel, "OK, step 2"},

    {"txtN", "Labe11(0)", {}},
    {"txtB2", "Label12(0)", {}},
    {"txtDD1", "Label7(0)", {}},
    {"txtSWG2", "Label9(0)", {}},
    {"L", "Label10(1)", {}},

    {"txtFF", "Label3(0)", {}},
    {"txtAA", "Labe4(0)", {}},
    {"txtBB", "Labe5(1)", {}},
    {"txtSWG1", "Label4", {}},
});

} // namespace

std::span<const ControlDescription> controlTable() {
    return kControls;
}

std::span<const AccessibleCaption> accessibleCaptions() {
    return kCaptions;
}

namespace {

// The one row that is the part: every box, button and panel of the Form has
// exactly one (see the check below).
template <class Part> constexpr std::string_view nameOf(Part part) {
    for (const ControlDescription& control : kControls) {
        if (const auto* held = std::get_if<Part>(&control.part); held != nullptr && *held == part) {
            return control.name;
        }
    }
    return {};
}

template <class Part> constexpr bool eachOnceUpTo(Part last) {
    for (int i = 0; i <= static_cast<int>(last); ++i) {
        int rows = 0;
        for (const ControlDescription& control : kControls) {
            const auto* held = std::get_if<Part>(&control.part);
            rows += held != nullptr && *held == static_cast<Part>(i) ? 1 : 0;
        }
        if (rows != 1) {
            return false;
        }
    }
    return true;
}

static_assert(eachOnceUpTo(kLastBox) && eachOnceUpTo(Button::Command2) &&
                  eachOnceUpTo(FormPanel::Frame6),
              "every box, button and panel of the Form is one row of the table");

} // namespace

std::string_view controlName(Box box) {
    return nameOf(box);
}

std::string_view controlName(Button button) {
    return nameOf(button);
}

std::string_view controlName(FormPanel panel) {
    return nameOf(panel);
}

// txtB2 is 350 twips high, the one size that is not a whole number of pixels;
// it is rounded to the nearest pixel like any other.
int twipsToPixels(int twips) {
    return static_cast<int>(std::lround(static_cast<double>(twips) / kTwipsPerPixel));
}

} // namespace tarvix
