// ornavel-ibus through a real ibus-daemon, as applications and the desktop's panel reach it. Run
// by ibus_session.sh, which starts the daemon; exit 77 when there is none. "pick" makes one
// acknowledged pick only, for the fault tests around it.
#include <cstdio>
#include <cstdlib>

#include "ibus_test_client.h"

using namespace ornav::ibus_testing;

static int failures = 0;
#define CHECK(condition, ...)                                          \
  if (!(condition))                                                    \
  (void)(++failures, std::fprintf(stderr, "FAIL line %d: ", __LINE__), \
         std::fprintf(stderr, __VA_ARGS__), std::fputc('\n', stderr))

int main(int argc, char** argv) {
  TestClient client;
  if (!client.connect()) return std::puts("SKIP: no IBus daemon"), 77;
  Received a, b;
  IBusInputContext* ica = client.context("ornavel-test-a", a);
  IBusInputContext* icb = client.context("ornavel-test-b", b);
  ibus_input_context_focus_in(ica);
  if (!client.useOrnavel()) return std::puts("FAIL: the daemon cannot start ornavel"), 1;
  TestClient::settle();
  const auto preeditIs = [](Received& r, const char* text) {
    return TestClient::spinUntil([&] { return r.preedit == text; });
  };
  if (argc > 1 && std::string(argv[1]) == "pick") {
    TestClient::type(ica, "salam");
    TestClient::key(ica, '1');
    return TestClient::spinUntil([&] { return a.commits == 1; }) ? 0 : 1;
  }
  // salam and 1: the preedit underlined, the lookup table, then the pick with its space.
  TestClient::type(ica, "salam");
  CHECK(preeditIs(a, "سالام") && a.underlined, "preedit '%s'", a.preedit.c_str());
  CHECK(TestClient::key(ica, '1'), "1 passed through");
  CHECK(preeditIs(a, "") && a.committed == "سالام " && a.commits == 1, "%s", a.committed.c_str());
  // An engine that cannot compose fails everything below only by waiting for it.
  if (failures > 0) return std::puts("FAIL: ornavel does not compose; the rest is not tried"), 1;

  // Escape drops a composition; Control and a keysym the key map lacks commit it and pass.
  struct Row {
    guint keyval, state;
    bool consumed;
    const char* committed;
  };
  for (const Row& row :
       {Row{IBUS_KEY_Escape, 0, true, ""}, Row{'c', IBUS_CONTROL_MASK, false, "كى"},
        Row{0x1001F600, 0, false, "كى"}}) {
    a = {};
    TestClient::type(ica, "ki");
    CHECK(TestClient::key(ica, row.keyval, row.state) == row.consumed, "key %x", row.keyval);
    TestClient::settle();
    CHECK(a.committed == row.committed && a.preedit.empty(), "key %x: %s", row.keyval,
          a.committed.c_str());
  }

  // The desktop's list: page down shows the grid's second row, a click on its third candidate
  // picks candidate 7.
  a = {};
  TestClient::type(ica, "k");
  TestClient::spinUntil([&] { return client.table != nullptr; });
  ibus_panel_service_page_down(client.panel);
  TestClient::settle();
  IBusLookupTable* table = client.table;
  const bool paged = table && ibus_lookup_table_get_number_of_candidates(table) > 7 &&
                     ibus_lookup_table_get_cursor_pos(table) == 5;
  CHECK(paged && ibus_lookup_table_get_page_size(table) == 5, "page down");
  if (paged) {
    const std::string word = ibus_text_get_text(ibus_lookup_table_get_candidate(table, 7));
    ibus_panel_service_candidate_clicked(client.panel, 2, 1, 0);
    TestClient::settle();
    CHECK(a.committed == word + " ", "the click committed '%s'", a.committed.c_str());
  }

  // The menu as properties: a switch flipped in the desktop's menu shows its new state.
  IBusProperty* online = client.propertyTitled("在线词库");
  CHECK(online && ibus_property_get_prop_type(online) == PROP_TYPE_TOGGLE, "no online toggle");
  if (online) {
    const IBusPropState before = ibus_property_get_state(online);
    ibus_panel_service_property_activate(client.panel, ibus_property_get_key(online), !before);
    TestClient::settle();
    online = client.propertyTitled("在线词库");
    CHECK(online && ibus_property_get_state(online) != before, "the toggle kept its state");
  }

  // Two contexts: each keeps its composition; leaving one commits it there, exactly once, and a
  // reset too.
  a = {};
  TestClient::type(ica, "sa");
  ibus_input_context_focus_out(ica);
  ibus_input_context_focus_in(icb);
  TestClient::type(icb, "ki");
  CHECK(preeditIs(b, "كى"), "the second context shows '%s'", b.preedit.c_str());
  ibus_input_context_focus_out(icb);
  ibus_input_context_focus_in(ica);
  TestClient::type(ica, "ki");
  ibus_input_context_reset(ica);
  TestClient::settle();
  CHECK(a.committed == "ساكى" && a.commits == 2, "first: %s", a.committed.c_str());
  CHECK(b.committed == "كى" && b.commits == 1, "second: %s", b.committed.c_str());

  // A long preedit (ORNAV_LONG_PREEDIT letters), its keys sent without waiting for the answers.
  const char* wanted = std::getenv("ORNAV_LONG_PREEDIT");
  const long letters = wanted ? std::atol(wanted) : 1000;
  for (long i = 0; i < letters; ++i)
    ibus_input_context_process_key_event_async(ica, 'a', 0, 0, -1, nullptr, nullptr, nullptr);
  const bool long_preedit =
      TestClient::spinUntil([&] { return g_utf8_strlen(a.preedit.c_str(), -1) >= letters; }, 120);
  CHECK(long_preedit && TestClient::key(ica, IBUS_KEY_Escape), "the long preedit");

  if (failures == 0) std::printf("PASS: ornavel-ibus through ibus-daemon\n");
  return failures == 0 ? 0 : 1;
}
