#include "app/main_loop.h"

#include "tests/app/app_fixture.h"

namespace {

class MainLoopTest : public AppFixture {
protected:
    // What the pass did on the device and the font, without the frame's own calls.
    std::vector<std::string> lossCalls() const {
        std::vector<std::string> picked;
        for (const std::string& event : calls.events) {
            if (event == "TestCooperativeLevel" || event == "Reset" || event == "OnLostDevice" ||
                event == "OnResetDevice" || event == "Present")
                picked.push_back(event);
        }
        return picked;
    }
};

TEST_F(MainLoopTest, ALostDeviceIsWaitedOutAndNeverEndsTheLoop) {
    device.cooperativeLevels = {D3DERR_DEVICELOST, D3DERR_DEVICELOST};
    const uint32_t before = timeGetTime();
    RunMainLoopPass();
    RunMainLoopPass();
    EXPECT_EQ(timeGetTime() - before, 1000u);  // 500 ms per pass
    EXPECT_EQ(lossCalls(), (std::vector<std::string>{"TestCooperativeLevel", "OnLostDevice", "TestCooperativeLevel",
                                                     "OnLostDevice"}));
    EXPECT_FALSE(g_app.quit);
    EXPECT_EQ(ReadFileBytes("log.txt"), "");
}

// No loss seen before: the font lets go first, once.
TEST_F(MainLoopTest, NotResetTriesOneResetPerPassAndRestoresTheFontOnlyAfterSuccess) {
    device.cooperativeLevels = {D3DERR_DEVICENOTRESET, D3DERR_DEVICENOTRESET};
    device.resetStatus = D3DERR_INVALIDCALL;
    RunMainLoopPass();
    device.resetStatus = S_OK;
    RunMainLoopPass();
    RunMainLoopPass();  // usable again: draws
    EXPECT_EQ(lossCalls(),
              (std::vector<std::string>{"TestCooperativeLevel", "OnLostDevice", "Reset", "TestCooperativeLevel",
                                        "Reset", "OnResetDevice", "TestCooperativeLevel", "Present"}));
    EXPECT_FALSE(g_app.quit);
    EXPECT_EQ(ReadFileBytes("log.txt"), "");
}

TEST_F(MainLoopTest, APresentThatLosesTheDeviceIsALossNotAnError) {
    device.presentStatus = D3DERR_DEVICELOST;
    RunMainLoopPass();
    EXPECT_EQ(lossCalls(), (std::vector<std::string>{"TestCooperativeLevel", "Present", "OnLostDevice"}));
    EXPECT_FALSE(g_app.quit);
}

TEST_F(MainLoopTest, AnyOtherFailureEndsTheLoopWithErrorRendering) {
    device.presentStatus = D3DERR_DRIVERINTERNALERROR;
    RunMainLoop();  // returns because the pass sets the flag
    EXPECT_TRUE(g_app.quit);
    EXPECT_EQ(ReadFileBytes("log.txt"), "Error rendering : D3DERR_DRIVERINTERNALERROR\r\n");

    calls.events.clear();
    g_app.quit = false;
    device.cooperativeLevels = {D3DERR_DRIVERINTERNALERROR};
    RunMainLoopPass();
    EXPECT_TRUE(g_app.quit);
    EXPECT_EQ(lossCalls(), std::vector<std::string>{"TestCooperativeLevel"});  // no frame drawn
}

TEST_F(MainLoopTest, HandlingReturnsTheResetStatusOrTheOneItWasGiven) {
    D3DPRESENT_PARAMETERS parameters{};
    device.resetStatus = D3DERR_INVALIDCALL;
    EXPECT_EQ(fwHandleDeviceLoss(&device, &parameters, D3DERR_DEVICENOTRESET), D3DERR_INVALIDCALL);
    EXPECT_EQ(fwHandleDeviceLoss(&device, &parameters, D3DERR_DEVICELOST), D3DERR_DEVICELOST);
    EXPECT_EQ(fwHandleDeviceLoss(&device, &parameters, E_OUTOFMEMORY), E_OUTOFMEMORY);
    EXPECT_EQ(lossCalls(), (std::vector<std::string>{"OnLostDevice", "Reset", "OnLostDevice"}));
}

}  // namespace
