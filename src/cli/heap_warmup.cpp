#include "cli/heap_warmup.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <sys/mman.h>
#include <system_error>
#include <utility>
#include <vector>

// Present when the program is linked with jemalloc (tessaly_heap), absent otherwise.
extern "C" int mallctl(const char* name, void* oldp, std::size_t* oldlenp, void* newp,
                       std::size_t newlen) __attribute__((weak));

namespace tessaly {

namespace {

// Below this the helper costs more than it saves.
constexpr std::size_t kSmallest = std::size_t{8} << 20;
// Blocks the allocator keeps in the thread's own arena: well under the size it serves
// from a separate arena of its own (8 MB by default).
constexpr std::size_t kBlock = std::size_t{4} << 20;
// Faulted in a huge page at a time, so that the reader's own calls on its memory
// (mapping more, giving the file's read bytes back) are not held up for long.
constexpr std::size_t kStep = std::size_t{2} << 20;
// The most set aside. The file's image is still held while the helper runs ahead of
// the reader, so for a large file the warm-up would add its whole size to the peak:
// the limit book (68 MB) would need some 300 MB instead of 120. Such a file is built
// without it; it pays for itself on the files of ordinary books.
constexpr std::size_t kMost = std::size_t{96} << 20;

} // namespace

THeapWarmup::THeapWarmup(std::size_t bytes) {
#ifdef MADV_POPULATE_WRITE
    if (!mallctl || bytes < kSmallest)
        return;
    bytes = std::min(bytes, kMost);
    std::vector<std::pair<std::uintptr_t, std::size_t>> blocks;
    blocks.reserve(bytes / kBlock + 1);
    for (std::size_t taken = 0; taken < bytes; taken += kBlock) {
        void* block = std::malloc(kBlock);
        if (!block)
            break;
        blocks.emplace_back(reinterpret_cast<std::uintptr_t>(block), kBlock);
    }
    // Freed, the blocks stay with this thread's arena, ready for what it allocates next.
    for (const auto& [address, size] : blocks)
        std::free(reinterpret_cast<void*>(address));
    // The allocator hands out its lowest addresses first: fault them in first.
    std::sort(blocks.begin(), blocks.end());
    try {
        helper_ = std::thread([this, blocks = std::move(blocks)] {
            const std::uintptr_t page = 4096;
            for (const auto& [address, size] : blocks) {
                const std::uintptr_t first = address & ~(page - 1);
                const std::uintptr_t end = address + size;
                for (std::uintptr_t at = first; at < end; at += kStep) {
                    if (stop_.load(std::memory_order_relaxed))
                        return;
                    // Only advice: a refusal (an older kernel) leaves the faults to the reader.
                    if (::madvise(reinterpret_cast<void*>(at), std::min(kStep, end - at),
                                  MADV_POPULATE_WRITE) != 0)
                        return;
                }
            }
        });
    } catch (const std::system_error&) {
        // No thread to be had: the reader takes its own faults, as without the warm-up.
    }
#else
    (void)bytes;
#endif
}

THeapWarmup::~THeapWarmup() {
    stop_.store(true, std::memory_order_relaxed);
    if (helper_.joinable())
        helper_.join();
}

std::size_t THeapWarmup::ForFile(const std::string& path, std::size_t ratio) {
    std::error_code ec;
    const auto size = std::filesystem::file_size(path, ec);
    if (ec || size > kMost / std::max<std::size_t>(ratio, 1))
        return 0;
    return static_cast<std::size_t>(size) * ratio;
}

int CurrentHeapArena() {
    unsigned arena = 0;
    std::size_t size = sizeof(arena);
    if (!mallctl || mallctl("thread.arena", &arena, &size, nullptr, 0) != 0)
        return -1;
    return static_cast<int>(arena);
}

void UseHeapArena(int arena) {
    if (!mallctl || arena < 0)
        return;
    unsigned index = static_cast<unsigned>(arena);
    // Only a preference: on a refusal the thread keeps its own arena.
    mallctl("thread.arena", nullptr, nullptr, &index, sizeof(index));
}

} // namespace tessaly
