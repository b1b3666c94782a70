// The desktop's input-source lists in GSettings' memory backend (the test runs with
// GSETTINGS_BACKEND=memory): the engine is added to the list the desktop reads, once, after what
// the user had; the other desktop's list is left alone.
#include "gsettings_input_source_registry.h"

#include <gio/gio.h>
#include <gtest/gtest.h>

#include <sstream>

#include "enrol.h"
#include "report_lines.h"

namespace srcenrol {
namespace {

bool installed(const char* schema) {
  GSettingsSchemaSource* source = g_settings_schema_source_get_default();
  GSettingsSchema* found = source ? g_settings_schema_source_lookup(source, schema, TRUE) : nullptr;
  if (found != nullptr) g_settings_schema_unref(found);
  return found != nullptr;
}

std::string printed(GSettings* settings, const char* key) {
  GVariant* value = g_settings_get_value(settings, key);
  gchar* text = g_variant_print(value, FALSE);
  std::string out = text;
  g_free(text);
  g_variant_unref(value);
  return out;
}

TEST(GSettingsInputSourceRegistry, AddsTheEngineOnceToTheListTheDesktopReads) {
  if (!installed("org.gnome.desktop.input-sources") || !installed("org.freedesktop.ibus.general"))
    GTEST_SKIP() << "the GNOME or IBus settings schemas are not installed";
  GSettings* gnome = g_settings_new("org.gnome.desktop.input-sources");
  GSettings* ibus = g_settings_new("org.freedesktop.ibus.general");
  struct Row {
    const char* desktop;
    std::string gnomeAfter;
    std::string ibusAfter;
  };
  const Row rows[] = {
      {"ubuntu:GNOME", "[('xkb', 'us'), ('ibus', 'ornavel')]", "['xkb:us::eng']"},
      {"KDE", "[('xkb', 'us')]", "['xkb:us::eng', 'ornavel']"},
      {"", "[('xkb', 'us')]", "['xkb:us::eng', 'ornavel']"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.desktop);
    g_settings_set_value(gnome, "sources", g_variant_new_parsed("[('xkb', 'us')]"));
    g_settings_set_value(ibus, "preload-engines", g_variant_new_parsed("['xkb:us::eng']"));
    GSettingsInputSourceRegistry registry(row.desktop);
    for (int time = 0; time < 2; ++time) {
      std::ostringstream report;
      EXPECT_EQ(enrol(registry, report), 0);
      EXPECT_EQ(report.str(), testing::kOk + testing::kListed + "1" + testing::kModes + "   - " +
                                  "ibus:ornavel\n");
    }
    EXPECT_EQ(printed(gnome, "sources"), row.gnomeAfter);
    EXPECT_EQ(printed(ibus, "preload-engines"), row.ibusAfter);
  }
  g_object_unref(gnome);
  g_object_unref(ibus);
}

}  // namespace
}  // namespace srcenrol
