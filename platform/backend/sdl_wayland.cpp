// Frames on Wayland. SDL 2.26's Wayland driver has no software window surface: there
// SDL_GetWindowSurface either fails or backs the window with OpenGL, which on Mesa's software GL
// runs at a sixth of the X11 rate. Our frames are made in system memory, so they take the road
// Wayland has for that: shared-memory buffers (wl_shm) attached to the wl_surface SDL made.
//
// The scaler writes into a canvas of the window's size. Each present copies into a buffer the
// compositor does not hold the rows the canvas has newer than that buffer, damages them and
// commits. A buffer is written again only once the compositor released it; while none is free,
// the rows wait in the canvas and the next present, or the next pump of events, sends them.
#include <SDL_syswm.h>

#if defined(SDL_VIDEO_DRIVER_WAYLAND)
#include <sys/mman.h>
#include <unistd.h>
#include <wayland-client.h>
#endif

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "backend/sdl_backend.h"

namespace backend {
namespace sdl {

#if defined(SDL_VIDEO_DRIVER_WAYLAND)

namespace {

constexpr int kBuffers = 3;  // one shown, one on its way, one to write

struct ShmBuffer {
    wl_buffer* buffer = nullptr;
    uint8_t* pixels = nullptr;
    size_t bytes = 0;
    bool busy = false;                  // attached, and not yet released by the compositor
    int staleTop = 0, staleBottom = 0;  // the rows the canvas holds newer than this buffer
};

// The compositor's shared memory, bound once on a queue of our own, so that SDL's dispatching
// of its queue never runs our listeners and ours never runs SDL's.
struct Connection {
    wl_display* display = nullptr;
    wl_event_queue* queue = nullptr;
    wl_shm* shm = nullptr;
};
Connection connection;

void announced(void* data, wl_registry* registry, uint32_t name, const char* interface, uint32_t) {
    if (std::strcmp(interface, wl_shm_interface.name) == 0)
        static_cast<Connection*>(data)->shm =
            static_cast<wl_shm*>(wl_registry_bind(registry, name, &wl_shm_interface, 1));
}
void withdrawn(void*, wl_registry*, uint32_t) {}
const wl_registry_listener kRegistryListener = {announced, withdrawn};

bool connect(wl_display* display) {
    if (connection.display) return connection.display == display && connection.shm;
    connection.display = display;
    connection.queue = wl_display_create_queue(display);
    auto* wrapped = static_cast<wl_display*>(wl_proxy_create_wrapper(display));
    wl_proxy_set_queue(reinterpret_cast<wl_proxy*>(wrapped), connection.queue);
    wl_registry* registry = wl_display_get_registry(wrapped);
    wl_proxy_wrapper_destroy(wrapped);
    wl_registry_add_listener(registry, &kRegistryListener, &connection);
    wl_display_roundtrip_queue(display, connection.queue);
    wl_registry_destroy(registry);
    return connection.shm != nullptr;
}

void released(void* data, wl_buffer*) { static_cast<ShmBuffer*>(data)->busy = false; }
const wl_buffer_listener kBufferListener = {released};

void destroyBuffer(ShmBuffer& buffer) {
    if (buffer.buffer) wl_buffer_destroy(buffer.buffer);
    if (buffer.pixels) munmap(buffer.pixels, buffer.bytes);
    buffer = ShmBuffer{};
}

// A buffer of the canvas's size in a file of its own; the compositor maps the same memory.
bool makeBuffer(ShmBuffer& buffer, const SDL_Surface& canvas) {
    const size_t bytes = size_t(canvas.pitch) * size_t(canvas.h);
    const int file = memfd_create("fontloom-frame", MFD_CLOEXEC);
    if (file < 0) return false;
    void* pixels = ftruncate(file, off_t(bytes)) == 0 ? mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_SHARED, file, 0)
                                                      : MAP_FAILED;
    if (pixels == MAP_FAILED) {
        close(file);
        return false;
    }
    wl_shm_pool* pool = wl_shm_create_pool(connection.shm, file, int32_t(bytes));
    wl_proxy_set_queue(reinterpret_cast<wl_proxy*>(pool), connection.queue);
    buffer.buffer = wl_shm_pool_create_buffer(pool, 0, canvas.w, canvas.h, canvas.pitch, WL_SHM_FORMAT_XRGB8888);
    wl_shm_pool_destroy(pool);  // the buffer keeps the memory
    close(file);
    buffer.pixels = static_cast<uint8_t*>(pixels);
    buffer.bytes = bytes;
    buffer.staleTop = 0;
    buffer.staleBottom = canvas.h;
    wl_buffer_add_listener(buffer.buffer, &kBufferListener, &buffer);
    return true;
}

struct Seats {
    bool found = false;
};
void announcedSeat(void* data, wl_registry*, uint32_t, const char* interface, uint32_t) {
    if (std::strcmp(interface, wl_seat_interface.name) == 0) static_cast<Seats*>(data)->found = true;
}
const wl_registry_listener kSeatListener = {announcedSeat, withdrawn};

}  // namespace

bool WaylandDisplayIsUsable(std::string* reason) {
    const char* name = std::getenv("WAYLAND_DISPLAY");
    wl_display* display = wl_display_connect(nullptr);
    if (!display) {
        *reason = std::string("no Wayland compositor answers at ") + (name ? name : "wayland-0");
        return false;
    }
    Seats seats;
    wl_registry* registry = wl_display_get_registry(display);
    wl_registry_add_listener(registry, &kSeatListener, &seats);
    wl_display_roundtrip(display);
    wl_registry_destroy(registry);
    wl_display_disconnect(display);
    if (!seats.found) *reason = "the Wayland compositor has no seat: no keyboard and no pointer";
    return seats.found;
}

struct WaylandOutput {
    wl_surface* surface = nullptr;
    SDL_Surface* canvas = nullptr;  // XRGB8888, the window's size
    ShmBuffer buffers[kBuffers];
    bool waiting = false;  // the canvas holds rows no buffer has taken to the compositor yet
    bool shown = false;    // a buffer was committed
};

WaylandOutput* OpenWaylandOutput(SDL_Window* window) {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_WAYLAND) return nullptr;
    if (!connect(info.info.wl.display)) {
        std::fprintf(stderr, "fontloom: the Wayland compositor offers no shared memory; frames cannot be shown\n");
        return nullptr;
    }
    auto* output = new WaylandOutput;
    output->surface = info.info.wl.surface;
    return output;
}

void CloseWaylandOutput(WaylandOutput* output) {
    if (!output) return;
    for (ShmBuffer& buffer : output->buffers) destroyBuffer(buffer);
    SDL_FreeSurface(output->canvas);
    delete output;
}

SDL_Surface* WaylandCanvas(WaylandOutput& output, SDL_Window* window) {
    int width = 0, height = 0;
    SDL_GetWindowSizeInPixels(window, &width, &height);
    if (output.canvas && output.canvas->w == width && output.canvas->h == height) return output.canvas;
    for (ShmBuffer& buffer : output.buffers) destroyBuffer(buffer);  // the compositor keeps what it shows
    SDL_FreeSurface(output.canvas);
    output.canvas = SDL_CreateRGBSurfaceWithFormat(0, width, height, 32, SDL_PIXELFORMAT_XRGB8888);
    output.waiting = false;
    return output.canvas;
}

void SendWaylandCanvas(WaylandOutput& output, const SDL_Rect* band) {
    SDL_Surface* canvas = output.canvas;
    if (!canvas) return;
    const int top = band ? band->y : 0, bottom = band ? band->y + band->h : canvas->h;
    for (ShmBuffer& buffer : output.buffers) {
        if (buffer.staleTop >= buffer.staleBottom) {
            buffer.staleTop = top;
            buffer.staleBottom = bottom;
        } else {
            buffer.staleTop = std::min(buffer.staleTop, top);
            buffer.staleBottom = std::max(buffer.staleBottom, bottom);
        }
    }
    output.waiting = true;
    SendWaitingWaylandRows(output);
}

void SendWaitingWaylandRows(WaylandOutput& output) {
    if (!output.waiting || !output.canvas) return;
    wl_display_dispatch_queue_pending(connection.display, connection.queue);  // releases SDL has read
    ShmBuffer* free = nullptr;
    for (ShmBuffer& buffer : output.buffers) {
        if (buffer.busy) continue;
        if (!buffer.buffer && !makeBuffer(buffer, *output.canvas)) continue;
        free = &buffer;
        break;
    }
    if (!free) return;
    const SDL_Surface& canvas = *output.canvas;
    const int top = free->staleTop, rows = free->staleBottom - free->staleTop;
    std::memcpy(free->pixels + size_t(top) * canvas.pitch, static_cast<const uint8_t*>(canvas.pixels) + size_t(top) * canvas.pitch,
                size_t(rows) * canvas.pitch);
    // Everything written is damaged: that covers whatever the buffer shown until now lacks.
    wl_surface_attach(output.surface, free->buffer, 0, 0);
    wl_surface_damage(output.surface, 0, top, canvas.w, rows);
    wl_surface_commit(output.surface);
    wl_display_flush(connection.display);
    free->busy = true;
    free->staleTop = free->staleBottom = 0;
    output.waiting = false;
    output.shown = true;
}

void CommitWaylandFrame(WaylandOutput& output) {
    if (!output.shown) return;  // before its first buffer, a commit would map it empty
    wl_surface_commit(output.surface);
    wl_display_flush(connection.display);
}

#else  // an SDL without Wayland: no window is ever one

struct WaylandOutput {};
bool WaylandDisplayIsUsable(std::string* reason) {
    *reason = "this SDL has no Wayland driver";
    return false;
}
WaylandOutput* OpenWaylandOutput(SDL_Window*) { return nullptr; }
void CloseWaylandOutput(WaylandOutput*) {}
SDL_Surface* WaylandCanvas(WaylandOutput&, SDL_Window*) { return nullptr; }
void SendWaylandCanvas(WaylandOutput&, const SDL_Rect*) {}
void SendWaitingWaylandRows(WaylandOutput&) {}
void CommitWaylandFrame(WaylandOutput&) {}

#endif

}  // namespace sdl
}  // namespace backend
