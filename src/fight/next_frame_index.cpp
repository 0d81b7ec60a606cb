#include "fight/next_frame_index.h"

#include <algorithm>

namespace vdx {

bool FrameInAction(const cAction& action, Long frame) {
  return action.Count > 0 && frame >= action.Offset && frame <= action.Offset + action.Count - 1;
}

Long NextFrameIndex(const cAction& action, bool reverse, bool loop, Long& counter, bool reset) {
  const Long first = action.Offset;
  const Long count = std::max<Long>(0, action.Count);
  if (count == 0) return counter;
  const Long last = first + count - 1;
  if (reset) return counter = first;
  if (!FrameInAction(action, counter)) counter = reverse ? last + 1 : first;
  if (!reverse) {
    if (counter + 1 <= last)
      ++counter;
    else if (action.AnimationType != "StaticHold")
      counter = loop ? first : last;
  } else {
    if (counter - 1 > first)
      --counter;
    else
      counter = loop ? last : first;
  }
  return counter;
}

}  // namespace vdx
