// A client of ibus-daemon for ornavel-ibus's test and bench: input contexts made with the IBus
// client API that record what they receive, and this process standing in for the desktop's panel,
// so the lookup table and the menu's properties are seen as a desktop sees them.
#pragma once

#include <ibus.h>

#include <chrono>
#include <functional>
#include <string>

namespace ornav::ibus_testing {

struct Received {
  std::string committed;  // every commit, in order
  int commits = 0, preedits = 0;
  std::string preedit;
  bool underlined = false;  // the last preedit's underline covers all of it
};

class TestClient {
 public:
  bool connect() {  // false without a daemon
    ibus_init();
    bus_ = ibus_bus_new();
    if (!ibus_bus_is_connected(bus_)) return false;
    panel = ibus_panel_service_new(ibus_bus_get_connection(bus_));
    g_signal_connect(panel, "update-lookup-table", G_CALLBACK(onTable), this);
    g_signal_connect_swapped(panel, "hide-lookup-table",
                             G_CALLBACK(+[](TestClient* self) { g_clear_object(&self->table); }),
                             this);
    g_signal_connect(panel, "register-properties", G_CALLBACK(onProperties), this);
    return ibus_bus_request_name(bus_, IBUS_SERVICE_PANEL, 0) != 0;
  }
  // A focusable context that shows preedit itself; `received` must outlive it.
  IBusInputContext* context(const char* name, Received& received) {
    IBusInputContext* ic = ibus_bus_create_input_context(bus_, name);
    g_signal_connect(ic, "commit-text", G_CALLBACK(onCommit), &received);
    g_signal_connect(ic, "update-preedit-text", G_CALLBACK(onPreedit), &received);
    ibus_input_context_set_capabilities(ic, IBUS_CAP_PREEDIT_TEXT | IBUS_CAP_FOCUS);
    return ic;
  }
  bool useOrnavel() { return ibus_bus_set_global_engine(bus_, "ornavel"); }
  // Runs the main loop until `done` holds or `seconds` pass; whether it holds.
  static bool spinUntil(const std::function<bool()>& done, int seconds = 5) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    while (!done() && std::chrono::steady_clock::now() < end)
      g_main_context_iteration(nullptr, 0);
    return done();
  }
  // Lets everything already sent arrive (a fixed round of the loop, not a wait for a result).
  static void settle() {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(200);
    while (std::chrono::steady_clock::now() < end)
      g_main_context_iteration(nullptr, 0);
  }
  // A key press and its release; whether the press was consumed.
  static bool key(IBusInputContext* ic, guint keyval, guint state = 0) {
    const bool handled = ibus_input_context_process_key_event(ic, keyval, 0, state);
    ibus_input_context_process_key_event(ic, keyval, 0, state | IBUS_RELEASE_MASK);
    return handled;
  }
  static void type(IBusInputContext* ic, const std::string& latin) {
    for (char c : latin)
      key(ic, static_cast<guint>(c));
  }
  IBusProperty* propertyTitled(const std::string& title) const {
    for (guint i = 0; properties && ibus_prop_list_get(properties, i); ++i) {
      IBusText* label = ibus_property_get_label(ibus_prop_list_get(properties, i));
      if (label && title == ibus_text_get_text(label)) return ibus_prop_list_get(properties, i);
    }
    return nullptr;
  }

  IBusPanelService* panel = nullptr;
  IBusLookupTable* table = nullptr;  // the shown lookup table, null while none
  IBusPropList* properties = nullptr;

 private:
  static void onTable(IBusPanelService*, IBusLookupTable* shown, gboolean visible, TestClient* c) {
    g_clear_object(&c->table);
    if (visible) c->table = IBUS_LOOKUP_TABLE(g_object_ref(shown));
  }
  static void onProperties(IBusPanelService*, IBusPropList* list, TestClient* c) {
    g_clear_object(&c->properties);
    c->properties = IBUS_PROP_LIST(g_object_ref(list));
  }
  static void onCommit(IBusInputContext*, IBusText* text, Received* r) {
    r->committed += ibus_text_get_text(text);
    ++r->commits;
  }
  static void onPreedit(IBusInputContext*, IBusText* text, guint, gboolean visible, Received* r) {
    r->preedit = visible ? ibus_text_get_text(text) : "";
    ++r->preedits;
    IBusAttrList* list = ibus_text_get_attributes(text);
    IBusAttribute* first = list ? ibus_attr_list_get(list, 0) : nullptr;
    r->underlined = first && ibus_attribute_get_attr_type(first) == IBUS_ATTR_TYPE_UNDERLINE &&
                    ibus_attribute_get_start_index(first) == 0 &&
                    ibus_attribute_get_end_index(first) == ibus_text_get_length(text);
  }
  IBusBus* bus_ = nullptr;
};

}  // namespace ornav::ibus_testing
