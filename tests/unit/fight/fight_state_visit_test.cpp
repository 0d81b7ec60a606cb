// The one description of the fight's state holds the state together: every
// record visits exactly as many fields as it has, and the hash sees a change
// of any one of them. A field added to the state and not to the list fails
// here, before it can be left out of a hash, a dump or a save.
#include "fight/fight_state_visit.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <typeinfo>
#include <utility>
#include <vector>

#include "fight/fight_hash.h"

namespace vdx {
namespace {

// Converts to any field's type, so that T{AnyField{}, ...} tells how many
// fields an aggregate has (std::array members take one each: no brace
// elision, since the conversion exists).
struct AnyField {
  template <typename T>
  operator T() const;  // NOLINT: declared only, for unevaluated checks
};

template <typename T, std::size_t... I>
constexpr bool InitialisesWith(std::index_sequence<I...>) {
  return requires { T{(static_cast<void>(I), AnyField{})...}; };
}

template <typename T, std::size_t N = 0>
constexpr std::size_t FieldCount() {
  if constexpr (N < 64 && InitialisesWith<T>(std::make_index_sequence<N + 1>{}))
    return FieldCount<T, N + 1>();
  else
    return N;
}

static_assert(FieldCount<Rect>() == 4);
static_assert(FieldCount<FighterState>() > 20);

// Visits the whole state and checks each record met on the way: an
// aggregate visits as many fields as it has; the two records with private
// fields (the generator, the rain) visit fields that fill their size.
class FieldCounter {
 public:
  std::vector<std::string> problems;
  int records = 0;

  template <typename T>
  void operator()(const char* name, const T& value) {
    ++count_;
    size_ += sizeof(T);
    if constexpr (StateLeaf<T>) {
      return;
    } else if constexpr (IsStdArray<T>::value) {
      if (!value.empty()) (*this)(name, value[0]);  // the elements are alike
      --count_;
      size_ -= sizeof(value[0]);
    } else {
      Record(name, value);
    }
  }

 private:
  template <typename T>
  void Record(const char* name, const T& value) {
    const int outerCount = count_;
    const std::size_t outerSize = size_;
    count_ = 0;
    size_ = 0;
    VisitFields(*this, value);
    ++records;
    if constexpr (std::is_aggregate_v<T>) {
      if (static_cast<std::size_t>(count_) != FieldCount<T>())
        problems.push_back(std::string(name) + " (" + typeid(T).name() + ") has " +
                           std::to_string(FieldCount<T>()) + " fields, visits " +
                           std::to_string(count_));
    } else if (size_ > sizeof(T) || sizeof(T) - size_ >= alignof(T)) {
      problems.push_back(std::string(name) + " (" + typeid(T).name() + ") is " +
                         std::to_string(sizeof(T)) + " bytes, visits " + std::to_string(size_));
    }
    count_ = outerCount;
    size_ = outerSize;
  }

  int count_ = 0;
  std::size_t size_ = 0;
};

TEST(FightStateVisit, EveryRecordOfTheStateVisitsEachOfItsFields) {
  FightState fight;
  FieldCounter counter;
  counter("fight", fight);
  EXPECT_TRUE(counter.problems.empty()) << ::testing::PrintToString(counter.problems);
  EXPECT_GT(counter.records, 25) << "every kind of record was met";
}

// Changes the n-th leaf of the state (counting every element of every array).
class LeafChanger {
 public:
  explicit LeafChanger(std::size_t target) : target_(target) {}
  std::size_t leaves = 0;
  bool changed = false;

  template <typename T>
  void operator()(const char*, T& value) {
    if constexpr (std::is_same_v<T, bool>) {
      if (leaves++ == target_) value = !value, changed = true;
    } else if constexpr (std::is_enum_v<T>) {
      if (leaves++ == target_)
        value = static_cast<T>(static_cast<std::underlying_type_t<T>>(value) + 1), changed = true;
    } else if constexpr (std::is_arithmetic_v<T>) {
      if (leaves++ == target_) value = static_cast<T>(value + 1), changed = true;
    } else if constexpr (IsSmallText<T>::value) {
      if (leaves++ == target_) value = std::string(value.view()) + "x", changed = true;
    } else if constexpr (IsStdArray<T>::value) {
      for (auto& item : value) (*this)("", item);
    } else {
      VisitFields(*this, value);
    }
  }

 private:
  std::size_t target_;
};

TEST(FightStateVisit, TheHashSeesAChangeOfAnyFieldAndNothingElse) {
  FightState fight;
  fight.fighters[1].ActionName = "Punch";
  fight.rain.Init(40, 2.0f, fight.random, 1000);
  const std::uint64_t original = HashFightState(fight);
  LeafChanger count(~std::size_t{0});
  count("", fight);
  ASSERT_GT(count.leaves, 10000u) << "rain drops, particles, effect runs";
  // Every leaf of a fighter, the scene and the top, and a spread of the
  // thousands of array elements beyond.
  for (std::size_t leaf = 0; leaf < count.leaves; leaf += leaf < 2000 ? 1 : 37) {
    FightState changed = fight;
    LeafChanger change(leaf);
    change("", changed);
    ASSERT_TRUE(change.changed) << leaf;
    ASSERT_NE(HashFightState(changed), original) << "leaf " << leaf << " is not hashed";
  }
  // A copy is the same state, byte for byte: a save is a copy.
  FightState copy;
  std::memcpy(static_cast<void*>(&copy), &fight, sizeof fight);
  EXPECT_EQ(HashFightState(copy), original);
}

}  // namespace
}  // namespace vdx
