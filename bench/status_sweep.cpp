// Every one of the 2^32 status values through GetErrorName: the lookup is total, never
// returns null, and answers each value with its table text or with "Unknown".
//
//     status_sweep [THREADS]      (default: one per processor)
//
// Exits 0 when every value is answered as it should be, 1 otherwise; prints the time.
#include <atomic>
#include <chrono>
#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>
#include <vector>

#include "diag/error_names.h"
#include "diag/status_name_table.h"

namespace {

struct Result {
    uint64_t named = 0;
    uint64_t unknown = 0;
    uint64_t wrong = 0;
    uint32_t first_wrong = 0;
};

// The values low .. high (inclusive), walking the sorted table alongside.
Result Sweep(uint32_t low, uint32_t high) {
    Result r;
    size_t next = 0;
    while (next < kStatusNameCount && kStatusNameTable[next].status < low) ++next;
    const char* unknown = nullptr;
    for (uint64_t v = low; v <= high; ++v) {
        const uint32_t status = static_cast<uint32_t>(v);
        const char* name = GetErrorName(static_cast<HRESULT>(status));
        bool ok;
        if (next < kStatusNameCount && kStatusNameTable[next].status == status) {
            const char* expected = kStatusNameTable[next++].name;
            ok = name != nullptr && (name == expected || std::strcmp(name, expected) == 0);
            ++r.named;
        } else {
            if (name != nullptr && name != unknown && std::strcmp(name, "Unknown") == 0)
                unknown = name;
            ok = name != nullptr && name == unknown;
            ++r.unknown;
        }
        if (!ok && r.wrong++ == 0) r.first_wrong = status;
    }
    return r;
}

}  // namespace

int main(int argc, char** argv) {
    unsigned threads = std::thread::hardware_concurrency();
    if (argc > 1) threads = static_cast<unsigned>(std::strtoul(argv[1], nullptr, 10));
    if (threads == 0) threads = 1;
    if (threads > 256) threads = 256;

    const auto start = std::chrono::steady_clock::now();
    std::vector<Result> results(threads);
    std::vector<std::thread> workers;
    const uint64_t total = uint64_t(1) << 32;
    for (unsigned t = 0; t < threads; ++t) {
        const uint64_t low = total * t / threads;
        const uint64_t high = total * (t + 1) / threads - 1;
        workers.emplace_back([&results, t, low, high] {
            results[t] = Sweep(static_cast<uint32_t>(low), static_cast<uint32_t>(high));
        });
    }
    for (std::thread& w : workers) w.join();
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();

    Result sum;
    bool have_wrong = false;
    for (const Result& r : results) {
        sum.named += r.named;
        sum.unknown += r.unknown;
        if (r.wrong != 0 && !have_wrong) {
            sum.first_wrong = r.first_wrong;
            have_wrong = true;
        }
        sum.wrong += r.wrong;
    }
    std::printf("status_sweep: %" PRIu64 " values in %.1f s on %u thread(s): %" PRIu64
                " named, %" PRIu64 " Unknown, %" PRIu64 " wrong\n",
                sum.named + sum.unknown, seconds, threads, sum.named, sum.unknown, sum.wrong);
    if (sum.wrong != 0) {
        std::printf("status_sweep: first wrong answer at 0x%08" PRIX32 "\n", sum.first_wrong);
        return 1;
    }
    if (sum.named != kStatusNameCount || sum.named + sum.unknown != total) {
        std::printf("status_sweep: expected %zu named values\n", kStatusNameCount);
        return 1;
    }
    return 0;
}
