// An ordered list of records with an optional string key, unique within the list
// and compared without letter case. Items are found by key or by 1-based position;
// a missing key or position is a failed look-up (nullptr), never an empty record.
#pragma once

#include <cctype>
#include <cstddef>
#include <deque>
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
    auto it = index_.find(FoldKey(key));
    return it == index_.end() ? nullptr : &items_[it->second];
  }
  const T* find(std::string_view key) const { return const_cast<Collection*>(this)->find(key); }
  bool contains(std::string_view key) const { return index_.contains(FoldKey(key)); }
  // The 0-based index of the item with that key, when there is one.
  std::optional<std::size_t> indexOf(std::string_view key) const {
    auto it = index_.find(FoldKey(key));
    if (it == index_.end()) return std::nullopt;
    return it->second;
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
  std::unordered_map<std::string, std::size_t> index_;
};

}  // namespace vdx
