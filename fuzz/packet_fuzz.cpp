#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "net/packets.h"

namespace {

// A message that decodes is written back to the very same bytes: every
// message has one way of being written, so nothing the decoder accepts is
// read in a way the sender did not mean.
template <typename Message>
void RoundTrip(const std::optional<Message>& decoded, std::span<const std::uint8_t> bytes) {
  if (!decoded) return;
  const std::vector<std::uint8_t> again = vdx::net::Encode(*decoded);
  if (!std::equal(again.begin(), again.end(), bytes.begin(), bytes.end())) __builtin_trap();
  if (again.size() > vdx::net::kMostPacketBytes) __builtin_trap();
}

}  // namespace

// Every decoder on the same bytes: at most the one of the packet's kind
// accepts them.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  namespace net = vdx::net;
  const std::span<const std::uint8_t> bytes(data, size);
  int accepted = 0;
  auto count = [&](bool ok) { accepted += ok ? 1 : 0; };
  const auto hello = net::DecodeHello(bytes);
  const auto welcome = net::DecodeWelcome(bytes);
  const auto refusal = net::DecodeRefusal(bytes);
  const auto inputs = net::DecodeInputs(bytes);
  const auto stateHash = net::DecodeStateHash(bytes);
  const auto select = net::DecodeSelect(bytes);
  const auto matchStart = net::DecodeMatchStart(bytes);
  const auto choice = net::DecodeChoice(bytes);
  const bool goodbye = net::DecodeGoodbye(bytes);
  const auto dumpPiece = net::DecodeDumpPiece(bytes);
  const auto watching = net::DecodeWatching(bytes);
  count(hello.has_value());
  count(welcome.has_value());
  count(refusal.has_value());
  count(inputs.has_value());
  count(stateHash.has_value());
  count(select.has_value());
  count(matchStart.has_value());
  count(choice.has_value());
  count(goodbye);
  count(dumpPiece.has_value());
  count(watching.has_value());
  if (accepted > 1) __builtin_trap();
  if (accepted == 1 && !net::KindOf(bytes)) __builtin_trap();
  RoundTrip(hello, bytes);
  RoundTrip(welcome, bytes);
  RoundTrip(refusal, bytes);
  RoundTrip(inputs, bytes);
  RoundTrip(stateHash, bytes);
  RoundTrip(select, bytes);
  RoundTrip(matchStart, bytes);
  RoundTrip(choice, bytes);
  RoundTrip(dumpPiece, bytes);
  RoundTrip(watching, bytes);
  if (goodbye && net::EncodeGoodbye() != std::vector<std::uint8_t>(bytes.begin(), bytes.end()))
    __builtin_trap();
  if (hello) (void)net::HelloMismatch(*hello, net::HelloMessage{});
  return 0;
}
