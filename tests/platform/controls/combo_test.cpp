#include <string>

#include "tests/platform/controls/controls_fixture.h"

namespace {

void addItems(HWND combo, int count) {
    for (int i = 0; i < count; ++i) {
        const std::string item = "Item " + std::to_string(i);
        EXPECT_EQ(SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str())), i);
    }
}

LRESULT selection(HWND combo) { return SendMessageA(combo, CB_GETCURSEL, 0, 0); }
bool isOpen(HWND combo) { return SendMessageA(combo, CB_GETDROPPEDSTATE, 0, 0) != 0; }

// What the list answers, and its keys: tests/probe, against Wine.
TEST_F(ControlsTest, AComboBoxRefusesNullTexts) {
    BuildDialog();
    addItems(combo, 1);
    EXPECT_EQ(SendMessageA(combo, CB_GETLBTEXT, 0, 0), CB_ERR) << "no buffer";
    EXPECT_EQ(SendMessageA(combo, CB_ADDSTRING, 0, 0), CB_ERR) << "no text";
    EXPECT_EQ(SendMessageA(combo, CB_GETCOUNT, 0, 0), 1);
}

TEST_F(ControlsTest, AClickOnTheFieldOpensTheListAndAClickOnARowPicksIt) {
    BuildDialog();
    addItems(combo, 2);
    SendMessageA(combo, CB_SETCURSEL, 1, 0);
    ClickOn(combo);
    EXPECT_TRUE(isOpen(combo));
    EXPECT_EQ(GetFocus(), combo);
    ClickOn(combo, 10, kListRowY(0));
    EXPECT_FALSE(isOpen(combo));
    EXPECT_EQ(selection(combo), 0);
}

TEST_F(ControlsTest, TheListFitsTheControlsHeightAndScrollsThroughLongerLists) {
    BuildDialog();
    addItems(combo, 6);
    SendMessageA(combo, CB_SETCURSEL, 0, 0);
    const int rows = user::ComboRowsFor(60);
    ASSERT_GE(rows, 1);
    ASSERT_LT(rows, 6);
    ClickOn(combo);
    for (int i = 0; i < 4; ++i) Key(VK_DOWN);
    ClickOn(combo, 10, kListRowY(rows - 1));  // the lowest row shown now holds the fifth entry
    EXPECT_EQ(selection(combo), 4);

    ClickOn(combo);
    ClickOn(combo, 296, 58);  // the scroll bar's lower half
    ClickOn(combo, 10, kListRowY(rows - 1));
    EXPECT_EQ(selection(combo), 5) << "scrolled down by one row";
}

TEST_F(ControlsTest, BelowTheClosedFieldClicksReachWhatLiesUnderIt) {
    BuildDialog();
    addItems(combo, 3);
    SetFocus(okButton);
    ClickOn(combo, 10, 45);  // inside the control's 60 px, under its field
    EXPECT_FALSE(isOpen(combo));
    EXPECT_EQ(GetFocus(), okButton);
    ClickOn(combo, 10, 5);
    EXPECT_TRUE(isOpen(combo));
    ClickOn(radioA);
    EXPECT_FALSE(isOpen(combo)) << "a press outside the open list closes it";
    EXPECT_FALSE(Checked(radioA)) << "and is the list's, not the radio button's";
    EXPECT_EQ(selection(combo), CB_ERR);
    Key(VK_F4);
    SetFocus(radioA);
    EXPECT_FALSE(isOpen(combo)) << "losing the focus closes it";
}

}  // namespace
