#include "platform/linux/ibus/ibus_context_client.h"

#include <ibus.h>

#include <algorithm>

#include "base/text.h"

namespace ornav::linux_platform {

IBusContextClient::IBusContextClient(std::string path, std::string clientName)
    : path_(std::move(path)), clientName_(std::move(clientName)) {}

std::optional<std::string> IBusContextClient::bundleIdentifier() const {
  return clientName_.empty() ? std::string(kUnknownClient) : clientName_;
}

void IBusContextClient::setMarkedText(const MarkedText& text, TextRange selection, TextRange) {
  if (engine_ == nullptr) return;
  // IBus counts the preedit's caret in code points, the controller in user-perceived characters.
  const std::string before = prefixCharacters(
      text.text, static_cast<std::size_t>(std::max<std::int64_t>(selection.location, 0)));
  const auto caret = static_cast<guint>(codePointCount(before));
  IBusText* preedit = ibus_text_new_from_string(text.text.c_str());
  const auto length = static_cast<guint>(codePointCount(text.text));
  if (text.underline == UnderlineStyle::single && length > 0)
    ibus_text_append_attribute(preedit, IBUS_ATTR_TYPE_UNDERLINE, IBUS_ATTR_UNDERLINE_SINGLE, 0,
                               length);
  // Shown in commit mode: when the focus leaves or the client resets, the daemon commits what the
  // client shows, in the right context.
  ibus_engine_update_preedit_text_with_mode(engine_, preedit, caret, length > 0,
                                            IBUS_ENGINE_PREEDIT_COMMIT);
}

void IBusContextClient::insertText(const std::string& text, TextRange) {
  if (engine_ == nullptr || discardingCommits_ || text.empty()) return;
  ibus_engine_commit_text(engine_, ibus_text_new_from_string(text.c_str()));
}

std::optional<Rect> IBusContextClient::lineRectAt(std::int64_t) {
  return caret_;
}

void IBusContextClient::showLookupTable(IBusLookupTable* table) {
  if (engine_ == nullptr) {
    g_object_ref_sink(table);
    g_object_unref(table);
    return;
  }
  ibus_engine_update_lookup_table(engine_, table, TRUE);
}

void IBusContextClient::hideLookupTable() {
  if (engine_ != nullptr) ibus_engine_hide_lookup_table(engine_);
}

}  // namespace ornav::linux_platform
