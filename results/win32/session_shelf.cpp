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

// The names of the files of the folder that may be sessions' logs.
std::vector<std::string> LogFilesIn(const std::string& folder) {
  std::vector<std::string> names;
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW(storage::Widen(folder + "Result*.lst").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) names.push_back(storage::Narrow(found.cFileName));
  } while (FindNextFileW(search, &found));
  FindClose(search);
  return names;
}

}  // namespace

SessionShelf::SessionShelf(std::string folder, ResultBook& first)
    : folder_(std::move(folder)),
      list_(SessionList::Read(settings::ReadMadeKey, {settings::KeyNames(), LogFilesIn(folder_)})),
      first_(first) {
  first_.AddWatcher(this);
  // Sessions the stored list had lost are in it again, and stay so.
  if (list_.FoundAgain() > 0) Store();
}

SessionShelf::~SessionShelf() {
  onSaveStateChanged = nullptr;
  first_.RemoveWatcher(this);
  for (auto& [number, shelved] : books_) {
    if (shelved.book) shelved.book->RemoveWatcher(this);
  }
  FlushAll();
}

ResultBook& SessionShelf::Shelve(int number) {
  if (number == kFirstSession) return first_;
  Shelved& shelved = books_[number];
  if (!shelved.book) {
    shelved.store = std::make_unique<LogFileStore>(folder_ + SessionFileName(number));
    shelved.book = std::make_unique<ResultBook>(*shelved.store);
    shelved.book->AddWatcher(this);
  }
  return *shelved.book;
}

ResultBook& SessionShelf::BookOf(int number) {
  ResultBook& book = Shelve(number);
  if (!book.Loaded()) book.Load();
  return book;
}

ResultBook& SessionShelf::StartBook() { return Shelve(list_.Current().number); }

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

std::optional<int> SessionShelf::Add(std::string name, std::string event, int cubes) {
  const std::optional<int> number =
      list_.Add(std::move(name), std::move(event), cubes, [this](int n) { return LogThere(n); });
  if (!number) return std::nullopt;
  Switch(*list_.IndexOf(*number));
  Store();
  return number;
}

std::optional<int> SessionShelf::AddUnshown(std::string name, std::string event) {
  const std::optional<int> number =
      list_.Add(std::move(name), std::move(event), 0, [this](int n) { return LogThere(n); });
  if (number) Store();
  return number;
}

bool SessionShelf::Rename(int number, std::string name, std::string event, int cubes) {
  if (!list_.Rename(number, std::move(name), std::move(event), cubes)) return false;
  Store();
  if (number == list_.Current().number && onSwitched) onSwitched();
  return true;
}

bool SessionShelf::SetCases(int number, std::string cases) {
  const std::optional<std::size_t> index = list_.IndexOf(number);
  if (!index || list_.All()[*index].cases == cases || !list_.SetCases(number, cases)) return false;
  // An empty choice is no key of the list's: it is cleared here.
  settings::WriteMadeKey(settings::kSessionCases.For(number), list_.All()[*index].cases);
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
  if (auto found = books_.find(number); found != books_.end()) found->second.book->RemoveWatcher(this);
  books_.erase(number);
  list_.Remove(number);
  // Its keys go too: keys left behind would bring the session back as one found again.
  for (const std::string& key : SessionList::KeysOf(number)) settings::DeleteMadeKey(key);
  Store();
  if (onSaveStateChanged) onSaveStateChanged();
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

bool SessionShelf::LogThere(int number) const {
  return GetFileAttributesW(storage::Widen(folder_ + SessionFileName(number)).c_str()) != INVALID_FILE_ATTRIBUTES;
}

ResultBook* SessionShelf::HeldBook(int number) const {
  if (number == kFirstSession) return &first_;
  const auto found = books_.find(number);
  return found == books_.end() ? nullptr : found->second.book.get();
}

std::vector<std::string> SessionShelf::UnsavedElsewhere() const {
  std::vector<std::string> names;
  for (const Session& session : list_.All()) {
    if (session.number == list_.Current().number) continue;
    const ResultBook* book = HeldBook(session.number);
    if (book && book->State().failed) names.push_back(session.name);
  }
  return names;
}

void SessionShelf::OnSaveStateChanged(const ResultBook& book) {
  if (book.State().saving) RetryFailedSaves(book);
  if (onSaveStateChanged) onSaveStateChanged();
}

// A save of one book tries again each other book whose save failed (a disk that was
// full has room again, a log another program held is free).
void SessionShelf::RetryFailedSaves(const ResultBook& saving) {
  if (retrying_) return;
  retrying_ = true;
  for (ResultBook* book : OpenBooks()) {
    if (book != &saving && book->State().failed && !book->State().saving) book->Save();
  }
  retrying_ = false;
}

std::vector<ResultBook*> SessionShelf::OpenBooks() {
  std::vector<ResultBook*> open;
  if (first_.Loaded()) open.push_back(&first_);
  for (auto& [number, shelved] : books_) {
    if (shelved.book && shelved.book->Loaded()) open.push_back(shelved.book.get());
  }
  return open;
}

}  // namespace tw::results
