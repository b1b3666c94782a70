// The desktop's input-source lists in GSettings' memory backend (GSETTINGS_BACKEND=memory): the
// engine is added once, after what the user had, to the list the desktop reads; the other list
// is left alone.
#include "gsettings_input_source_registry.h"

#include <gio/gio.h>
#include <gtest/gtest.h>

#include <memory>
#include <sstream>

#include "enrol.h"
#include "report_lines.h"

namespace srcenrol {
namespace {

std::string printed(GSettings* settings, const char* key) {
  GVariant* value = g_settings_get_value(settings, key);
  std::unique_ptr<gchar, decltype(&g_free)> text(g_variant_print(value, FALSE), g_free);
  return g_variant_unref(value), text.get();
}

TEST(GSettingsInputSourceRegistry, AddsTheEngineOnceToTheListTheDesktopReads) {
  GSettingsSchemaSource* source = g_settings_schema_source_get_default();
  for (const char* schema : {"org.gnome.desktop.input-sources", "org.freedesktop.ibus.general"}) {
    GSettingsSchema* found = g_settings_schema_source_lookup(source, schema, TRUE);
    if (found == nullptr) GTEST_SKIP() << schema << " is not installed";
    g_settings_schema_unref(found);
  }
  // Made once and kept: GSettings' memory backend lives as long as the process.
  GSettings* gnome = g_settings_new("org.gnome.desktop.input-sources");
  GSettings* ibus = g_settings_new("org.freedesktop.ibus.general");
  const struct {
    const char *desktop, *gnomeAfter, *ibusAfter;
  } rows[] = {{"ubuntu:GNOME", "[('xkb', 'us'), ('ibus', 'ornavel')]", "['xkb:us::eng']"},
              {"KDE", "[('xkb', 'us')]", "['xkb:us::eng', 'ornavel']"}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.desktop);
    g_settings_set_value(gnome, "sources", g_variant_new_parsed("[('xkb', 'us')]"));
    g_settings_set_value(ibus, "preload-engines", g_variant_new_parsed("['xkb:us::eng']"));
    GSettingsInputSourceRegistry registry(row.desktop);
    for (int time = 0; time < 2; ++time) {
      std::ostringstream report;
      EXPECT_EQ(enrol(registry, report), 0);
      EXPECT_EQ(report.str(),
                testing::kOk + testing::kListed + "1" + testing::kModes + "   - ibus:ornavel\n");
    }
    EXPECT_EQ(printed(gnome, "sources"), row.gnomeAfter);
    EXPECT_EQ(printed(ibus, "preload-engines"), row.ibusAfter);
  }
}

}  // namespace
}  // namespace srcenrol
