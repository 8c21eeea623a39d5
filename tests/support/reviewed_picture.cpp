#include "tests/support/reviewed_picture.h"

#include <png.h>

#include <cstdlib>
#include <filesystem>
#include <vector>

#include "platform/sim/sim_gfx.h"

namespace {

constexpr uint32_t kBehind = 0xFF00FF;  // magenta: no colour a window or icon is drawn in

uint32_t over(uint32_t argb) {
    const uint32_t alpha = argb >> 24;
    uint32_t rgb = 0;
    for (int shift = 0; shift < 24; shift += 8) {
        const uint32_t top = (argb >> shift) & 0xFF, bottom = (kBehind >> shift) & 0xFF;
        rgb |= ((top * alpha + bottom * (255 - alpha) + 127) / 255) << shift;
    }
    return rgb;
}

bool readPng(const std::string& path, int* width, int* height, std::vector<uint32_t>* rgb) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str())) return false;
    image.format = PNG_FORMAT_BGRA;  // as little-endian 0xAARRGGBB words
    rgb->assign(size_t(image.width) * image.height, 0);
    if (!png_image_finish_read(&image, nullptr, rgb->data(), 0, nullptr)) return false;
    for (uint32_t& pixel : *rgb) pixel &= 0xFFFFFF;
    *width = int(image.width);
    *height = int(image.height);
    return true;
}

}  // namespace

::testing::AssertionResult LooksAsReviewed(const std::string& reviewed, const uint32_t* pixels, int width, int height) {
    sim::PresentedFrame drawn;
    drawn.width = width;
    drawn.height = height;
    for (int i = 0; i < width * height; ++i) drawn.pixels.push_back(over(pixels[i]));

    const std::string kept = std::string(FONTLOOM_SOURCE_DIR) + "/" + reviewed;
    int keptWidth = 0, keptHeight = 0;
    std::vector<uint32_t> keptPixels;
    const bool found = readPng(kept, &keptWidth, &keptHeight, &keptPixels);
    int differing = 0;
    if (found && keptWidth == width && keptHeight == height)
        for (size_t i = 0; i < keptPixels.size(); ++i) differing += keptPixels[i] != drawn.pixels[i];
    if (found && keptWidth == width && keptHeight == height && differing == 0) return ::testing::AssertionSuccess();

    const std::string name = std::filesystem::path(reviewed).filename().string();
    const char* mode = std::getenv("FONTLOOM_REVIEWED");
    const std::string written = mode && std::string(mode) == "write" ? kept : std::filesystem::absolute(name).string();
    std::string error;
    sim::WriteFramePng(drawn, written, &error);
    auto failure = ::testing::AssertionFailure();
    if (!found) return failure << "no reviewed picture " << reviewed << "; drawn: " << written << error;
    if (keptWidth != width || keptHeight != height)
        return failure << reviewed << " is " << keptWidth << " x " << keptHeight << ", drawn " << width << " x "
                       << height << ": " << written << error;
    return failure << differing << " pixels differ from " << reviewed << "; drawn: " << written << error;
}
