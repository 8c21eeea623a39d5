// The sim's Direct3D controls and their script commands.
#include "sim/sim_gfx.h"

#include <png.h>

#include <cstdio>
#include <iterator>
#include <utility>
#include <map>

#include "gfx/pixel_format.h"
#include "sim/rooms.h"
#include "sim/sim.h"

namespace sim {

void SetAdapters(const std::vector<Adapter>& adapters) {
    detail::Gfx().adaptersOverridden = true;
    detail::Gfx().adapters = adapters;
}

void UseDisplayAdapters() {
    detail::Gfx().adaptersOverridden = false;
    detail::Gfx().adapters.clear();
}

void SetAcceptedFormats(D3DDEVTYPE type, const std::vector<D3DFORMAT>& formats) {
    (type == D3DDEVTYPE_REF ? detail::Gfx().acceptedReference : detail::Gfx().acceptedHal) = formats;
}

void ScriptCooperativeLevels(const std::vector<HRESULT>& results) {
    detail::Gfx().cooperativeLevels.insert(detail::Gfx().cooperativeLevels.end(), results.begin(), results.end());
}

void ScriptPresentResults(const std::vector<HRESULT>& results) {
    detail::Gfx().presentResults.insert(detail::Gfx().presentResults.end(), results.begin(), results.end());
}

void KeepPresentedFrames(bool keep) { detail::Gfx().keepFrames = keep; }
const PresentedFrame& LastPresentedFrame() { return detail::Gfx().lastFrame; }
int LiveDirect3DObjects() { return detail::Gfx().liveDirect3D; }
int LiveDevices() { return detail::Gfx().liveDevices; }

bool WriteFramePng(const PresentedFrame& frame, const std::string& path, std::string* error) {
    if (frame.width <= 0 || frame.height <= 0) {
        *error = "no frame has been presented";
        return false;
    }
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) {
        *error = "cannot open " + path + " for writing";
        return false;
    }
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    std::vector<png_byte> row(static_cast<size_t>(frame.width) * 3);
    bool ok = png && info;
    if (ok && setjmp(png_jmpbuf(png)) == 0) {
        png_init_io(png, file);
        png_set_IHDR(png, info, static_cast<png_uint_32>(frame.width), static_cast<png_uint_32>(frame.height), 8,
                     PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
        png_write_info(png, info);
        for (int y = 0; y < frame.height; ++y) {
            for (int x = 0; x < frame.width; ++x) {
                const uint32_t argb = frame.pixels[static_cast<size_t>(y) * frame.width + x];
                row[x * 3 + 0] = static_cast<png_byte>(argb >> 16);
                row[x * 3 + 1] = static_cast<png_byte>(argb >> 8);
                row[x * 3 + 2] = static_cast<png_byte>(argb);
            }
            png_write_row(png, row.data());
        }
        png_write_end(png, info);
    } else {
        ok = false;
    }
    png_destroy_write_struct(png ? &png : nullptr, info ? &info : nullptr);
    if (std::fclose(file) != 0) ok = false;
    if (!ok) *error = "could not write the PNG " + path;
    return ok;
}

namespace {

// "OK", "LOST", "NOTRESET", "DEVICELOST", "DEVICENOTRESET", "INVALIDCALL" or a number.
bool parseStatus(const std::string& word, HRESULT* status) {
    static const std::map<std::string, HRESULT> names = {
        {"OK", D3D_OK},
        {"LOST", D3DERR_DEVICELOST},
        {"DEVICELOST", D3DERR_DEVICELOST},
        {"NOTRESET", D3DERR_DEVICENOTRESET},
        {"DEVICENOTRESET", D3DERR_DEVICENOTRESET},
        {"INVALIDCALL", D3DERR_INVALIDCALL},
        {"NOTAVAILABLE", D3DERR_NOTAVAILABLE},
    };
    auto found = names.find(word);
    if (found != names.end()) {
        *status = found->second;
        return true;
    }
    int64_t value = 0;
    if (!detail::ParseNumber(word, &value) || value < INT32_MIN || value > UINT32_MAX) return false;
    *status = static_cast<HRESULT>(static_cast<uint32_t>(value));
    return true;
}

bool parseFormat(const std::string& word, D3DFORMAT* format) {
    static const std::map<std::string, D3DFORMAT> names = {{"X8R8G8B8", D3DFMT_X8R8G8B8},
                                                           {"A8R8G8B8", D3DFMT_A8R8G8B8},
                                                           {"R5G6B5", D3DFMT_R5G6B5},
                                                           {"X1R5G5B5", D3DFMT_X1R5G5B5}};
    auto found = names.find(word);
    int64_t value = 0;
    if (found != names.end()) {
        *format = found->second;
    } else if (detail::ParseNumber(word, &value) && value >= 0 && value <= INT32_MAX) {
        *format = static_cast<D3DFORMAT>(value);
    } else {
        return false;
    }
    return true;
}

bool statusList(const std::vector<std::string>& words, std::vector<HRESULT>* statuses, std::string* error) {
    if (words.size() < 2) return detail::Refuse(error, words[0] + ": expects one or more results");
    for (size_t i = 1; i < words.size(); ++i) {
        HRESULT status = 0;
        if (!parseStatus(words[i], &status)) return detail::Refuse(error, words[0] + ": not a result: " + words[i]);
        statuses->push_back(status);
    }
    return true;
}

}  // namespace

namespace detail {

// A fresh process's settings: every back-buffer format accepted by both device types.
GfxState freshGfxState() {
    GfxState fresh;
    fresh.acceptedHal.assign(std::begin(gfx::kBackBufferFormats), std::end(gfx::kBackBufferFormats));
    fresh.acceptedReference = fresh.acceptedHal;
    return fresh;
}

GfxState& Gfx() {
    static GfxState state = freshGfxState();
    return state;
}

// The settings go back; the objects alive stay counted.
void ResetGfxRoom() {
    GfxState& state = Gfx();
    GfxState fresh = freshGfxState();
    fresh.liveDirect3D = state.liveDirect3D;
    fresh.liveDevices = state.liveDevices;
    state = std::move(fresh);
}

// adapters N: N adapters "Adapter 1" ... with device names \\.\DISPLAY1 ...
bool AdaptersCommand(const std::vector<std::string>& words, std::string* error) {
    int64_t count = 0;
    if (words.size() != 2 || !ParseNumber(words[1], &count) || count < 0 || count > 64)
        return Refuse(error, "adapters: expects a count from 0 to 64");
    std::vector<Adapter> adapters;
    for (int64_t i = 1; i <= count; ++i)
        adapters.push_back({"Adapter " + std::to_string(i), "\\\\.\\DISPLAY" + std::to_string(i)});
    SetAdapters(adapters);
    return true;
}

// formats hal|ref FORMAT...: what that device type accepts.
bool FormatsCommand(const std::vector<std::string>& words, std::string* error) {
    if (words.size() < 2 || (words[1] != "hal" && words[1] != "ref"))
        return Refuse(error, "formats: expects hal or ref, then formats");
    std::vector<D3DFORMAT> formats;
    for (size_t i = 2; i < words.size(); ++i) {
        D3DFORMAT format;
        if (!parseFormat(words[i], &format)) return Refuse(error, "formats: not a format: " + words[i]);
        formats.push_back(format);
    }
    SetAcceptedFormats(words[1] == "ref" ? D3DDEVTYPE_REF : D3DDEVTYPE_HAL, formats);
    return true;
}

bool CoopCommand(const std::vector<std::string>& words, std::string* error) {
    std::vector<HRESULT> statuses;
    if (!statusList(words, &statuses, error)) return false;
    ScriptCooperativeLevels(statuses);
    return true;
}

bool PresentCommand(const std::vector<std::string>& words, std::string* error) {
    std::vector<HRESULT> statuses;
    if (!statusList(words, &statuses, error)) return false;
    ScriptPresentResults(statuses);
    return true;
}

}  // namespace detail
}  // namespace sim
