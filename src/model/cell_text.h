// Texts that many cells repeat (tile kinds, graphic names, child names), each kept once for the
// whole run. A cell holds a 32-bit reference; it reads, compares and converts like std::string.
// The reference 0 is the empty text, so a cell of all-zero bytes holds empty texts.
//
// Texts are never released: a run meets only the names its data files use. A reference or
// std::string reference obtained from a CellText stays valid for the whole run.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <iosfwd>
#include <string>

namespace tessera {

namespace cell_text_detail {
// The text of each reference, indexed by it; moves when the table grows.
extern const std::string* const* texts;
}  // namespace cell_text_detail

class CellText {
 public:
  CellText() = default;
  CellText(const std::string& text);  // NOLINT: converts like a string
  CellText(const char* text);         // NOLINT

  CellText& operator=(const std::string& text);
  CellText& operator=(const char* text);

  const std::string& str() const { return *cell_text_detail::texts[id_]; }
  operator const std::string&() const { return str(); }  // NOLINT
  const char* c_str() const { return str().c_str(); }
  size_t size() const { return str().size(); }
  bool empty() const { return id_ == 0; }
  void clear() { id_ = 0; }
  uint32_t id() const { return id_; }

  friend bool operator==(const CellText& a, const CellText& b) { return a.id_ == b.id_; }
  friend bool operator==(const CellText& a, const std::string& b) { return a.str() == b; }
  friend bool operator==(const CellText& a, const char* b) { return a.str() == b; }

 private:
  uint32_t id_ = 0;
};

std::ostream& operator<<(std::ostream& out, const CellText& text);

// The eight child names of a cell, kept as one shared tuple (cells of a kind name the same
// children). Indexed like an array; a write through [] makes the cell refer to another tuple.
class ChildNames {
 public:
  static constexpr size_t SLOTS = 8;
  using Names = std::array<CellText, SLOTS>;

  // Write access to one slot.
  class Slot {
   public:
    Slot(ChildNames& owner, size_t slot) : owner_(owner), slot_(slot) {}
    Slot& operator=(const CellText& text);
    Slot& operator=(const std::string& text) { return *this = CellText(text); }
    Slot& operator=(const char* text) { return *this = CellText(text); }
    const CellText& text() const { return static_cast<const ChildNames&>(owner_)[slot_]; }
    operator const CellText&() const { return text(); }      // NOLINT
    operator const std::string&() const { return text(); }   // NOLINT
    const std::string& str() const { return text().str(); }
    bool empty() const { return text().empty(); }
    friend bool operator==(const Slot& a, const std::string& b) { return a.text() == b; }
    friend bool operator==(const Slot& a, const char* b) { return a.text() == b; }
    friend bool operator==(const Slot& a, const CellText& b) { return a.text() == b; }

   private:
    ChildNames& owner_;
    size_t slot_;
  };

  // Slots outside 0..7 read as the empty text and ignore writes.
  const CellText& operator[](size_t slot) const;
  Slot operator[](size_t slot) { return Slot(*this, slot); }
  const Names& names() const { return *tuples[id_]; }
  // All eight at once (one lookup instead of eight).
  void assign(const Names& names);
  uint32_t id() const { return id_; }
  void set_id(uint32_t id) { id_ = id; }

  // The tuple of each reference, indexed by it; moves when the table grows.
  static const Names* const* tuples;

 private:
  uint32_t id_ = 0;
};

inline const CellText& ChildNames::operator[](size_t slot) const {
  static const CellText empty;
  return slot < SLOTS ? names()[slot] : empty;
}

std::ostream& operator<<(std::ostream& out, const ChildNames::Slot& slot);

// The tile kinds that play's rules compare every pass, each interned once, so that comparing a
// cell's kind with one compares two integers.
struct PlayKinds {
  CellText wall, floor, green, blue_floor, fixed_floor, pink_floor, fixed_pink_floor;
};
const PlayKinds& play_kinds();

// How many distinct texts and child-name tuples the run has met (for benchmarks and tests).
size_t cell_text_count();
size_t child_names_count();

}  // namespace tessera
