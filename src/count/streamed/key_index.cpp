#include "count/streamed/key_index.h"

#include <functional>
#include <limits>

#include "platform/errors.h"

namespace velmora {
namespace {

constexpr size_t kFirstSlots = 1024;

std::uint32_t HashOf(std::string_view key) {
  return static_cast<std::uint32_t>(std::hash<std::string_view>{}(key));
}

}  // namespace

KeyIndex::KeyIndex() : slots_(kFirstSlots, Slot{0, 0}) {}

// Linear probing: the free slot or the slot of the key.
size_t KeyIndex::SlotOf(std::string_view key, std::uint32_t hash) const {
  const size_t mask = slots_.size() - 1;
  for (size_t slot = hash & mask;; slot = (slot + 1) & mask) {
    const Slot& s = slots_[slot];
    if (s.number == 0 || (s.hash == hash && Key(static_cast<int>(s.number - 1)) == key)) {
      return slot;
    }
  }
}

int KeyIndex::Add(std::string_view key) {
  const std::uint32_t hash = HashOf(key);
  Slot& slot = slots_[SlotOf(key, hash)];
  if (slot.number != 0) return static_cast<int>(slot.number - 1);
  if (characters_.size() + key.size() > std::numeric_limits<std::uint32_t>::max() ||
      ends_.size() >= static_cast<size_t>(std::numeric_limits<int>::max())) {
    throw Exception("Too many keys to count");
  }
  characters_.append(key);
  ends_.push_back(static_cast<std::uint32_t>(characters_.size()));
  slot = {static_cast<std::uint32_t>(ends_.size()), hash};
  if (2 * ends_.size() > slots_.size()) Grow();
  return Size() - 1;
}

int KeyIndex::Find(std::string_view key) const {
  return static_cast<int>(slots_[SlotOf(key, HashOf(key))].number) - 1;
}

std::string_view KeyIndex::Key(int number) const {
  const std::uint32_t begin = number == 0 ? 0 : ends_[number - 1];
  return std::string_view(characters_).substr(begin, ends_[number] - begin);
}

// The slots are placed anew by their hashes; no key is read.
void KeyIndex::Grow() {
  LargeVector<Slot> old(slots_.size() * 2, Slot{0, 0});
  old.swap(slots_);
  const size_t mask = slots_.size() - 1;
  for (const Slot& s : old) {
    if (s.number == 0) continue;
    size_t slot = s.hash & mask;
    while (slots_[slot].number != 0) slot = (slot + 1) & mask;
    slots_[slot] = s;
  }
}

}  // namespace velmora
