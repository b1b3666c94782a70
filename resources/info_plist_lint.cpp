#include "info_plist_lint.h"

#include <plist/plist.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <memory>
#include <optional>
#include <set>

namespace ornav::resources {

namespace {

struct PlistFree {
  void operator()(plist_t node) const { plist_free(node); }
};
using PlistOwner = std::unique_ptr<void, PlistFree>;

PlistOwner parse(std::string_view bytes) {
  plist_t root = nullptr;
  if (!bytes.empty()) plist_from_memory(bytes.data(), static_cast<uint32_t>(bytes.size()), &root);
  return PlistOwner(root);
}

bool isType(plist_t node, plist_type type) {
  return node != nullptr && plist_get_node_type(node) == type;
}

std::optional<std::string> stringOf(plist_t node) {
  if (!isType(node, PLIST_STRING)) return std::nullopt;
  uint64_t length = 0;
  const char* text = plist_get_string_ptr(node, &length);
  return std::string(text, static_cast<std::size_t>(length));
}

std::optional<bool> boolOf(plist_t node) {
  if (!isType(node, PLIST_BOOLEAN)) return std::nullopt;
  uint8_t value = 0;
  plist_get_bool_val(node, &value);
  return value != 0;
}

std::optional<std::vector<std::string>> stringsOf(plist_t node) {
  if (!isType(node, PLIST_ARRAY)) return std::nullopt;
  std::vector<std::string> strings;
  for (uint32_t i = 0; i < plist_array_get_size(node); ++i) {
    auto value = stringOf(plist_array_get_item(node, i));
    if (!value) return std::nullopt;
    strings.push_back(*value);
  }
  return strings;
}

// Calls `visit` with each key and value of a dictionary, in file order.
void forEachEntry(plist_t dict, const std::function<void(const std::string&, plist_t)>& visit) {
  plist_dict_iter iterator = nullptr;
  plist_dict_new_iter(dict, &iterator);
  for (;;) {
    char* key = nullptr;
    plist_t value = nullptr;
    plist_dict_next_item(dict, iterator, &key, &value);
    if (value == nullptr) {
      std::free(key);
      break;
    }
    const std::string name = key != nullptr ? key : "";
    std::free(key);
    visit(name, value);
  }
  std::free(iterator);
}

// Every string anywhere in the tree, for the check that configuration replaced each @VARIABLE@.
void collectStrings(plist_t node, std::vector<std::string>& out) {
  if (auto value = stringOf(node)) {
    out.push_back(*value);
  } else if (isType(node, PLIST_ARRAY)) {
    for (uint32_t i = 0; i < plist_array_get_size(node); ++i) {
      collectStrings(plist_array_get_item(node, i), out);
    }
  } else if (isType(node, PLIST_DICT)) {
    forEachEntry(node, [&](const std::string&, plist_t value) { collectStrings(value, out); });
  }
}

class Linter {
 public:
  explicit Linter(std::vector<std::string>& problems) : problems_(problems) {}

  void problem(const std::string& text) { problems_.push_back(text); }

  std::optional<std::string> string(plist_t dict, const std::string& path, const char* key) {
    auto value = stringOf(plist_dict_get_item(dict, key));
    if (!value || value->empty()) problem(path + key + ": a non-empty string is required");
    return value && !value->empty() ? value : std::nullopt;
  }
  void stringEquals(plist_t dict, const std::string& path, const char* key,
                    const std::string& expected) {
    if (auto value = string(dict, path, key); value && *value != expected) {
      problem(path + key + ": \"" + *value + "\" should be \"" + expected + "\"");
    }
  }
  void isTrue(plist_t dict, const std::string& path, const char* key) {
    auto value = boolOf(plist_dict_get_item(dict, key));
    if (!value) {
      problem(path + key + ": a boolean is required");
    } else if (!*value) {
      problem(path + key + ": should be true");
    }
  }
  void repertoire(plist_t dict, const std::string& path, const char* key,
                  const std::string& script) {
    auto scripts = stringsOf(plist_dict_get_item(dict, key));
    if (!scripts || scripts->empty()) {
      problem(path + key + ": a non-empty array of strings is required");
      return;
    }
    if (std::find(scripts->begin(), scripts->end(), script) == scripts->end()) {
      problem(path + key + ": should name the script " + script);
    }
    // A mode that claims Latin is taken for one that types ASCII, which this one does not.
    if (std::find(scripts->begin(), scripts->end(), "Latn") != scripts->end()) {
      problem(path + key + ": should not name Latn");
    }
  }

 private:
  std::vector<std::string>& problems_;
};

}  // namespace

std::vector<std::string> lintInfoPlist(std::string_view bytes,
                                       const InfoPlistExpectations& expected) {
  std::vector<std::string> problems;
  PlistOwner root = parse(bytes);
  if (!isType(root.get(), PLIST_DICT)) {
    problems.push_back("not a well-formed property list with a dictionary at its root");
    return problems;
  }
  plist_t top = root.get();
  Linter lint(problems);

  lint.stringEquals(top, "", "CFBundleIdentifier", expected.bundleIdentifier);
  lint.stringEquals(top, "", "CFBundleExecutable", "Ornavel");
  lint.stringEquals(top, "", "CFBundlePackageType", "APPL");
  lint.stringEquals(top, "", "CFBundleInfoDictionaryVersion", "6.0");
  lint.stringEquals(top, "", "CFBundleShortVersionString", expected.version);
  lint.stringEquals(top, "", "CFBundleVersion", expected.version);
  lint.stringEquals(top, "", "CFBundleDisplayName", expected.displayName);
  lint.string(top, "", "CFBundleName");
  lint.string(top, "", "CFBundleDevelopmentRegion");
  lint.string(top, "", "CFBundleIconFile");
  lint.string(top, "", "LSMinimumSystemVersion");
  lint.stringEquals(top, "", "NSPrincipalClass", "NSApplication");
  // An agent: no Dock icon or menu bar, yet free to show its dialogs in front.
  lint.isTrue(top, "", "LSUIElement");
  if (plist_dict_get_item(top, "LSBackgroundOnly") != nullptr) {
    lint.problem("LSBackgroundOnly: must not be set, the input method shows windows");
  }
  lint.stringEquals(top, "", "InputMethodConnectionName",
                    expected.bundleIdentifier + "_Connection");
  lint.stringEquals(top, "", "InputMethodServerControllerClass", expected.controllerClass);
  lint.stringEquals(top, "", "TISIntendedLanguage", expected.language);
  lint.string(top, "", "tsInputMethodIconFileKey");
  lint.repertoire(top, "", "tsInputMethodCharacterRepertoireKey", expected.repertoire);

  plist_t component = plist_dict_get_item(top, "ComponentInputModeDict");
  plist_t modes = isType(component, PLIST_DICT)
                      ? plist_dict_get_item(component, "tsInputModeListKey")
                      : nullptr;
  if (!isType(modes, PLIST_DICT) || plist_dict_get_size(modes) == 0) {
    lint.problem(
        "ComponentInputModeDict/tsInputModeListKey: a dictionary of input modes is required");
    return problems;
  }
  std::set<std::string> visibleModes;
  forEachEntry(modes, [&](const std::string& key, plist_t mode) {
    const std::string path = "ComponentInputModeDict/tsInputModeListKey/" + key + "/";
    if (!isType(mode, PLIST_DICT)) {
      lint.problem(path + ": a dictionary is required");
      return;
    }
    if (key.rfind(expected.bundleIdentifier + ".", 0) != 0) {
      lint.problem(path + ": a mode's identifier begins with the bundle identifier and a dot");
    }
    lint.stringEquals(mode, path, "TISInputSourceID", key);
    lint.stringEquals(mode, path, "TISIntendedLanguage", expected.language);
    lint.string(mode, path, "tsInputModeScriptKey");
    lint.string(mode, path, "tsInputModeMenuIconFileKey");
    lint.repertoire(mode, path, "tsInputModeCharacterRepertoireKey", expected.repertoire);
    if (!boolOf(plist_dict_get_item(mode, "tsInputModeDefaultStateKey"))) {
      lint.problem(path + "tsInputModeDefaultStateKey: a boolean is required");
    }
    auto visible = boolOf(plist_dict_get_item(mode, "tsInputModeIsVisibleKey"));
    if (!visible) lint.problem(path + "tsInputModeIsVisibleKey: a boolean is required");
    if (visible.value_or(false)) visibleModes.insert(key);
  });

  auto order = stringsOf(plist_dict_get_item(component, "tsVisibleInputModeOrderedArrayKey"));
  if (!order) {
    lint.problem(
        "ComponentInputModeDict/tsVisibleInputModeOrderedArrayKey: an array of strings is "
        "required");
  } else {
    const std::set<std::string> ordered(order->begin(), order->end());
    if (ordered.size() != order->size() || ordered != visibleModes) {
      lint.problem(
          "ComponentInputModeDict/tsVisibleInputModeOrderedArrayKey: should name each "
          "visible mode exactly once");
    }
  }

  std::vector<std::string> strings;
  collectStrings(top, strings);
  for (const auto& text : strings) {
    if (text.find('@') != std::string::npos) lint.problem("unconfigured value: " + text);
  }
  return problems;
}

std::vector<std::string> iconFilesOf(std::string_view bytes) {
  std::vector<std::string> files;
  PlistOwner root = parse(bytes);
  if (!isType(root.get(), PLIST_DICT)) return files;
  if (auto icon = stringOf(plist_dict_get_item(root.get(), "CFBundleIconFile"))) {
    // The bundle icon may be named without its extension.
    files.push_back(icon->find('.') == std::string::npos ? *icon + ".icns" : *icon);
  }
  if (auto icon = stringOf(plist_dict_get_item(root.get(), "tsInputMethodIconFileKey"))) {
    files.push_back(*icon);
  }
  plist_t component = plist_dict_get_item(root.get(), "ComponentInputModeDict");
  plist_t modes = isType(component, PLIST_DICT)
                      ? plist_dict_get_item(component, "tsInputModeListKey")
                      : nullptr;
  if (isType(modes, PLIST_DICT)) {
    forEachEntry(modes, [&](const std::string&, plist_t mode) {
      for (const char* key : {"tsInputModeMenuIconFileKey", "tsInputModePaletteIconFileKey"}) {
        if (auto icon = stringOf(plist_dict_get_item(mode, key))) files.push_back(*icon);
      }
    });
  }
  std::sort(files.begin(), files.end());
  files.erase(std::unique(files.begin(), files.end()), files.end());
  return files;
}

}  // namespace ornav::resources
