// An ordered list of records with an optional string key, unique within the list
// and compared without letter case. Items are found by key or by 1-based position;
// a missing key or position is a failed look-up (nullptr), never an empty record.
#pragma once

#include <cctype>
#include <cstddef>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

namespace vdx {

inline std::string FoldKey(std::string_view key) {
  std::string folded(key);
  for (char& c : folded)
    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return folded;
}

template <typename T>
class Collection {
 public:
  // Adds an item at the end. With a key, fails (returns false, adds nothing) when
  // the key is empty or already present in any letter case.
  bool add(T item, std::optional<std::string_view> key = std::nullopt) {
    if (key) {
      if (key->empty()) return false;
      auto [it, inserted] = index_.try_emplace(FoldKey(*key), items_.size());
      if (!inserted) return false;
    }
    items_.push_back(std::move(item));
    keys_.emplace_back(key.value_or(""));
    return true;
  }

  T* find(std::string_view key) {
    const auto index = indexOf(key);
    return index ? &items_[*index] : nullptr;
  }
  const T* find(std::string_view key) const { return const_cast<Collection*>(this)->find(key); }
  bool contains(std::string_view key) const { return indexOf(key).has_value(); }
  // The 0-based index of the item with that key, when there is one. A key of
  // a usual length is folded on the stack: a fight looks up names every
  // frame and allocates nothing for it.
  std::optional<std::size_t> indexOf(std::string_view key) const {
    char folded[64];
    if (key.size() > sizeof folded) return indexOfFolded(FoldKey(key));
    for (std::size_t i = 0; i < key.size(); ++i)
      folded[i] = static_cast<char>(std::tolower(static_cast<unsigned char>(key[i])));
    return indexOfFolded(std::string_view(folded, key.size()));
  }

  // 1-based, like the content's own numbering.
  T* at(std::size_t position) {
    return position >= 1 && position <= items_.size() ? &items_[position - 1] : nullptr;
  }
  const T* at(std::size_t position) const { return const_cast<Collection*>(this)->at(position); }

  // The key an item was added under, as written (empty for an item without).
  const std::string& keyAt(std::size_t position) const { return keys_.at(position - 1); }

  std::size_t size() const { return items_.size(); }
  bool empty() const { return items_.empty(); }

  // Items keep their address while the collection lives (it only grows at the end).
  auto begin() { return items_.begin(); }
  auto end() { return items_.end(); }
  auto begin() const { return items_.begin(); }
  auto end() const { return items_.end(); }

 private:
  std::deque<T> items_;
  std::deque<std::string> keys_;  // beside items_
  // Looks folded keys up as they are, without making a string of them.
  struct KeyHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view key) const { return std::hash<std::string_view>{}(key); }
  };

  std::optional<std::size_t> indexOfFolded(std::string_view folded) const {
    auto it = index_.find(folded);
    if (it == index_.end()) return std::nullopt;
    return it->second;
  }

  std::unordered_map<std::string, std::size_t, KeyHash, std::equal_to<>> index_;
};

}  // namespace vdx
