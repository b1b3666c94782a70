#include "platform/linux/ibus/ibus_lookup_panel.h"

#include <ibus.h>

#include <string>

#include "platform/linux/ibus/ibus_context_client.h"

namespace ornav::linux_platform {

IBusLookupPanel::IBusLookupPanel(std::shared_ptr<IBusContextClient> client)
    : client_(std::move(client)) {
  client_->setLookupPanel(this);
}

IBusLookupPanel::~IBusLookupPanel() {
  if (client_->lookupPanel() == this) client_->setLookupPanel(nullptr);
}

void IBusLookupPanel::update(const PanelContent& content, const Rect&) {
  pages_ = candidatePages(content);
  if (pages_.candidates.empty()) return hide();
  visible_ = true;
  show();
}

void IBusLookupPanel::show() {
  IBusLookupTable* table =
      ibus_lookup_table_new(CandidatePages::pageSize, pages_.cursor, pages_.cursorVisible, FALSE);
  ibus_lookup_table_set_orientation(table, IBUS_ORIENTATION_HORIZONTAL);
  for (int i = 0; i < CandidatePages::pageSize; ++i) {
    ibus_lookup_table_set_label(table, i, ibus_text_new_from_string(std::to_string(i + 1).c_str()));
  }
  for (const std::string& word : pages_.candidates)
    ibus_lookup_table_append_candidate(table, ibus_text_new_from_string(word.c_str()));
  ibus_lookup_table_set_cursor_pos(table, pages_.cursor);
  client_->showLookupTable(table);
}

void IBusLookupPanel::hide() {
  visible_ = false;
  client_->hideLookupTable();
}

void IBusLookupPanel::clicked(int indexInPage) {
  if (!visible_ || !onPick_) return;
  if (const auto index = pages_.indexOnCursorPage(indexInPage)) onPick_(*index);
}

}  // namespace ornav::linux_platform
