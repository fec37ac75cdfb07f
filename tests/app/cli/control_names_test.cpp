// Naming controls in scripts: IDs, captions with and without '&', group names, label names, and
// the references an operator could not act on.
#include "app/cli/control_names.h"

#include <gtest/gtest.h>

#include "resources/panel_templates.h"

namespace orvane {
namespace {

using K = ControlKind;

struct FoundCase {
    const char* reference;
    K kind;
    int id;
};

TEST(ControlNames, FindsTheControlAReferenceNames) {
    const FoundCase cases[] = {
        {"1039", K::PushButton, 1039},
        {"&Upload", K::PushButton, 1039},
        {"upload", K::PushButton, 1039},
        {" UPLOAD ", K::PushButton, 1039},
        {"Save As", K::PushButton, 1066},
        {"E&xit", K::PushButton, 2},
        {"Re&set", K::PushButton, 1026},
        {"cif", K::RadioButton, 1022},
        {"Mirror/Enable", K::RadioButton, 1020},
        {"auto mode / enable", K::RadioButton, 1069},
        {"8 Bits", K::RadioButton, 1052},
        {"Contrast", K::Slider, 1032},
        {"Red Bias", K::Slider, 1071},
        {"Horizontal Start", K::Edit, 1042},
        {"vertical end", K::Edit, 1045},
        {"Value(dec)", K::Edit, 1037},
        {"File name", K::Edit, 1065},
        {"1028", K::Edit, 1028},
    };
    for (const FoundCase& c : cases) {
        const ControlLookup lookup =
            findControlForAction(controlPanelTemplate, c.reference, c.kind);
        ASSERT_NE(lookup.control, nullptr) << c.reference << ": " << lookup.error;
        EXPECT_EQ(lookup.control->id, c.id) << c.reference;
    }
}

struct RefusedCase {
    const char* reference;
    K kind;
    const char* error;
};

TEST(ControlNames, RefusesWhatAnOperatorCouldNotActOn) {
    const RefusedCase cases[] = {
        {"Enable", K::RadioButton,
         "\"Enable\" names 2 radio buttons: 1020 (Mirror/Enable) 1069 (Auto mode/Enable); give "
         "the ID or Group/Caption"},
        {"16 Bits", K::RadioButton, "control 1053 (Digital output mode/16 Bits) is disabled"},
        {"1027", K::Edit, "control 1027 is hidden"},
        {"Contrast", K::PushButton, "control 1032 (Contrast) is a slider, not a push button"},
        {"1060", K::Edit, "control 1060 (00) is a static text, not an edit"},
        {"Upload", K::RadioButton, "control 1039 (Upload) is a push button, not a radio button"},
        {"9999", K::PushButton, "no control has the ID 9999"},
        {"Uplod", K::PushButton, "no push button is named \"Uplod\""},
        {"&", K::PushButton, "no control named: give an ID or a caption"},
    };
    for (const RefusedCase& c : cases) {
        const ControlLookup lookup =
            findControlForAction(controlPanelTemplate, c.reference, c.kind);
        EXPECT_EQ(lookup.control, nullptr) << c.reference;
        EXPECT_EQ(lookup.error, c.error) << c.reference;
    }
}

} // namespace
} // namespace orvane
