#include "map/atlas_file_names.h"

#include <array>
#include <optional>
#include <utility>

namespace velmora {
namespace {

// Longer names are cut: with a folder and an extension they stay well within the 260
// characters that Windows allows a path by default.
constexpr size_t kMaxLength = 80;

// The letters that stand for U+00C0 to U+017F (Latin-1's letters and Latin Extended-A): German
// letters transliterated, the others without their accents; "-" for the one sign among them.
constexpr std::array<std::string_view, 0x180 - 0xC0> kLatinLetters = {
    "A", "A", "A",  "A",  "Ae", "A", "AE", "C", "E", "E", "E", "E", "I",  "I", "I",  "I",   // C0
    "D", "N", "O",  "O",  "O",  "O", "Oe", "x", "O", "U", "U", "U", "Ue", "Y", "Th", "ss",  // D0
    "a", "a", "a",  "a",  "ae", "a", "ae", "c", "e", "e", "e", "e", "i",  "i", "i",  "i",   // E0
    "d", "n", "o",  "o",  "o",  "o", "oe", "-", "o", "u", "u", "u", "ue", "y", "th", "y",   // F0
    "A", "a", "A",  "a",  "A",  "a", "C",  "c", "C", "c", "C", "c", "C",  "c", "D",  "d",   // 100
    "D", "d", "E",  "e",  "E",  "e", "E",  "e", "E", "e", "E", "e", "G",  "g", "G",  "g",   // 110
    "G", "g", "G",  "g",  "H",  "h", "H",  "h", "I", "i", "I", "i", "I",  "i", "I",  "i",   // 120
    "I", "i", "IJ", "ij", "J",  "j", "K",  "k", "k", "L", "l", "L", "l",  "L", "l",  "L",   // 130
    "l", "L", "l",  "N",  "n",  "N", "n",  "N", "n", "n", "N", "n", "O",  "o", "O",  "o",   // 140
    "O", "o", "OE", "oe", "R",  "r", "R",  "r", "R", "r", "S", "s", "S",  "s", "S",  "s",   // 150
    "S", "s", "T",  "t",  "T",  "t", "T",  "t", "U", "u", "U", "u", "U",  "u", "U",  "u",   // 160
    "U", "u", "U",  "u",  "W",  "w", "Y",  "y", "Y", "Z", "z", "Z", "z",  "Z", "z",  "s",   // 170
};

// The code point that starts at byte `at`, and its length in bytes. A byte that starts no
// well-formed sequence (a stray continuation byte, a cut-off sequence, an overlong form, a
// surrogate, a value past U+10FFFF) gives no code point and is taken alone.
struct Decoded {
  std::optional<char32_t> point;
  size_t size = 1;
};

Decoded DecodeAt(std::string_view text, size_t at) {
  static constexpr char32_t kLeast[] = {0, 0, 0x80, 0x800, 0x10000};
  const auto lead = static_cast<unsigned char>(text[at]);
  if (lead < 0x80) return {lead, 1};
  if (lead < 0xC0 || lead > 0xF7) return {};
  const size_t size = lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
  char32_t point = lead & (0x7Fu >> size);
  if (text.size() - at < size) return {};
  for (size_t i = 1; i < size; ++i) {
    const auto next = static_cast<unsigned char>(text[at + i]);
    if ((next & 0xC0) != 0x80) return {};
    point = point << 6 | (next & 0x3Fu);
  }
  if (point < kLeast[size] || point > 0x10FFFF || (point >= 0xD800 && point <= 0xDFFF)) return {};
  return {point, size};
}

// What a code point becomes in a stem, after the letter `before`: "-" for what is unsafe.
std::string LettersOf(std::optional<char32_t> point, char before) {
  if (!point) return "-";
  const char32_t p = *point;
  if ((p >= '0' && p <= '9') || (p >= 'A' && p <= 'Z') || (p >= 'a' && p <= 'z')) {
    return std::string(1, static_cast<char>(p));
  }
  if (p >= 0xC0 && p < 0x180) return std::string(kLatinLetters[p - 0xC0]);
  // Combining accents (names written decomposed) drop like the accents of composed letters;
  // the diaeresis on a, o, u makes a German umlaut.
  if (p == 0x308 && std::string_view("aouAOU").find(before) != std::string_view::npos) return "e";
  if (p >= 0x300 && p < 0x370) return "";
  return "-";
}

// `stem` cut to `length` bytes, without a '-' at the end.
std::string Cut(std::string stem, size_t length) {
  if (stem.size() > length) stem.resize(length);
  while (!stem.empty() && stem.back() == '-') stem.pop_back();
  return stem;
}

std::string Lowered(std::string text) {
  for (char& c : text) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return text;
}

// Names that Windows takes for devices, whatever extension follows them.
bool IsReservedOnWindows(const std::string& lowered) {
  if (lowered == "con" || lowered == "prn" || lowered == "aux" || lowered == "nul") return true;
  return lowered.size() == 4 && (lowered.starts_with("com") || lowered.starts_with("lpt")) &&
         lowered[3] >= '0' && lowered[3] <= '9';
}

// The name in letters and digits, everything else a '-' between them.
std::string SafeStem(std::string_view name) {
  std::string stem;
  for (size_t at = 0; at < name.size();) {
    const Decoded decoded = DecodeAt(name, at);
    at += decoded.size;
    for (char c : LettersOf(decoded.point, stem.empty() ? '\0' : stem.back())) {
      if (c != '-' || (!stem.empty() && stem.back() != '-')) stem += c;
    }
  }
  stem = Cut(std::move(stem), kMaxLength);
  if (stem.empty()) return "taxon";
  if (IsReservedOnWindows(Lowered(stem))) stem += '_';
  return stem;
}

}  // namespace

std::string AtlasFileNames::Take(std::string_view name) {
  const std::string stem = SafeStem(name);
  const std::string lowered = Lowered(stem);
  if (taken_.insert(lowered).second) return stem;
  int& number = nextNumber_.try_emplace(lowered, 2).first->second;
  while (true) {
    const std::string suffix = "-" + std::to_string(number++);
    std::string numbered = Cut(stem, kMaxLength - suffix.size()) + suffix;
    if (taken_.insert(Lowered(numbered)).second) return numbered;
  }
}

}  // namespace velmora
