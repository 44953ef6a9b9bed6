#include "results/win32/log_file_store.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <new>
#include <string_view>
#include <utility>

namespace tw::results {

namespace {

constexpr wchar_t kWindowClass[] = L"TwistwatchLogFileStore";
constexpr UINT kOutcomeMessage = WM_APP + 1;

std::atomic<unsigned> g_saveDelayMs{0};

// The edits the file does not hold yet: those made after the last save that worked.
std::vector<LogEdit> EditsAfter(const std::vector<LogEdit>& edits, std::uint64_t generation) {
  const auto first = std::find_if(edits.begin(), edits.end(),
                                  [generation](const LogEdit& edit) { return edit.generation > generation; });
  return std::vector<LogEdit>(first, edits.end());
}

}  // namespace

namespace testing {
void SetSaveDelay(unsigned milliseconds) { g_saveDelayMs.store(milliseconds); }
}  // namespace testing

LogFileStore::LogFileStore(std::string path) : path_(std::move(path)) {
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = &LogFileStore::WindowProc;
  windowClass.hInstance = instance;
  windowClass.lpszClassName = kWindowClass;
  RegisterClassExW(&windowClass);  // fails harmlessly for every store after the first
  window_ = CreateWindowExW(0, kWindowClass, nullptr, 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, instance, nullptr);
  if (window_) SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

LogFileStore::~LogFileStore() {
  {
    const std::lock_guard<std::mutex> lock(mutex_);
    stopping_ = true;
  }
  wake_.notify_all();
  if (writer_.joinable()) writer_.join();
  if (window_) DestroyWindow(window_);
}

LoadedLog LogFileStore::Load() {
  Flush();
  // Looked at before reading: a change made while it is read then shows at the next save.
  const storage::LogStamp stamp = storage::ResultLogStamp(path_);
  storage::ResultLogRead read = storage::ReadResultLog(path_);
  {
    const std::lock_guard<std::mutex> lock(mutex_);
    stamp_ = stamp;
    inStep_ = read.state != storage::ResultLogRead::State::kUnreadable;
  }
  return read;
}

void LogFileStore::Save(SaveJob job) {
  // The writer starts with the first save: a thread costs Wine three megabytes of
  // committed stacks, which a start that logs nothing need not pay.
  if (!writer_.joinable()) writer_ = std::thread(&LogFileStore::Work, this);
  {
    const std::lock_guard<std::mutex> lock(mutex_);
    // The newest job wins: it holds every edit the one it replaces held.
    waiting_.emplace(Queued{std::move(job), mergesDelivered_});
  }
  wake_.notify_one();
}

void LogFileStore::SetDone(std::function<void(SaveOutcome)> done) { done_ = std::move(done); }

void LogFileStore::Flush() {
  for (;;) {
    {
      std::unique_lock<std::mutex> lock(mutex_);
      idle_.wait(lock, [this] { return !busy_ && !waiting_; });
      if (answers_.empty()) return;
    }
    // Delivering may hand over the next save (one that waited in the book).
    DeliverOutcomes();
  }
}

void LogFileStore::DeliverOutcomes() {
  for (;;) {
    Answer answer;
    {
      const std::lock_guard<std::mutex> lock(mutex_);
      if (answers_.empty()) return;
      answer = std::move(answers_.front());
      answers_.pop_front();
    }
    // Before the book hears of it: a save it hands over from here on starts from the
    // merged lines.
    mergesDelivered_ = std::max(mergesDelivered_, answer.merge);
    if (done_) {
      const std::function<void(SaveOutcome)> done = done_;
      done(std::move(answer.outcome));
    }
  }
}

LRESULT CALLBACK LogFileStore::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != kOutcomeMessage) return DefWindowProcW(window, message, wParam, lParam);
  auto* const store = reinterpret_cast<LogFileStore*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  // No exception crosses a window procedure; the book has its state either way.
  try {
    if (store) store->DeliverOutcomes();
  } catch (...) {
  }
  return 0;
}

void LogFileStore::Work() {
  for (;;) {
    Queued queued;
    bool stale = false;
    {
      std::unique_lock<std::mutex> lock(mutex_);
      wake_.wait(lock, [this] { return stopping_ || waiting_; });
      if (!waiting_) return;  // closing, and every save is written
      queued = std::move(*waiting_);
      waiting_.reset();
      busy_ = true;
      // Handed over before a merge reached the book: its lines lack what the merge found.
      stale = queued.mergesSeen < mergesProduced_;
    }
    if (const unsigned delay = g_saveDelayMs.load()) Sleep(delay);
    Answer answer;
    // Nothing may leave a thread's function by an exception: that ends the program.
    // Whatever stopped a save half way, the next one reads the file before writing.
    try {
      answer.outcome = Write(queued.job, stale);
    } catch (const std::bad_alloc&) {
      answer.outcome = SaveOutcome{};
      answer.outcome.error = ERROR_NOT_ENOUGH_MEMORY;
      inStep_ = false;
    } catch (...) {
      answer.outcome = SaveOutcome{};
      answer.outcome.error = ERROR_INTERNAL_ERROR;
      inStep_ = false;
    }
    answer.outcome.generation = queued.job.generation;
    // The book may change its lines in place once it has the outcome: let go of them first.
    queued = Queued{};
    {
      const std::lock_guard<std::mutex> lock(mutex_);
      if (answer.outcome.merged) answer.merge = ++mergesProduced_;
      answers_.push_back(std::move(answer));
      busy_ = false;
    }
    // The destructor joins this thread before the window goes, so the window is there.
    if (window_) PostMessageW(window_, kOutcomeMessage, 0, 0);
    idle_.notify_all();
  }
}

SaveOutcome LogFileStore::Write(const SaveJob& job, bool stale) {
  SaveOutcome outcome;
  const storage::LogStamp now = storage::ResultLogStamp(path_);
  if (inStep_ && !stale && !job.reread && now.Matches(stamp_)) {
    if (!WriteOrDelete(job.snapshot, job.deleteWhenEmpty, outcome.error)) return outcome;
    stamp_ = storage::ResultLogStamp(path_);
    lastSavedGeneration_ = job.generation;
    outcome.saved = true;
    return outcome;
  }
  // Changed by someone else, or never read: its lines first, this run's edits over them.
  storage::ResultLogRead read = storage::ReadResultLog(path_);
  if (read.state == storage::ResultLogRead::State::kUnreadable) {
    inStep_ = false;
    outcome.error = read.error;
    return outcome;
  }
  storage::LineArena lines = ApplyEdits(std::move(read.lines), EditsAfter(job.edits, lastSavedGeneration_));
  // Until a merged log is written and the book has it, the book's lines lack the file's.
  inStep_ = false;
  if (!WriteOrDelete(lines.Packed(), job.deleteWhenEmpty, outcome.error)) return outcome;
  stamp_ = storage::ResultLogStamp(path_);
  inStep_ = true;
  lastSavedGeneration_ = job.generation;
  outcome.saved = true;
  // The file held nothing the book lacks (a save handed over early, a log read again).
  if (lines.Packed() == job.snapshot) return outcome;
  outcome.merged = true;
  outcome.mergedLines = std::move(lines);
  return outcome;
}

bool LogFileStore::WriteOrDelete(std::string_view packed, bool deleteWhenEmpty, unsigned long& error) {
  if (!deleteWhenEmpty || !packed.empty()) return storage::WriteResultLogPacked(path_, packed, &error);
  if (storage::DeleteResultLog(path_)) return true;
  const DWORD cause = GetLastError();
  if (cause == ERROR_FILE_NOT_FOUND || cause == ERROR_PATH_NOT_FOUND) return true;  // gone already
  error = cause ? cause : ERROR_ACCESS_DENIED;
  return false;
}

}  // namespace tw::results
