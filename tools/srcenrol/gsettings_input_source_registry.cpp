#include "gsettings_input_source_registry.h"

#include <gio/gio.h>

#include <memory>
#include <sstream>
#include <vector>

namespace srcenrol {
namespace {

constexpr char kGnomeSchema[] = "org.gnome.desktop.input-sources";
constexpr char kGnomeKey[] = "sources";
constexpr char kIBusSchema[] = "org.freedesktop.ibus.general";
constexpr char kIBusKey[] = "preload-engines";

struct Unref {
  void operator()(gpointer object) const { g_object_unref(object); }
};
using SettingsPtr = std::unique_ptr<GSettings, Unref>;

// The settings of `schema`, or null where the schema is not installed (GSettings would abort).
SettingsPtr settingsOf(const char* schema) {
  GSettingsSchemaSource* source = g_settings_schema_source_get_default();
  GSettingsSchema* found =
      source != nullptr ? g_settings_schema_source_lookup(source, schema, TRUE) : nullptr;
  if (found == nullptr) return nullptr;
  g_settings_schema_unref(found);
  return SettingsPtr(g_settings_new(schema));
}

// The engines of IBus in a GNOME sources list.
std::vector<std::pair<std::string, std::string>> gnomeSources(GSettings* settings) {
  std::vector<std::pair<std::string, std::string>> sources;
  GVariant* value = g_settings_get_value(settings, kGnomeKey);
  GVariantIter iter;
  g_variant_iter_init(&iter, value);
  const gchar* type = nullptr;
  const gchar* id = nullptr;
  while (g_variant_iter_next(&iter, "(&s&s)", &type, &id))
    sources.emplace_back(type, id);
  g_variant_unref(value);
  return sources;
}

std::vector<std::string> ibusEngines(GSettings* settings) {
  std::vector<std::string> engines;
  gchar** values = g_settings_get_strv(settings, kIBusKey);
  for (gchar** v = values; v != nullptr && *v != nullptr; ++v)
    engines.emplace_back(*v);
  g_strfreev(values);
  return engines;
}

}  // namespace

GSettingsInputSourceRegistry::GSettingsInputSourceRegistry(std::string currentDesktop)
    : currentDesktop_(std::move(currentDesktop)) {}

bool GSettingsInputSourceRegistry::gnome() const {
  std::istringstream names(currentDesktop_);
  for (std::string name; std::getline(names, name, ':');) {
    if (name == "GNOME" || name == "GNOME-Classic" || name == "GNOME-Flashback") return true;
  }
  return false;
}

std::int32_t GSettingsInputSourceRegistry::registerBundle(const std::string&) {
  if (SettingsPtr settings = gnome() ? settingsOf(kGnomeSchema) : nullptr) {
    auto sources = gnomeSources(settings.get());
    for (const auto& [type, id] : sources) {
      if (type == "ibus" && id == kEngineName) return 0;
    }
    GVariantBuilder builder;
    g_variant_builder_init(&builder, G_VARIANT_TYPE("a(ss)"));
    for (const auto& [type, id] : sources)
      g_variant_builder_add(&builder, "(ss)", type.c_str(), id.c_str());
    g_variant_builder_add(&builder, "(ss)", "ibus", kEngineName);
    const bool written =
        g_settings_set_value(settings.get(), kGnomeKey, g_variant_builder_end(&builder));
    g_settings_sync();
    return written ? 0 : kNotWritable;
  }
  SettingsPtr settings = settingsOf(kIBusSchema);
  if (!settings) return kNoInputSourceList;
  std::vector<std::string> engines = ibusEngines(settings.get());
  for (const std::string& engine : engines) {
    if (engine == kEngineName) return 0;
  }
  engines.emplace_back(kEngineName);
  std::vector<const gchar*> values;
  for (const std::string& engine : engines)
    values.push_back(engine.c_str());
  values.push_back(nullptr);
  const bool written = g_settings_set_strv(settings.get(), kIBusKey, values.data());
  g_settings_sync();
  return written ? 0 : kNotWritable;
}

std::optional<ListedSources> GSettingsInputSourceRegistry::sourcesOfBundle(const std::string&) {
  ListedSources listed;
  if (SettingsPtr settings = gnome() ? settingsOf(kGnomeSchema) : nullptr) {
    for (const auto& [type, id] : gnomeSources(settings.get())) {
      if (type == "ibus" && id == kEngineName) listed.emplace_back(type + ":" + id);
    }
    return listed;
  }
  SettingsPtr settings = settingsOf(kIBusSchema);
  if (!settings) return std::nullopt;
  for (const std::string& engine : ibusEngines(settings.get())) {
    if (engine == kEngineName) listed.emplace_back("ibus:" + engine);
  }
  return listed;
}

}  // namespace srcenrol
