#pragma once
// Runs work in a multithreaded COM apartment of its own, whatever the calling thread
// has made of COM (the UI thread's is single-threaded, and may be uninitialized).
#include <windows.h>

#include <thread>

namespace tw::stackmat {

// Work that throws is ended there: no exception crosses the thread.
template <typename Work>
void RunOnComThread(Work&& work) {
  std::thread thread([&] {
    const HRESULT init = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    try {
      work();
    } catch (...) {
    }
    if (SUCCEEDED(init)) CoUninitialize();
  });
  thread.join();
}

}  // namespace tw::stackmat
