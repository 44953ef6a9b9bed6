#include "results/win32/session_shelf.h"

#include <windows.h>
#include <shellapi.h>

#include "storage/win32/settings.h"
#include "storage/win32/wide_path.h"

namespace tw::results {

namespace {

// Moves a file to the Recycle Bin; true when it is gone from its folder (or was not there).
bool Recycle(const std::string& path) {
  const std::wstring wide = storage::Widen(path);
  if (GetFileAttributesW(wide.c_str()) == INVALID_FILE_ATTRIBUTES) return true;
  std::wstring from = wide;
  from.push_back(L'\0');  // the list of names ends in two NULs
  SHFILEOPSTRUCTW op{};
  op.wFunc = FO_DELETE;
  op.pFrom = from.c_str();
  op.fFlags = FOF_ALLOWUNDO | FOF_NOCONFIRMATION | FOF_NOERRORUI | FOF_SILENT;
  return SHFileOperationW(&op) == 0 && !op.fAnyOperationsAborted &&
         GetFileAttributesW(wide.c_str()) == INVALID_FILE_ATTRIBUTES;
}

}  // namespace

SessionShelf::SessionShelf(std::string folder, ResultBook& first)
    : folder_(std::move(folder)), list_(SessionList::Read(settings::ReadMadeKey)), first_(first) {}

SessionShelf::~SessionShelf() { FlushAll(); }

ResultBook& SessionShelf::BookOf(int number) {
  if (number == kFirstSession) return first_;
  Shelved& shelved = books_[number];
  if (!shelved.book) {
    shelved.store = std::make_unique<LogFileStore>(folder_ + SessionFileName(number));
    shelved.book = std::make_unique<ResultBook>(*shelved.store);
    shelved.book->Load();
  }
  return *shelved.book;
}

ResultBook& SessionShelf::CurrentBook() { return BookOf(list_.Current().number); }

void SessionShelf::Store() {
  for (const auto& [key, value] : list_.Keys()) settings::WriteMadeKey(key, value);
}

bool SessionShelf::Switch(std::size_t index) {
  if (index == list_.CurrentIndex() || !list_.SetCurrent(index)) return false;
  CurrentBook();  // read before the windows look at it
  Store();
  if (onSwitched) onSwitched();
  return true;
}

bool SessionShelf::Step(int delta) {
  const std::size_t count = list_.All().size();
  if (count < 2) return false;
  const std::size_t forward = delta >= 0 ? 1 : count - 1;  // one step either way, round the list
  return Switch((list_.CurrentIndex() + forward) % count);
}

std::optional<int> SessionShelf::Add(std::string name, std::string event) {
  const std::optional<int> number = list_.Add(std::move(name), std::move(event));
  if (!number) return std::nullopt;
  Switch(*list_.IndexOf(*number));
  Store();
  return number;
}

std::optional<int> SessionShelf::AddUnshown(std::string name, std::string event) {
  const std::optional<int> number = list_.Add(std::move(name), std::move(event));
  if (number) Store();
  return number;
}

bool SessionShelf::Rename(int number, std::string name, std::string event) {
  if (!list_.Rename(number, std::move(name), std::move(event))) return false;
  Store();
  if (number == list_.Current().number && onSwitched) onSwitched();
  return true;
}

bool SessionShelf::Remove(int number) {
  if (number == kFirstSession || !list_.IndexOf(number)) return false;
  const bool wasCurrent = number == list_.Current().number;
  if (auto found = books_.find(number); found != books_.end()) found->second.book->Flush();
  if (!Recycle(folder_ + SessionFileName(number))) return false;
  // The windows leave the book before it goes.
  if (wasCurrent) {
    list_.SetCurrent(0);
    if (onSwitched) onSwitched();
  }
  books_.erase(number);
  list_.Remove(number);
  Store();
  return true;
}

void SessionShelf::FlushAll() {
  first_.Flush();
  for (auto& [number, shelved] : books_) {
    if (shelved.book) shelved.book->Flush();
  }
}

bool SessionShelf::AnyFailed() const {
  if (first_.State().failed) return true;
  for (const auto& [number, shelved] : books_) {
    if (shelved.book && shelved.book->State().failed) return true;
  }
  return false;
}

std::vector<ResultBook*> SessionShelf::OpenBooks() {
  std::vector<ResultBook*> open{&first_};
  for (auto& [number, shelved] : books_) {
    if (shelved.book) open.push_back(shelved.book.get());
  }
  return open;
}

}  // namespace tw::results
