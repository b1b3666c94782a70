// Building a minimal-ish map from keys in increasing order, in one pass.
//
// Invariants this relies on:
// - keys arrive in strictly increasing byte order, so once a key diverges from its predecessor,
//   every node of the predecessor below the divergence can never change again: it is written out
//   ("frozen") at once, children before parents, and the root last;
// - the unfinished nodes form one path, stack entry i being the node reached by the first i bytes
//   of the last key; entry i's pending ("last") transition is the one towards entry i+1;
// - outputs are pushed toward the root: a transition carries the smallest output of all keys
//   below it (the common part), and the remainder moves one level down, so the outputs along a
//   key's path add up to its value;
// - the footer is key count, root address, masked CRC-32C of everything before it.
#include "fst_builder.h"

#include "crc32c.h"
#include "fst_builder_node.h"
#include "fst_format.h"
#include "fst_registry.h"

namespace ornav::fst {

namespace {

struct Unfinished {
  detail::BuilderNode node;
  bool has_last = false;
  std::uint8_t last_input = 0;
  std::uint64_t last_output = 0;

  // Completes the pending transition now that its target has an address.
  void freeze_last(std::uint64_t target) {
    if (!has_last) return;
    node.trans.push_back({last_input, last_output, target});
    has_last = false;
  }

  // Moves `prefix` of output from the incoming transition into everything leaving this node.
  void prepend_output(std::uint64_t prefix) {
    if (node.is_final) node.final_output += prefix;
    for (auto& t : node.trans)
      t.output += prefix;
    if (has_last) last_output += prefix;
  }
};

void put_u64(std::vector<std::uint8_t>& out, std::uint64_t v) {
  for (int i = 0; i < 8; ++i)
    out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

}  // namespace

struct Builder::Impl {
  std::vector<std::uint8_t> out;
  detail::Registry registry;
  // Entries [0, depth) are the unfinished path; entries beyond keep their capacity for reuse.
  std::vector<Unfinished> stack;
  std::size_t depth = 0;
  std::string last_key;
  bool has_last_key = false;
  bool spent = false;
  // 1 is never a node's address, so nothing matches it before the first node is written.
  std::uint64_t last_addr = 1;
  std::uint64_t len = 0;

  Impl() {
    out.reserve(1 << 16);
    put_u64(out, format::kVersion);
    put_u64(out, 0);  // map type
    push(false);
  }

  Unfinished& push(bool is_final) {
    if (depth == stack.size()) stack.emplace_back();
    Unfinished& u = stack[depth++];
    u.node.reset(is_final);
    u.has_last = false;
    u.last_output = 0;
    return u;
  }

  std::uint64_t compile(const detail::BuilderNode& node) {
    if (node.is_final && node.trans.empty() && node.final_output == 0) {
      return format::kEmptyFinalAddress;
    }
    if (const auto known = registry.find_or_reserve(node)) return *known;
    last_addr = detail::write_node(node, last_addr, out);
    registry.remember_address(last_addr);
    return last_addr;
  }

  // Writes every unfinished node deeper than `keep`, deepest first, and points entry `keep`'s
  // pending transition at what was written.
  void freeze_below(std::size_t keep) {
    std::uint64_t addr = 0;
    bool any = false;
    while (keep + 1 < depth) {
      Unfinished& u = stack[--depth];
      if (any) u.freeze_last(addr);
      addr = compile(u.node);
      any = true;
    }
    if (any) stack[depth - 1].freeze_last(addr);
  }

  // Length of the common prefix of `key` with the unfinished path, moving outputs down so the
  // shared transitions carry only the common part of the outputs; *value keeps what is left of
  // the key's output for its own suffix.
  std::size_t common_prefix(std::string_view key, std::uint64_t* value) {
    std::size_t i = 0;
    while (i < key.size()) {
      Unfinished& u = stack[i];
      if (!u.has_last || u.last_input != static_cast<std::uint8_t>(key[i])) break;
      ++i;
      const std::uint64_t common = std::min(u.last_output, *value);
      const std::uint64_t rest = u.last_output - common;
      *value -= common;
      u.last_output = common;
      if (rest != 0) stack[i].prepend_output(rest);
    }
    return i;
  }

  void add_suffix(std::string_view suffix, std::uint64_t value) {
    Unfinished& top = stack[depth - 1];
    top.has_last = true;
    top.last_input = static_cast<std::uint8_t>(suffix[0]);
    top.last_output = value;
    for (std::size_t i = 1; i < suffix.size(); ++i) {
      Unfinished& u = push(false);
      u.has_last = true;
      u.last_input = static_cast<std::uint8_t>(suffix[i]);
    }
    push(true);
  }
};

Builder::Builder() : impl_(new Impl) {}
Builder::~Builder() {
  delete impl_;
}

bool Builder::insert(std::string_view key, std::uint64_t value) {
  Impl& b = *impl_;
  if (b.spent) return false;
  if (b.has_last_key && key <= std::string_view(b.last_key)) return false;
  b.last_key.assign(key);
  b.has_last_key = true;
  ++b.len;
  if (key.empty()) {
    // Necessarily the first key: the root itself becomes final.
    b.stack[0].node.is_final = true;
    b.stack[0].node.final_output = value;
    return true;
  }
  const std::size_t shared = b.common_prefix(key, &value);
  b.freeze_below(shared);
  b.add_suffix(key.substr(shared), value);
  return true;
}

std::vector<std::uint8_t> Builder::finish() {
  Impl& b = *impl_;
  if (b.spent) return {};
  b.spent = true;
  b.freeze_below(0);
  const std::uint64_t root = b.compile(b.stack[0].node);
  put_u64(b.out, b.len);
  put_u64(b.out, root);
  const std::uint32_t sum = mask_crc32c(crc32c(b.out.data(), b.out.size()));
  for (int i = 0; i < 4; ++i)
    b.out.push_back(static_cast<std::uint8_t>(sum >> (8 * i)));
  return std::move(b.out);
}

}  // namespace ornav::fst
