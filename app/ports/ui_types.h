// Fonts and colours as the portable code describes them; a platform maps them to its own objects.
#pragma once

#include <string>
#include <utility>

namespace ornav {

struct Font {
  // Empty: the system font. Otherwise a font name (for a registered file: its PostScript name).
  std::string name;
  double pointSize = 13;
  bool bold = false;

  static Font system(double size) { return Font{"", size, false}; }
  static Font boldSystem(double size) { return Font{"", size, true}; }
  static Font named(std::string fontName, double size) { return Font{std::move(fontName), size}; }
  friend bool operator==(const Font&, const Font&) = default;
};

// How high a window floats: dialogs above the client application's windows, the candidate panel
// above those (the level of pop-up menus).
enum class WindowLevel { normal, floating, popUpMenu };

// The direction a label's text runs in; natural lets the text's own letters decide.
enum class TextDirection { natural, leftToRight, rightToLeft };

// A colour: either a system colour that follows the appearance, or fixed components (0...1).
struct Color {
  enum class Role {
    custom,          // the components below
    clear,           // fully transparent
    label,           // primary text
    secondaryLabel,  // secondary text
    tertiaryLabel,   // tertiary text
    systemBlue,      // the accent blue; `alpha` applies
  };
  Role role = Role::custom;
  double red = 0;
  double green = 0;
  double blue = 0;
  double alpha = 1;

  static Color white(double level, double alpha = 1) {
    return Color{Role::custom, level, level, level, alpha};
  }
  static Color clear() { return Color{Role::clear, 0, 0, 0, 0}; }
  static Color ofRole(Role role, double alpha = 1) { return Color{role, 0, 0, 0, alpha}; }
  friend bool operator==(const Color&, const Color&) = default;
};

}  // namespace ornav
