// The debugger output on Windows, caught as a debug monitor does: through
// the shared buffer "DBWIN_BUFFER" (the writer's process id, then the text)
// and the events that hand it between OutputDebugStringA and the monitor.
#include <windows.h>

#include <atomic>
#include <cstring>
#include <string>

#include "test_support.h"

namespace heaptally_test {
namespace {

constexpr DWORD kBufferSize = 4096;

// The writers look for the monitors' mutex once per process, at their first
// output: it exists from the start of the test program.
const HANDLE g_monitor_mutex = ::CreateMutexW(nullptr, FALSE, L"DBWinMutex");

}  // namespace

struct StderrCapture::Listener {
  HANDLE buffer_ready = ::CreateEventW(nullptr, FALSE, FALSE, L"DBWIN_BUFFER_READY");
  HANDLE data_ready = ::CreateEventW(nullptr, FALSE, FALSE, L"DBWIN_DATA_READY");
  HANDLE mapping = ::CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                        kBufferSize, L"DBWIN_BUFFER");
  const char* view =
      mapping ? static_cast<const char*>(::MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, kBufferSize))
              : nullptr;
  HANDLE thread = nullptr;
  std::atomic<bool> stop{false};
  std::string text;

  bool ready() const { return g_monitor_mutex && buffer_ready && data_ready && view; }

  // Takes every text of this process until stopped; a text already signalled
  // when the stop comes is still taken.
  static DWORD WINAPI Run(void* self) {
    auto* listener = static_cast<Listener*>(self);
    for (;;) {
      ::SetEvent(listener->buffer_ready);
      if (::WaitForSingleObject(listener->data_ready, 100) == WAIT_OBJECT_0) {
        DWORD process = 0;
        std::memcpy(&process, listener->view, sizeof process);
        const char* at = listener->view + sizeof process;
        if (process == ::GetCurrentProcessId()) {
          listener->text.append(at, ::strnlen(at, kBufferSize - sizeof process));
        }
      } else if (listener->stop) {
        return 0;
      }
    }
  }

  ~Listener() {
    if (view) ::UnmapViewOfFile(view);
    for (HANDLE h : {mapping, data_ready, buffer_ready}) {
      if (h) ::CloseHandle(h);
    }
  }
};

StderrCapture::StderrCapture() : listener_(new Listener) {
  if (listener_->ready()) {
    listener_->thread = ::CreateThread(nullptr, 0, Listener::Run, listener_, 0, nullptr);
  }
}

StderrCapture::~StderrCapture() {
  finish();
}

std::string StderrCapture::finish() {
  if (listener_ == nullptr) {
    return {};
  }
  std::string text;
  if (listener_->thread) {
    listener_->stop = true;
    ::WaitForSingleObject(listener_->thread, INFINITE);
    ::CloseHandle(listener_->thread);
    text = std::move(listener_->text);
  } else {
    text = "(the debugger output could not be caught)";
  }
  delete listener_;
  listener_ = nullptr;
  return text;
}

}  // namespace heaptally_test
