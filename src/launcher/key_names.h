// keys.txt: the names the key boxes show. One record a line, two fields in the
// quoted-write convention (a field may stand in double quotes): the key code in
// hexadecimal digits without a prefix, then the name, e.g. "1C","Return".
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "content/collection.h"
#include "content/records.h"

namespace vdxlaunch {

// The launcher's own key-name record (the game's cKeys is a binding set).
struct cKeys {
  vdx::Integer ScanCode = 0;
  std::string Description;  // UTF-8
};

struct KeyNames {
  // Keyed by the decimal code followed by "A": code 30 is "30A".
  vdx::Collection<cKeys> names;
  // Records that were passed over ("line 4: ..."), for the player.
  std::vector<std::string> problems;
};

// Reads the file's text. A record that cannot be read is passed over and
// written down; a second record for a code already named keeps the first.
// Text that is not UTF-8 is read as Windows-1252.
KeyNames ReadKeysTxt(std::string_view text);

// What a key box shows for a code: its name from keys.txt; "(none)" for 0, a
// box with no key; else the code in hexadecimal ("Key 0x1C"), so that every
// code has a text of its own.
std::string KeyBoxText(const KeyNames& keyNames, int code);

}  // namespace vdxlaunch
