#pragma once
// Memory for the objects of a large file, faulted in by a helper thread while the file
// is read and built on this one.
//
// Building a large book touches some 80 MB of fresh heap, and taking each page's first
// fault as it comes costs about a third of the load. The warm-up sets that much of
// this thread's heap aside (allocated and freed at once, so the allocator holds it for
// the next allocations of this thread) and has a helper thread fault it in ahead of
// the reader. Faulting in never changes what memory holds, so the two threads need no
// agreement on who touches a page first. Only with the allocator the programs link
// (jemalloc), whose freed memory goes back to the freeing thread's own arena; with any
// other heap it does nothing.

#include <atomic>
#include <cstddef>
#include <string>
#include <thread>

namespace tessaly {

class THeapWarmup {
public:
    // Sets aside and starts faulting in `bytes` of heap; nothing for a small amount.
    explicit THeapWarmup(std::size_t bytes);
    // Stops the helper where it is and waits for it.
    ~THeapWarmup();
    THeapWarmup(const THeapWarmup&) = delete;
    THeapWarmup& operator=(const THeapWarmup&) = delete;

    // About the heap a file at `path` is built in: its size times `ratio` (some 3 for
    // a book, 2 for a diary); 0 when its size is unknown or that is more than a warm-up
    // sets aside (96 MB), since for so large a file it would raise the peak too far.
    static std::size_t ForFile(const std::string& path, std::size_t ratio);

private:
    std::atomic<bool> stop_{false};
    std::thread helper_;
};

// The allocator's arena of this thread, or -1 with another allocator.
int CurrentHeapArena();
// Has this thread allocate from `arena` (the CurrentHeapArena of another thread), so
// that files read on several threads share the heap one warm-up faulted in, rather
// than each thread faulting in fresh memory of its own; nothing for -1.
void UseHeapArena(int arena);

} // namespace tessaly
