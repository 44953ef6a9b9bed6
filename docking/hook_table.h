#pragma once
// The windows whose message procedure has been replaced, each with the procedure it
// had before. Generic over handle and procedure so that it runs without real windows.
#include <algorithm>
#include <cstddef>
#include <optional>
#include <span>
#include <vector>

namespace tw::docking {

template <typename Handle, typename Proc>
struct HookEntry {
  Handle hWnd{};
  Proc PrevWndProc{};
};

// Far above any real use (the program hooks two windows), the default bound on live
// entries keeps the count and the capacity within 16 bits; registrations beyond it are
// ignored.
template <typename Handle, typename Proc, int MaxLive = 32757>
class HookTable {
 public:
  using Entry = HookEntry<Handle, Proc>;

  // Spare slots kept above the live entries, so most registrations need no resize.
  static constexpr int GrowthStep = 10;
  static constexpr int MaxLiveEntries = MaxLive;
  static_assert(MaxLiveEntries > 0 && MaxLiveEntries - 1 + GrowthStep <= 32767);

  // `install(handle)` puts the shared procedure in place and returns the one it replaced.
  // A window already in the table stays there once and is not hooked again.
  template <typename Install>
  void Register(Handle handle, Install&& install) {
    if (hookCount_ >= MaxLiveEntries) return;
    // Growth comes before the duplicate search, so a repeated registration still grows.
    if (hookCount_ + GrowthStep > hookCapacity_) {
      hookCapacity_ = hookCount_ + GrowthStep;
      slots_.resize(static_cast<std::size_t>(hookCapacity_) + 1);
    }
    if (IndexOf(handle)) return;
    const Proc previous = install(handle);
    slots_[static_cast<std::size_t>(hookCount_)] = Entry{handle, previous};
    ++hookCount_;
  }

  // `restore(handle, previous)` puts the window's own procedure back. The live entries
  // close up behind the removed one, keeping their order; the storage never shrinks.
  template <typename Restore>
  void Unregister(Handle handle, Restore&& restore) {
    const std::optional<std::size_t> index = IndexOf(handle);
    if (!index) return;
    restore(handle, slots_[*index].PrevWndProc);
    const auto live = slots_.begin() + hookCount_;
    std::copy(slots_.begin() + static_cast<std::ptrdiff_t>(*index) + 1, live,
              slots_.begin() + static_cast<std::ptrdiff_t>(*index));
    --hookCount_;
  }

  // The procedure in place before `handle` was hooked, or nothing when it is not hooked.
  std::optional<Proc> PreviousProc(Handle handle) const {
    const std::optional<std::size_t> index = IndexOf(handle);
    if (!index) return std::nullopt;
    return slots_[*index].PrevWndProc;
  }

  int HookCount() const { return hookCount_; }
  // The highest index the storage has been sized to; 0 before the first registration.
  int HookCapacity() const { return hookCapacity_; }
  std::size_t SlotCount() const { return slots_.size(); }
  std::span<const Entry> Entries() const {
    return {slots_.data(), static_cast<std::size_t>(hookCount_)};
  }

 private:
  std::optional<std::size_t> IndexOf(Handle handle) const {
    const auto live = slots_.begin() + hookCount_;
    const auto found =
        std::find_if(slots_.begin(), live, [&](const Entry& entry) { return entry.hWnd == handle; });
    if (found == live) return std::nullopt;
    return static_cast<std::size_t>(found - slots_.begin());
  }

  std::vector<Entry> slots_;
  int hookCount_ = 0;
  int hookCapacity_ = 0;
};

}  // namespace tw::docking
