/*
 * Heaptally: a heap allocation tracker.
 *
 * memAlloc hands out heap blocks that remember the source file and line that
 * asked for them; memFree releases them; memSize sums what is live; Heaptally
 * writes a report of the live blocks grouped by file and line. Any thread may
 * call any of the four; all state is process-wide behind one lock.
 *
 * Use the macros (MEM_ALLOC, MEM_FREE, MEM_SIZE, MEM_DUMP) so that each block
 * carries the file and line of the call.
 */
#ifndef HEAPTALLY_H
#define HEAPTALLY_H

#include <stddef.h>
#include <stdint.h>

#if defined(_WIN32)
/* <windows.h> names a page state MEM_FREE (0x10000, as VirtualQuery reports
 * it). It is read here, before the tracker's MEM_FREE below takes the name,
 * so that a file may include the two headers in either order: a later
 * <windows.h> is then skipped by its include guard. */
#include <windows.h>
#undef MEM_FREE
#endif

#if defined(_WIN32)
#if defined(HEAPTALLY_BUILDING)
#define HEAPTALLY_API __declspec(dllexport)
#else
#define HEAPTALLY_API __declspec(dllimport)
#endif
#define HEAPTALLY_CALL __cdecl
#else
#define HEAPTALLY_API __attribute__((visibility("default")))
#define HEAPTALLY_CALL
#endif

#ifdef __cplusplus
extern "C" {
#endif

/*
 * Allocates a block of at least size bytes and records it, with file and line,
 * as the newest live block. Returns the block, aligned for any fundamental
 * type, or a null pointer when the heap cannot supply it or size is negative
 * or too large to account (more than 2147483592 bytes); nothing is recorded
 * then. file is kept by reference, not copied: it must stay valid while the
 * block lives (a literal such as __FILE__ does). The block accounts for its
 * size rounded up to a multiple of 4, plus 54 bytes.
 */
HEAPTALLY_API void* HEAPTALLY_CALL memAlloc(int32_t size, const char* file, int32_t line);

/*
 * Releases a block. A block from memAlloc leaves the live list; a null
 * pointer does nothing. The tracker keeps a record of its live blocks and
 * reads a block's hidden header only once it has found the block there.
 * A block of memAlloc whose guard words were overwritten (a write just in
 * front of the block, or into its hidden header) is reported on the debugger
 * output with its file and line, then released whole. A block freed twice is
 * reported and left alone, whatever its size, unless its memory was handed
 * out again in between. Any other pointer is taken for a block of the plain
 * heap (malloc) and released as such, except when the words in front of it
 * look like a hidden header or cannot be read: then it is reported and left
 * alone. So a pointer into the middle of a block is caught only when the
 * bytes just before it happen to look like a header; otherwise it goes to
 * free(), which the C runtime does not allow.
 */
HEAPTALLY_API void HEAPTALLY_CALL memFree(void* block);

/*
 * Returns the sum of the accounted sizes of all live blocks (0 when none),
 * capped at INT32_MAX.
 */
HEAPTALLY_API int32_t HEAPTALLY_CALL memSize(void);

/*
 * Writes the report of the live blocks: two headings, the total size and
 * count, then one line per source file and line ("sum<TAB>count<TAB>largest
 * <TAB>file(line)") in byte order of "file(line)". The report replaces the
 * file at path; with a null path, or when the file cannot be opened, it goes
 * to the debugger output (standard error) instead, in the second case after a
 * line that names the file and the reason. The live blocks are not changed.
 */
HEAPTALLY_API void HEAPTALLY_CALL Heaptally(const char* path);

#ifdef __cplusplus
}
#endif

/* A size as memAlloc takes it: one that does not fit becomes -1, refused. */
static inline int32_t heaptally_request_size(size_t size) {
  return size <= (size_t)INT32_MAX ? (int32_t)size : -1;
}

/* Allocate size bytes recorded against the calling file and line. */
#define MEM_ALLOC(size) memAlloc(heaptally_request_size(size), __FILE__, __LINE__)
#define MEM_FREE(block) memFree(block)
#define MEM_SIZE() memSize()
#define MEM_DUMP(path) Heaptally(path)

#endif /* HEAPTALLY_H */
