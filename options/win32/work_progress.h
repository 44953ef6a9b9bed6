#pragma once
#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "toolkit/win32/form.h"

namespace tw::options {

// The small window a long import or export shows: a progress bar and Cancel. It has
// no close button of its own; Escape presses Cancel.
class ProgressBox : public Form {
 public:
  explicit ProgressBox(const char* caption);

  HWND Bar() const { return bar_; }
  HWND CancelButton() const { return cancel_; }
  bool Cancelled() const { return cancelled_; }

 protected:
  void OnCreate() override;
  void OnCommand(int id, int code, HWND control) override;
  LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  HWND bar_ = nullptr;
  HWND cancel_ = nullptr;
  bool cancelled_ = false;
};

// The progress of one piece of work on the UI thread (an import or an export), fed
// from the work's own progress calls. Work that ends within half a second shows
// nothing; longer work shows a ProgressBox, keeps every window painted and answering
// by running their messages at each step, and takes no other input meanwhile (every
// other window of the program is disabled until the box goes).
class WorkProgress {
 public:
  WorkProgress(HWND owner, const char* caption);
  ~WorkProgress();
  WorkProgress(const WorkProgress&) = delete;
  WorkProgress& operator=(const WorkProgress&) = delete;

  // `done` of `total`; false once the user cancelled (or the program is quitting).
  bool Step(std::size_t done, std::size_t total);
  // Gives the other windows their input back and takes the box away.
  void Close();

  // The box, once shown; null before and after.
  ProgressBox* Box() const { return box_.get(); }

 private:
  void Open();
  void Pump();

  HWND owner_;
  const char* caption_;
  std::int64_t start_;
  std::unique_ptr<ProgressBox> box_;
  std::vector<HWND> disabled_;
  bool cancelled_ = false;
};

// Called at every step while the box is shown, so a test sees it and can press Cancel.
void SetProgressStepForTesting(std::function<void(WorkProgress&)> step);

}  // namespace tw::options
