// Settings of the heap the programs are linked with (jemalloc): compiled in, so that
// they hold however the program is started.
//
// A book is built of hundreds of thousands of small blocks, all made at once when
// it opens. Backing the heap with huge pages, where the system allows them ("thp"
// in madvise mode asks for them on the heap only), turns most of the page faults of
// that first touch into one fault per 2 MB.

extern "C" {
// Read by the allocator before its first allocation; the name is its interface.
extern const char* malloc_conf;
const char* malloc_conf = "thp:always,metadata_thp:auto";
}
