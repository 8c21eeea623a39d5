#include <vector>

#include "tests/platform/controls/controls_fixture.h"

namespace {

const uint32_t kFace = 0xD4D0C8;  // COLOR_BTNFACE
const uint32_t kBlack = 0x000000;
const uint32_t kWhite = 0xFFFFFF;
const uint32_t kHighlight = 0x0A246A;

struct Picture {
    int width = 0, height = 0;
    std::vector<uint32_t> pixels;
    uint32_t at(int x, int y) const { return pixels[size_t(y) * width + x] & 0xFFFFFF; }
    int countIn(int left, int top, int right, int bottom, uint32_t colour) const {
        int count = 0;
        for (int y = top; y < bottom; ++y)
            for (int x = left; x < right; ++x) count += at(x, y) == colour;
        return count;
    }
};

Picture paint(HWND host) {
    Picture picture;
    RECT client;
    GetClientRect(host, &client);
    picture.width = client.right, picture.height = client.bottom;
    picture.pixels.assign(size_t(picture.width) * picture.height, 0x12345678);
    user::PaintHook hook = user::GetPaintHook();
    EXPECT_NE(hook, nullptr);
    if (hook) hook(host, picture.pixels.data(), picture.width, picture.height, picture.width * 4);
    return picture;
}

TEST_F(ControlsTest, ControlsArePaintedWithChecksTheDefaultFrameAndTheOpenList) {
    BuildDialog();
    Picture picture = paint(host);
    ASSERT_GE(picture.width, 400);
    ASSERT_GE(picture.height, 270);
    EXPECT_EQ(picture.at(picture.width - 1, picture.height - 1), kFace) << "every pixel painted";
    EXPECT_EQ(picture.at(95, 74), kBlack) << "B is checked: its dot";
    EXPECT_EQ(picture.at(95, 45), kWhite) << "A is not: a white well";
    EXPECT_GT(picture.countIn(100, 245, 160, 260, kBlack), 10) << "the Okay caption's ink";
    EXPECT_EQ(picture.at(80, 250), kBlack) << "Okay is the default: the heavier frame";
    EXPECT_EQ(picture.at(240, 250), kWhite) << "Cancel has the plain raised edge";

    SetFocus(cancelButton);
    picture = paint(host);
    EXPECT_EQ(picture.at(240, 250), kBlack) << "the focused push button is the default one";
    EXPECT_NE(picture.at(80, 250), kBlack);

    SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("First"));
    SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("Second"));
    SendMessageA(combo, CB_SETCURSEL, 0, 0);
    ClickOn(combo);
    picture = paint(host);
    EXPECT_EQ(picture.at(305, 135 + kListRowY(0)), kHighlight) << "the open list marks the selection";
    EXPECT_EQ(picture.at(305, 135 + kListRowY(1)), kWhite);
}

}  // namespace
