#include "data/LumetraDoc.h"
#include "support/RecordingUi.h"

#include <gtest/gtest.h>

namespace lumetra {
namespace {

struct Outcome {
    bool accepted;
    std::string text;    // the caller's text afterwards
    std::string message; // "" when none was shown
};

Outcome Validate(std::string text) {
    test::RecordingUi ui;
    const bool ok = CLumetraDoc::ValidateNumber(ui, text);
    if (!ui.messages.empty()) {
        EXPECT_EQ(ui.messages.size(), 1u);
        EXPECT_EQ(ui.messages[0].buttons, Ui::Buttons::Ok);
        EXPECT_EQ(ui.messages[0].icon, Ui::Icon::Exclamation);
    }
    return {ok, text, ui.messages.empty() ? "" : ui.messages[0].text};
}

TEST(ValidateNumber, AcceptsAndTrims) {
    Outcome o = Validate("  -1.5e-3  ");
    EXPECT_TRUE(o.accepted);
    EXPECT_EQ(o.text, "-1.5e-3");
    EXPECT_EQ(o.message, "");
    EXPECT_TRUE(Validate("").accepted);
    EXPECT_TRUE(Validate(" \t ").accepted);
    EXPECT_EQ(Validate(" \t ").text, "");
    EXPECT_TRUE(Validate("+4").accepted);
    EXPECT_TRUE(Validate("1E+5").accepted);
    // The syntax is loose by design: the conversion afterwards takes what it can.
    EXPECT_TRUE(Validate("1e5e6").accepted);
    EXPECT_TRUE(Validate("1e5.2").accepted);
    EXPECT_TRUE(Validate(".-1").accepted);
}

TEST(ValidateNumber, RejectsWithTheExactMessages) {
    EXPECT_EQ(Validate("1-2").message, "Negative sign must be 1st!");
    EXPECT_EQ(Validate("--1").message, "Double negatives are NOT allowed!");
    EXPECT_EQ(Validate("1+2").message, "Plus sign must be 1st!");
    EXPECT_EQ(Validate("++1").message, "Double plus signs are NOT allowed!");
    EXPECT_EQ(Validate("1.2.3").message, "Only one decimal point is allowed!");
    EXPECT_EQ(Validate("e5").message, "'e' is NOT a valid number character!");
    EXPECT_EQ(Validate("12a").message, "'a' is NOT a valid number character!");
    EXPECT_EQ(Validate("1,5").message, "',' is NOT a valid number character!");
    EXPECT_EQ(Validate("1 2").message, "' ' is NOT a valid number character!");
    Outcome o = Validate(" 12a ");
    EXPECT_FALSE(o.accepted);
    EXPECT_EQ(o.text, "12a"); // trimmed on rejection too
}

TEST(ValidateNumber, CopesWithLongTexts) {
    std::string digits(500, '7');
    EXPECT_TRUE(Validate(digits).accepted);
    EXPECT_EQ(Validate(digits + "x").message, "'x' is NOT a valid number character!");
}

} // namespace
} // namespace lumetra
