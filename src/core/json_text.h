// Text written into the JSON the program writes (the content check's report,
// the screens' and the fight's state). Content names come from anyone's files,
// so they may hold control characters or bytes that are not UTF-8; a JSON reader
// refuses a whole document for one such byte.
#pragma once

#include <string>
#include <string_view>

namespace vdx {

// `text` as a JSON string, quotes included: quotes, backslashes and control
// characters escaped, and every byte sequence that is not UTF-8 replaced by
// U+FFFD, one per byte, so the result is always valid UTF-8.
std::string JsonQuoted(std::string_view text);

}  // namespace vdx
