#include "app/text_page.h"

#include "tests/app/app_fixture.h"

namespace {

class TextPageTest : public AppFixture {};

std::string pageText() { return std::string(g_app.TextBuffer); }

TEST_F(TextPageTest, LoadsAtMostTheFirst4000BytesCountedAfterCrLfTranslationAndRestartsTheCounter) {
    // 2500 CR LF pairs arrive as 2500 LF bytes; then 2000 letters, of which 1500 fit.
    std::string file;
    for (int i = 0; i < 2500; ++i) file += "\r\n";
    file += std::string(2000, 'x');
    WriteFileBytes("text.txt", file);
    std::memset(g_app.TextBuffer, 'Z', sizeof(g_app.TextBuffer));  // the NUL must be stored, not assumed
    g_app.frameRateCounter.Tick();

    sim::FailCall("D3DXCreateFontA");  // a fake device: the font is not the point here
    LoadTextPage();
    EXPECT_EQ(pageText(), std::string(2500, '\n') + std::string(1500, 'x'));
    EXPECT_EQ(g_app.frameRateCounter.TotalFrames(), 0u);
    EXPECT_EQ(ReadFileBytes("log.txt"), "");
}

TEST_F(TextPageTest, EmptyFileIsAnEmptyPageAndAMissingOneIsLogged) {
    WriteFileBytes("text.txt", "");
    g_app.TextBuffer[0] = 'Q';
    sim::FailCall("D3DXCreateFontA", 1, 0, D3DERR_INVALIDCALL);
    g_app.font = nullptr;
    EXPECT_EQ(LoadTextPage(), D3DERR_INVALIDCALL);  // the font's status, after the file was read
    EXPECT_EQ(pageText(), "");
    EXPECT_EQ(ReadFileBytes("log.txt"), "");  // a font failure is not logged here

    std::remove("text.txt");
    sim::FailCall("D3DXCreateFontA");
    EXPECT_EQ(LoadTextPage(), E_FAIL);
    EXPECT_EQ(ReadFileBytes("log.txt"), "Error opening file for read\r\n");
}

TEST_F(TextPageTest, AFrameClearsDrawsBothTextsPresentsAndTicks) {
    std::strcpy(g_app.TextBuffer, "Page");
    sim::AdvanceClock(500);
    const std::string rateLine = g_app.frameRateCounter.GetText();
    EXPECT_EQ(RenderFrame(), S_OK);
    EXPECT_EQ(calls.events, (std::vector<std::string>{
                                "Clear 0 1 0 1.000000 0",
                                "BeginScene",
                                "DrawTextA '" + rateLine + "' -1 0,0,640,480 256 4294967295",
                                "DrawTextA 'Page' -1 0,30,640,480 16 4294967295",
                                "EndScene",
                                "Present",
                            }));
    EXPECT_EQ(g_app.frameRateCounter.TotalFrames(), 1u);
    EXPECT_EQ(ReadFileBytes("log.txt"), "");
}

TEST_F(TextPageTest, FailuresAreReturnedAndOnlyAFrameThatReachedPresentCounts) {
    device.beginSceneStatus = D3DERR_INVALIDCALL;
    EXPECT_EQ(RenderFrame(), D3DERR_INVALIDCALL);
    EXPECT_EQ(calls.events.back(), "BeginScene");  // no draws, no EndScene, no Present
    calls.events.clear();
    device.clearStatus = E_FAIL;
    EXPECT_EQ(RenderFrame(), E_FAIL);
    EXPECT_EQ(calls.events.size(), 1u);
    EXPECT_EQ(g_app.frameRateCounter.TotalFrames(), 0u);

    device.beginSceneStatus = device.clearStatus = S_OK;
    device.presentStatus = D3DERR_DEVICELOST;
    EXPECT_EQ(RenderFrame(), D3DERR_DEVICELOST);
    EXPECT_EQ(g_app.frameRateCounter.TotalFrames(), 1u);
}

TEST_F(TextPageTest, OnlyARealDrawFailureIsLogged) {
    EXPECT_EQ(RenderFrame(), S_OK);  // the empty page draws nothing and returns 0: no error
    EXPECT_EQ(ReadFileBytes("log.txt"), "");

    std::strcpy(g_app.TextBuffer, "Page");
    font.drawResult = 0;
    EXPECT_EQ(RenderFrame(), S_OK);  // drawing goes on, the frame is presented
    EXPECT_EQ(calls.events.back(), "Present");
    EXPECT_EQ(ReadFileBytes("log.txt"), "Error Drawing font\r\nError Drawing font\r\n");
}

}  // namespace
