#include "model/cell_text.h"

#include "model/vocabulary.h"

#include <deque>
#include <memory>
#include <ostream>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace tessera {

namespace {

// Constant-initialised, so texts can be read before any dynamic initialisation has run.
const std::string empty_string;
const std::string* const no_texts[1] = {&empty_string};

}  // namespace

const std::string* const* cell_text_detail::texts = no_texts;

namespace {

// Reference n names *pointers[n]; the strings never move, so views of them key the index.
struct TextTable {
  std::vector<std::unique_ptr<const std::string>> owned;
  std::vector<const std::string*> pointers{&empty_string};
  std::unordered_map<std::string_view, uint32_t> index;
  uint32_t last = 0;  // the text interned last: builds give many cells the same kind in a row
};

TextTable& text_table() {
  static TextTable table;
  return table;
}

uint32_t intern_text(std::string_view text) {
  if (text.empty()) return 0;
  TextTable& table = text_table();
  if (*table.pointers[table.last] == text) return table.last;
  if (auto it = table.index.find(text); it != table.index.end()) return table.last = it->second;
  const auto id = static_cast<uint32_t>(table.pointers.size());
  table.owned.push_back(std::make_unique<const std::string>(text));
  table.pointers.push_back(table.owned.back().get());
  table.index.emplace(*table.owned.back(), id);
  cell_text_detail::texts = table.pointers.data();
  return table.last = id;
}

struct NamesHash {
  size_t operator()(const ChildNames::Names& names) const {
    uint64_t h = 1469598103934665603ULL;
    for (const CellText& name : names) h = (h ^ name.id()) * 1099511628211ULL;
    return static_cast<size_t>(h);
  }
};

const ChildNames::Names no_names{};
const ChildNames::Names* const no_tuples[1] = {&no_names};

// Tuple 0 is eight empty names; a deque keeps references to tuples valid as it grows.
struct NamesTable {
  std::deque<ChildNames::Names> tuples;
  std::vector<const ChildNames::Names*> pointers{&no_names};
  std::unordered_map<ChildNames::Names, uint32_t, NamesHash> index;
  NamesTable() { index.emplace(no_names, 0); }
};

NamesTable& names_table() {
  static NamesTable table;
  return table;
}

uint32_t intern_names(const ChildNames::Names& names) {
  NamesTable& table = names_table();
  if (auto it = table.index.find(names); it != table.index.end()) return it->second;
  const auto id = static_cast<uint32_t>(table.pointers.size());
  table.tuples.push_back(names);
  table.pointers.push_back(&table.tuples.back());
  table.index.emplace(names, id);
  ChildNames::tuples = table.pointers.data();
  return id;
}

}  // namespace

const ChildNames::Names* const* ChildNames::tuples = no_tuples;

CellText::CellText(const std::string& text) : id_(intern_text(text)) {}
CellText::CellText(const char* text) : id_(text == nullptr ? 0 : intern_text(text)) {}

CellText& CellText::operator=(const std::string& text) {
  id_ = intern_text(text);
  return *this;
}

CellText& CellText::operator=(const char* text) {
  id_ = text == nullptr ? 0 : intern_text(text);
  return *this;
}

std::ostream& operator<<(std::ostream& out, const CellText& text) { return out << text.str(); }

void ChildNames::assign(const Names& names) { id_ = intern_names(names); }

ChildNames::Slot& ChildNames::Slot::operator=(const CellText& value) {
  if (slot_ >= SLOTS || text() == value) return *this;
  Names names = owner_.names();
  names[slot_] = value;
  owner_.assign(names);
  return *this;
}

std::ostream& operator<<(std::ostream& out, const ChildNames::Slot& slot) { return out << slot.str(); }

size_t cell_text_count() { return text_table().pointers.size(); }
size_t child_names_count() { return names_table().pointers.size(); }

const PlayKinds& play_kinds() {
  static const PlayKinds kinds{KIND_WALL,       KIND_FLOOR,      KIND_GREEN,           KIND_BLUE_FLOOR,
                               KIND_FIXED_FLOOR, KIND_PINK_FLOOR, KIND_FIXED_PINK_FLOOR};
  return kinds;
}

}  // namespace tessera
