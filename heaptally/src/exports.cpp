// The four exports over the process-wide tracker: the live list and its lock.
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <mutex>
#include <new>
#include <string>

#if defined(_WIN32)
#include <windows.h>
#elif __has_include(<sys/single_threaded.h>)
#include <sys/single_threaded.h>
#endif

#include "block_header.h"
#include "debug_output.h"
#include "header_record.h"
#include "heaptally.h"
#include "live_list.h"
#include "plain_block.h"
#include "report.h"
#include "summary.h"

namespace heaptally {
namespace {

// Holds a T that is never destroyed.
template <typename T>
union NeverDestroyed {
  constexpr NeverDestroyed() : value() {}
  ~NeverDestroyed() {}
  T value;
};

#if defined(_WIN32)
// On Windows the lock is a critical section, created when the DLL is attached
// to the process and deleted when it is detached (DllMain below). Taken
// without contention it stays in user mode with one interlocked instruction;
// the standard mutex of this compiler goes through the winpthreads layer on
// top of the same primitives.
class TrackerMutex {
 public:
  constexpr TrackerMutex() = default;
  void create() { ::InitializeCriticalSection(&section_); }
  void destroy() { ::DeleteCriticalSection(&section_); }
  void lock() { ::EnterCriticalSection(&section_); }
  void unlock() { ::LeaveCriticalSection(&section_); }

 private:
  CRITICAL_SECTION section_{};
};
#else
// The mutex is constant-initialised, so it exists as soon as the library is
// loaded and before any caller can reach an export; it is destroyed when the
// library is unloaded.
using TrackerMutex = std::mutex;
#endif

// The process-wide state. Live blocks are never freed at unload.
struct Tracker {
  TrackerMutex lock;
  LiveList list;
  // Where the headers of live blocks, and of freed ones, start. memFree
  // reads a header directly only once this says it is live, so a pointer
  // freed before never leads it into memory that the heap took back. Never
  // destroyed, so that blocks can still be freed while the process unloads
  // its libraries.
  NeverDestroyed<HeaderRecord> headers;
};

constinit Tracker g_tracker;

bool process_is_single_threaded() {
#if defined(_WIN32)
  return false;
#elif __has_include(<sys/single_threaded.h>)
  return __libc_single_threaded != 0;
#else
  return false;
#endif
}

// Holds the tracker's lock for the rest of an export. While the process has
// only one thread, nothing can run beside the export and no thread can start
// until it returns, so the lock is skipped (the test the C++ runtime makes
// for its reference counts); a second thread turns the lock on for good.
class TrackerLock {
 public:
  TrackerLock() : locked_(!process_is_single_threaded()) {
    if (locked_) {
      g_tracker.lock.lock();
    }
  }
  ~TrackerLock() {
    if (locked_) {
      g_tracker.lock.unlock();
    }
  }
  TrackerLock(const TrackerLock&) = delete;
  TrackerLock& operator=(const TrackerLock&) = delete;

 private:
  bool locked_;
};

const char* file_text(const char* file) {
  return file != nullptr ? file : "(null)";
}

// Reports a block of ours whose guard words were overwritten. The rare paths
// stay out of line so that the exports' common path keeps a small frame.
[[gnu::cold, gnu::noinline]] void report_damage(const BlockHeader* header,
                                                const GuardProbe& probe) {
  const char* what = !probe.front_ok() && !probe.back_ok() ? "front and back guards"
                     : !probe.front_ok()                   ? "front guard"
                     : !probe.back_ok()                    ? "back guard"
                                                           : "block address field";
  char text[kKeyBufferSize + 160];
  std::snprintf(text, sizeof text,
                "Heaptally: memFree: damaged %s in the block at %p from %s(%i); the block is "
                "released\n",
                what, user_block_of(const_cast<BlockHeader*>(header)), file_text(header->file),
                header->line);
  debug_output(text);
}

[[gnu::cold, gnu::noinline]] void report_not_live(const void* block) {
  char text[200];
  std::snprintf(text, sizeof text,
                "Heaptally: memFree: %p is not a live block (freed twice, a pointer into a block, "
                "or no heap memory); it is left alone\n",
                block);
  debug_output(text);
}

}  // namespace
}  // namespace heaptally

using namespace heaptally;

extern "C" {

#if defined(_WIN32)
// Process attach creates the lock and process detach deletes it; thread
// attach and detach do nothing.
BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) {
    g_tracker.lock.create();
  } else if (reason == DLL_PROCESS_DETACH) {
    g_tracker.lock.destroy();
  }
  return TRUE;
}
#endif

HEAPTALLY_API void* HEAPTALLY_CALL memAlloc(int32_t size, const char* file, int32_t line) {
  if (size < 0 || size > kMaxRequest) {
    return nullptr;
  }
  void* allocation = std::malloc(kHeaderSize + static_cast<std::size_t>(size));
  if (allocation == nullptr) {
    return nullptr;
  }
  // The header is filled before the lock is taken: no other thread can see
  // the block until it is linked.
  BlockHeader* header = init_header(allocation, size, file, line);
  void* block = user_block_of(header);
  {
    TrackerLock guard;
    if (!g_tracker.headers.value.add_live(header)) [[unlikely]] {
      std::free(allocation);
      return nullptr;
    }
    link_newest(g_tracker.list, header);
  }
  return block;
}

HEAPTALLY_API void HEAPTALLY_CALL memFree(void* block) {
  if (block == nullptr) {
    return;
  }
  BlockHeader* header = header_of(block);
  void* release = header;  // what goes back to the heap once the lock is left
  {
    TrackerLock guard;
    HeaderRecord& headers = g_tracker.headers.value;
    const HeaderState state = headers.free_live(header);
    if (state == HeaderState::kLive) [[likely]] {
      const GuardProbe probe = probe_live_header(header);
      if (probe.all()) [[likely]] {
        unlink(g_tracker.list, header);
      } else {
        // The caller wrote over the marks, and maybe over the links too: the
        // list finds the block's neighbours.
        unlink_by_walking(g_tracker.list, header);
        report_damage(header, probe);
      }
      retire_header(header);
    } else if (is_plain_block(headers, block, state)) {
      release = block;
    } else {
      // Freed already, a pointer into a block, or no heap memory at all:
      // free() must never see it.
      report_not_live(block);
      return;
    }
  }
  std::free(release);
}

HEAPTALLY_API int32_t HEAPTALLY_CALL memSize(void) {
  std::int64_t total = 0;
  {
    TrackerLock guard;
    for (const BlockHeader* at = g_tracker.list.newest; at != nullptr; at = at->older) {
      total += at->accounted_size;
    }
  }
  return static_cast<int32_t>(std::min<std::int64_t>(total, std::numeric_limits<int32_t>::max()));
}

HEAPTALLY_API void HEAPTALLY_CALL Heaptally(const char* path) {
  TrackerLock guard;
  std::FILE* file = path != nullptr ? std::fopen(path, "w") : nullptr;
  const int open_error = errno;
  try {
    if (path != nullptr && file == nullptr) {
      debug_output((std::string("Heaptally: cannot open \"") + path + "\" for writing (" +
                    std::strerror(open_error) + "); the dump follows here\n")
                       .c_str());
    }
    const Summary summary = summarize(g_tracker.list.newest);
    const bool written = write_report(summary, file);
    if (file != nullptr) {
      const bool closed = std::fclose(file) == 0;
      file = nullptr;
      if (!written || !closed) {
        debug_output(
            (std::string("Heaptally: writing the dump to \"") + path + "\" failed\n").c_str());
      }
    }
  } catch (const std::bad_alloc&) {
    if (file != nullptr) {
      std::fclose(file);
    }
    debug_output("Heaptally: out of memory while building the dump\n");
  }
}

}  // extern "C"
