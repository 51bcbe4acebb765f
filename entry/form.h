// The entry checks' view of the window: the texts of its boxes, the enabled
// state of the two OK buttons, the panels and one message sink. The real
// window implements it with widgets; tests implement it with a fake.
#pragma once

#include <cstddef>
#include <string>

namespace tarvix {

// Text-bearing controls, named as the window names them.
enum class Box {
    txtF,
    txtA,
    txtB,
    cmbSWG1, // step 1
    txtD1,
    txtB1,
    cmbSWG2, // step 2
    L,
    txtN,
    txtB2,
    txtDD1,
    txtSWG2, // winding data
    txtFF,
    txtAA,
    txtBB,
    txtSWG1, // antenna dimensions
};
// The boxes are numbered from 0 to kLastBox, for a table with one entry each.
inline constexpr Box kLastBox = Box::txtSWG1;
inline constexpr std::size_t kBoxCount = static_cast<std::size_t>(kLastBox) + 1;

enum class Button { Command1, Command2 };

enum class Panel { Frame3, Frame4, Frame5, Frame6 };

class Form {
public:
    virtual ~Form() = default;
    virtual std::string text(Box box) const = 0; // UTF-8
    // Writing a text that differs from the current one runs the box's change
    // handler, as typing would.
    virtual void setText(Box box, const std::string& text) = 0;
    virtual void setEnabled(Button button, bool enabled) = 0;
    virtual void setPanelVisible(Panel panel, bool visible) = 0;
    // A modal message with one OK button; returns when the user has closed it.
    virtual void message(const std::string& text) = 0;
};

} // namespace tarvix
