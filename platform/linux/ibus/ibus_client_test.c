/* ornavel-ibus through a real ibus-daemon, as applications reach it: input contexts made with the
 * IBus client API receive preedit and commits, and this program also stands in for the desktop's
 * panel, so the lookup table, its paging and clicks and the menu's properties are seen as a desktop
 * sees them. Run by ibus_session_test.sh, which starts the daemon; exit 77 when there is none. */
#include <ibus.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

typedef struct {
  GString* committed; /* every commit, in order */
  int commits;
  char* preedit;
  gboolean underlined; /* the preedit's underline covers all of it */
} Context;

static IBusLookupTable* table;
static int tables;
static IBusPropList* properties;
static int failures;

#define CHECK(condition, ...)                              \
  do {                                                     \
    if (!(condition)) {                                    \
      fprintf(stderr, "FAIL %s:%d: ", __FILE__, __LINE__); \
      fprintf(stderr, __VA_ARGS__);                        \
      fputc('\n', stderr);                                 \
      ++failures;                                          \
    }                                                      \
  } while (0)

static void on_commit(IBusInputContext* ic, IBusText* text, Context* c) {
  (void)ic;
  g_string_append(c->committed, ibus_text_get_text(text));
  ++c->commits;
}

static void on_preedit(IBusInputContext* ic, IBusText* text, guint cursor, gboolean visible,
                       Context* c) {
  (void)ic, (void)cursor;
  g_free(c->preedit);
  c->preedit = g_strdup(visible ? ibus_text_get_text(text) : "");
  IBusAttrList* attributes = ibus_text_get_attributes(text);
  IBusAttribute* first = attributes ? ibus_attr_list_get(attributes, 0) : NULL;
  c->underlined = first != NULL &&
                  ibus_attribute_get_attr_type(first) == IBUS_ATTR_TYPE_UNDERLINE &&
                  ibus_attribute_get_start_index(first) == 0 &&
                  ibus_attribute_get_end_index(first) == ibus_text_get_length(text);
}

static void on_table(IBusPanelService* panel, IBusLookupTable* t, gboolean visible) {
  (void)panel;
  g_clear_object(&table);
  if (visible) table = g_object_ref(t);
  ++tables;
}

static void on_hide_table(IBusPanelService* panel) {
  (void)panel;
  g_clear_object(&table);
  ++tables;
}

static void on_properties(IBusPanelService* panel, IBusPropList* list) {
  (void)panel;
  g_clear_object(&properties);
  properties = g_object_ref(list);
}

/* Runs the main loop until `done` holds or five seconds pass. */
static gboolean spin_until(gboolean (*done)(void*), void* data) {
  gint64 end = g_get_monotonic_time() + 5 * G_USEC_PER_SEC;
  while (!done(data) && g_get_monotonic_time() < end)
    g_main_context_iteration(NULL, FALSE);
  return done(data);
}
static gboolean never(void* data) {
  (void)data;
  return FALSE;
}
/* Lets everything already sent arrive (a fixed round of the loop, not a wait for a result). */
static void settle(void) {
  gint64 end = g_get_monotonic_time() + 200 * 1000;
  while (g_get_monotonic_time() < end)
    g_main_context_iteration(NULL, FALSE);
  (void)never;
}

static const char* preedit_wanted;
static gboolean preedit_is(void* c) {
  return ((Context*)c)->preedit && strcmp(((Context*)c)->preedit, preedit_wanted) == 0;
}
static gboolean committed_once(void* c) {
  return ((Context*)c)->commits == 1;
}
static gboolean table_shown(void* data) {
  (void)data;
  return table != NULL && ibus_lookup_table_get_number_of_candidates(table) > 0;
}

static gboolean key(IBusInputContext* ic, guint keyval, guint state) {
  gboolean handled = ibus_input_context_process_key_event(ic, keyval, 0, state);
  ibus_input_context_process_key_event(ic, keyval, 0, state | IBUS_RELEASE_MASK);
  return handled;
}

static void type(IBusInputContext* ic, const char* latin) {
  for (const char* p = latin; *p; ++p)
    key(ic, (guint)*p, 0);
}

static Context* context_new(IBusInputContext* ic) {
  Context* c = g_new0(Context, 1);
  c->committed = g_string_new("");
  g_signal_connect(ic, "commit-text", G_CALLBACK(on_commit), c);
  g_signal_connect(ic, "update-preedit-text", G_CALLBACK(on_preedit), c);
  ibus_input_context_set_capabilities(ic, IBUS_CAP_PREEDIT_TEXT | IBUS_CAP_FOCUS);
  return c;
}

static void clear(Context* c) {
  g_string_truncate(c->committed, 0);
  c->commits = 0;
}

static IBusProperty* property_titled(const char* title) {
  for (guint i = 0; properties && ibus_prop_list_get(properties, i); ++i) {
    IBusProperty* p = ibus_prop_list_get(properties, i);
    IBusText* label = ibus_property_get_label(p);
    if (label && strcmp(ibus_text_get_text(label), title) == 0) return p;
  }
  return NULL;
}

int main(int argc, char** argv) {
  ibus_init();
  IBusBus* bus = ibus_bus_new();
  if (!ibus_bus_is_connected(bus)) {
    fprintf(stderr, "SKIP: no IBus daemon\n");
    return 77;
  }
  /* The desktop's panel: this program. */
  GDBusConnection* connection = ibus_bus_get_connection(bus);
  IBusPanelService* panel = ibus_panel_service_new(connection);
  g_signal_connect(panel, "update-lookup-table", G_CALLBACK(on_table), NULL);
  g_signal_connect(panel, "hide-lookup-table", G_CALLBACK(on_hide_table), NULL);
  g_signal_connect(panel, "register-properties", G_CALLBACK(on_properties), NULL);
  ibus_bus_request_name(bus, IBUS_SERVICE_PANEL, 0);

  IBusInputContext* ica = ibus_bus_create_input_context(bus, "ornavel-test-a");
  IBusInputContext* icb = ibus_bus_create_input_context(bus, "ornavel-test-b");
  Context* a = context_new(ica);
  Context* b = context_new(icb);
  ibus_input_context_focus_in(ica);
  if (!ibus_bus_set_global_engine(bus, "ornavel")) {
    fprintf(stderr, "FAIL: the daemon cannot start the engine ornavel\n");
    return 1;
  }
  settle();

  /* "pick": one acknowledged pick, for the fault tests around it. */
  if (argc > 1 && strcmp(argv[1], "pick") == 0) {
    type(ica, "salam");
    key(ica, '1', 0);
    spin_until(committed_once, a);
    return a->commits == 1 ? 0 : 1;
  }

  /* salam and 1: the preedit underlined as it grows, then the pick committed with its space. */
  type(ica, "salam");
  preedit_wanted = "سالام";
  CHECK(spin_until(preedit_is, a), "preedit '%s', not سالام", a->preedit);
  CHECK(a->underlined, "the preedit is not underlined over its whole length");
  CHECK(spin_until(table_shown, NULL), "no lookup table while composing");
  if (table) {
    CHECK(ibus_lookup_table_get_page_size(table) == 5, "page size %u",
          ibus_lookup_table_get_page_size(table));
    CHECK(ibus_lookup_table_get_orientation(table) == IBUS_ORIENTATION_HORIZONTAL,
          "the lookup table is not horizontal");
  }
  CHECK(!ibus_input_context_process_key_event(ica, 's', 0, IBUS_RELEASE_MASK),
        "a release event was consumed");
  CHECK(key(ica, '1', 0), "the digit 1 was not consumed");
  preedit_wanted = "";
  spin_until(preedit_is, a);
  CHECK(strcmp(a->committed->str, "سالام ") == 0 && a->commits == 1, "committed '%s' (%d commits)",
        a->committed->str, a->commits);

  /* Escape drops a composition; Control passes through after committing it as typed. */
  clear(a);
  type(ica, "ki");
  CHECK(key(ica, IBUS_KEY_Escape, 0), "Escape with a composition was not consumed");
  settle();
  CHECK(a->commits == 0 && strcmp(a->preedit, "") == 0, "Escape left '%s', committed '%s'",
        a->preedit, a->committed->str);
  type(ica, "ki");
  CHECK(!key(ica, 'c', IBUS_CONTROL_MASK), "Control-c was consumed");
  settle();
  CHECK(a->commits == 1 && strcmp(a->committed->str, "كى") == 0,
        "Control-c committed '%s' (%d commits)", a->committed->str, a->commits);

  /* An unknown keysym commits the composition and reaches the application. */
  clear(a);
  type(ica, "ki");
  CHECK(!key(ica, 0x1001F600, 0), "a key the key map lacks was consumed");
  settle();
  CHECK(a->commits == 1, "the unknown key committed %d times", a->commits);

  /* Paging and clicks in the desktop's list reach the controller's grid: page down shows the
   * second row, a click on its third candidate picks candidate 7. */
  clear(a);
  type(ica, "k");
  spin_until(table_shown, NULL);
  ibus_panel_service_page_down(panel);
  settle();
  guint count = table ? ibus_lookup_table_get_number_of_candidates(table) : 0;
  CHECK(count > 7, "page down shows %u candidates", count);
  CHECK(table && ibus_lookup_table_get_cursor_pos(table) == 5, "page down: cursor at %u",
        table ? ibus_lookup_table_get_cursor_pos(table) : 99);
  if (count > 7) {
    char* word =
        g_strdup_printf("%s ", ibus_text_get_text(ibus_lookup_table_get_candidate(table, 7)));
    ibus_panel_service_candidate_clicked(panel, 2, 1, 0);
    settle();
    CHECK(strcmp(a->committed->str, word) == 0, "the click committed '%s', not '%s'",
          a->committed->str, word);
    g_free(word);
  }
  key(ica, IBUS_KEY_Escape, 0);

  /* The menu as properties: a switch flipped in the desktop's menu shows its new state. */
  IBusProperty* online = property_titled("在线词库");
  CHECK(online && ibus_property_get_prop_type(online) == PROP_TYPE_TOGGLE, "no online toggle");
  if (online) {
    IBusPropState before = ibus_property_get_state(online);
    ibus_panel_service_property_activate(panel, ibus_property_get_key(online), !before);
    settle();
    online = property_titled("在线词库");
    CHECK(online && ibus_property_get_state(online) != before, "the toggle kept its state");
  }

  /* Two contexts: each keeps its composition; leaving one commits it there, exactly once. */
  clear(a);
  type(ica, "sa");
  ibus_input_context_focus_out(ica);
  ibus_input_context_focus_in(icb);
  type(icb, "ki");
  preedit_wanted = "كى";
  CHECK(spin_until(preedit_is, b), "the second context shows '%s'", b->preedit);
  settle();
  CHECK(a->commits == 1 && strcmp(a->committed->str, "سا") == 0,
        "the first context got '%s' in %d commits", a->committed->str, a->commits);
  CHECK(b->commits == 0, "the second context got '%s'", b->committed->str);
  ibus_input_context_focus_out(icb);
  settle();
  CHECK(b->commits == 1 && strcmp(b->committed->str, "كى") == 0,
        "focus out committed '%s' %d times", b->committed->str, b->commits);
  CHECK(a->commits == 1, "the first context got the second's text '%s'", a->committed->str);

  /* A reset commits once (the daemon commits what the client shows). */
  clear(a);
  ibus_input_context_focus_in(ica);
  type(ica, "ki");
  ibus_input_context_reset(ica);
  settle();
  CHECK(a->commits == 1 && strcmp(a->committed->str, "كى") == 0, "reset committed '%s' %d times",
        a->committed->str, a->commits);

  /* A long preedit (ORNAV_LONG_PREEDIT letters, 10,000 take half a minute), its keys sent
   * without waiting for each answer. */
  clear(a);
  const char* letters_wanted = getenv("ORNAV_LONG_PREEDIT");
  const int long_letters = letters_wanted ? atoi(letters_wanted) : 1000;
  gint64 long_start = g_get_monotonic_time();
  for (int i = 0; i < long_letters; ++i)
    ibus_input_context_process_key_event_async(ica, 'a', 0, 0, -1, NULL, NULL, NULL);
  gboolean long_preedit = FALSE;
  gint64 end = g_get_monotonic_time() + 60 * G_USEC_PER_SEC;
  while (!long_preedit && g_get_monotonic_time() < end) {
    g_main_context_iteration(NULL, FALSE);
    long_preedit = a->preedit && g_utf8_strlen(a->preedit, -1) >= long_letters;
  }
  CHECK(long_preedit, "the long preedit has %ld letters",
        a->preedit ? g_utf8_strlen(a->preedit, -1) : 0L);
  fprintf(stderr, "%d letters in %.1f s\n", long_letters,
          (g_get_monotonic_time() - long_start) / 1e6);
  CHECK(key(ica, IBUS_KEY_Escape, 0), "Escape after the long preedit");

  /* The engine is still there: destroying a context while it composes leaves it serving. */
  type(ica, "sa");
  ibus_proxy_destroy(IBUS_PROXY(ica));
  IBusInputContext* icc = ibus_bus_create_input_context(bus, "ornavel-test-c");
  Context* c = context_new(icc);
  ibus_input_context_focus_in(icc);
  type(icc, "salam");
  preedit_wanted = "سالام";
  CHECK(spin_until(preedit_is, c), "a new context after a destroyed one shows '%s'", c->preedit);

  if (failures == 0) printf("PASS: ornavel-ibus through ibus-daemon\n");
  return failures == 0 ? 0 : 1;
}
