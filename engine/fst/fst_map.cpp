// Opening a map and walking it.
//
// Invariants this relies on:
// - the footer is key count, root address and (version 3) masked CRC-32C, at the very end;
// - nodes occupy [16, footer) and are written children before parents, so following any
//   transition leads strictly downwards (fst_node.h refuses anything else);
// - the root node is validated on open, every other node when a walk reaches it.
#include "fst_map.h"

#include <algorithm>

#include "crc32c.h"

namespace ornav::fst {

const char* describe(OpenError error) {
  switch (error) {
    case OpenError::too_short:
      return "file too short to be a map (fewer than 36 bytes)";
    case OpenError::unknown_version:
      return "unknown map format version";
    case OpenError::bad_footer:
      return "map footer inconsistent with the file";
    case OpenError::bad_checksum:
      return "map checksum mismatch";
    case OpenError::bad_root:
      return "map root node missing or malformed";
  }
  return "unknown map error";
}

std::optional<Map> Map::open(std::vector<std::uint8_t> bytes, OpenError* why) {
  auto owned = std::make_shared<const std::vector<std::uint8_t>>(std::move(bytes));
  const std::span<const std::uint8_t> view(*owned);
  return open(view, std::move(owned), why);
}

std::optional<Map> Map::open(std::span<const std::uint8_t> bytes, std::shared_ptr<const void> owner,
                             OpenError* why, Checksum checksum) {
  const auto fail = [why](OpenError error) -> std::optional<Map> {
    if (why) *why = error;
    return std::nullopt;
  };
  const std::uint64_t size = bytes.size();
  if (size < format::kMinFileSize) return fail(OpenError::too_short);
  const std::uint8_t* d = bytes.data();
  const std::uint64_t version = format::load_u64(d);
  if (version == 0 || version > format::kVersion) return fail(OpenError::unknown_version);

  const std::uint64_t footer_end = version >= 3 ? size - 4 : size;
  const std::uint64_t len = format::load_u64(d + footer_end - 16);
  const std::uint64_t root = format::load_u64(d + footer_end - 8);
  if (root == format::kEmptyFinalAddress) {
    // The empty final state as root means the map holds exactly the empty key and no nodes.
    const std::uint64_t expected =
        version >= 3 ? format::kEmptyRootSizeV3 : format::kEmptyRootSizeV2;
    if (size != expected || len != 1) return fail(OpenError::bad_footer);
  }

  Map map;
  map.version_ = version;
  map.len_ = len;
  map.root_ = root;
  map.area_end_ = footer_end - 16;
  if (root != format::kEmptyFinalAddress && (root < format::kHeaderSize || root >= map.area_end_)) {
    return fail(OpenError::bad_root);
  }
  const detail::NodeArea area{d, format::kHeaderSize, map.area_end_, version};
  if (!detail::decode_node(area, root, &map.root_node_)) return fail(OpenError::bad_root);

  map.owner_ = std::move(owner);
  map.data_ = d;
  map.size_ = size;
  if (checksum == Checksum::verify && !map.checksum_matches()) return fail(OpenError::bad_checksum);
  return map;
}

bool Map::checksum_matches(const std::atomic<bool>* stop) const {
  if (version_ < 3) return true;
  constexpr std::size_t kStep = std::size_t{1} << 20;
  std::uint32_t crc = 0;
  for (std::size_t at = 0; at < size_ - 4; at += kStep) {
    if (stop && stop->load(std::memory_order_relaxed)) return false;
    crc = crc32c(data_ + at, std::min(kStep, size_ - 4 - at), crc);
  }
  return mask_crc32c(crc) == format::load_u32(data_ + size_ - 4);
}

std::optional<std::uint32_t> Map::stored_checksum() const {
  if (version_ < 3) return std::nullopt;
  return format::load_u32(data_ + size_ - 4);
}

std::optional<Map::Position> Map::position(std::string_view prefix) const {
  const detail::NodeArea nodes = area();
  Position at{root_node_, 0};
  detail::Transition t;
  for (const char c : prefix) {
    if (!detail::find_transition(nodes, at.node, static_cast<std::uint8_t>(c), &t))
      return std::nullopt;
    // Outputs of a well-formed map never exceed 64 bits along a path; hostile ones just wrap.
    at.output += t.output;
    if (!detail::decode_node(nodes, t.target, &at.node)) return std::nullopt;
  }
  return at;
}

std::optional<std::uint64_t> Map::get(const Position& from, std::string_view rest) const {
  const detail::NodeArea nodes = area();
  detail::Node node = from.node;
  detail::Transition t;
  std::uint64_t output = from.output;
  for (const char c : rest) {
    if (!detail::find_transition(nodes, node, static_cast<std::uint8_t>(c), &t))
      return std::nullopt;
    output += t.output;
    if (!detail::decode_node(nodes, t.target, &node)) return std::nullopt;
  }
  if (!node.is_final) return std::nullopt;
  return output + node.final_output;
}

std::optional<std::uint64_t> Map::get(std::string_view key) const {
  return get(Position{root_node_, 0}, key);
}

PrefixStream Map::prefix_stream(std::string_view prefix) const {
  PrefixStream stream;
  stream.map_ = this;
  stream.area_ = area();
  stream.key_.assign(prefix);
  stream.prefix_len_ = prefix.size();
  stream.step_limit_ = 2 * (area_end_ + 1) + 2;

  detail::Node node = root_node_;
  detail::Transition t;
  std::uint64_t output = 0;
  for (const char c : prefix) {
    if (!detail::find_transition(stream.area_, node, static_cast<std::uint8_t>(c), &t) ||
        !detail::decode_node(stream.area_, t.target, &node)) {
      return stream;  // done_: nothing begins with this prefix
    }
    output += t.output;
  }
  stream.stack_.reserve(32);
  stream.stack_.push_back({node, output, 0});
  stream.start_pending_ = true;
  stream.done_ = false;
  return stream;
}

void PrefixStream::finish() {
  done_ = true;
  stack_.clear();
  key_.resize(prefix_len_);
}

bool PrefixStream::next() {
  if (done_) return false;
  if (yielded_ >= map_->len()) {
    finish();
    return false;
  }
  if (start_pending_) {
    start_pending_ = false;
    const Frame& top = stack_.back();
    if (top.node.is_final) {
      ++yielded_;
      value_ = top.output + top.node.final_output;
      return true;
    }
  }
  std::uint64_t steps = 0;
  while (!stack_.empty()) {
    if (++steps > step_limit_) break;
    Frame& top = stack_.back();
    if (top.next >= top.node.ntrans) {
      stack_.pop_back();
      continue;
    }
    const detail::Transition t = detail::transition_at(area_, top.node, top.next++);
    const std::uint64_t output = top.output + t.output;
    // Frame k (0 = the prefix's node) is reached by a key of prefix_len_ + k bytes.
    key_.resize(prefix_len_ + stack_.size() - 1);
    key_.push_back(static_cast<char>(t.input));
    Frame& child = stack_.emplace_back();  // decoded in place: no copy of the node
    if (!detail::decode_node(area_, t.target, &child.node)) break;
    child.output = output;
    if (child.node.is_final) {
      ++yielded_;
      value_ = output + child.node.final_output;
      return true;
    }
  }
  finish();
  return false;
}

}  // namespace ornav::fst
