// The client application's text field as the input controller sees it: where marked (composing)
// text is shown, where committed text goes, and where the caret is on screen.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "ports/geometry.h"

namespace ornav {

// A range of characters in the client's text. `location` == kNotFound with length 0 means "the
// client's current selection", which is what every call of the controller passes as replacement.
struct TextRange {
  static constexpr std::int64_t kNotFound = INT64_MAX;
  std::int64_t location = kNotFound;
  std::int64_t length = 0;
  friend bool operator==(const TextRange&, const TextRange&) = default;
};

enum class WritingDirection { natural, leftToRight, rightToLeft };
enum class TextAlignment { natural, left, right, center, justified };

// Marked text with the attributes the client is asked to draw. A default-constructed value with
// empty text is the plain empty string that removes any marked text.
enum class UnderlineStyle { none, single };

struct MarkedText {
  std::string text;  // UTF-8
  UnderlineStyle underline = UnderlineStyle::none;
  // Paragraph style; absent means the string carries no paragraph attribute.
  std::optional<WritingDirection> paragraphDirection;
  std::optional<TextAlignment> paragraphAlignment;
  // The whole text is a bidirectional embedding in this direction; absent: no such attribute.
  std::optional<WritingDirection> embeddingDirection;
  friend bool operator==(const MarkedText&, const MarkedText&) = default;
};

class TextClient {
 public:
  virtual ~TextClient() = default;

  // The client application's bundle identifier; absent when it has none.
  virtual std::optional<std::string> bundleIdentifier() const = 0;

  // Shows `text` as the marked text, with the caret/selection at `selection` (in user-perceived
  // characters of the marked text), replacing `replacement`.
  virtual void setMarkedText(const MarkedText& text, TextRange selection,
                             TextRange replacement) = 0;

  // Commits `text` (UTF-8) into the document, replacing `replacement` and any marked text.
  virtual void insertText(const std::string& text, TextRange replacement) = 0;

  // The line rectangle (screen coordinates) of the character at `index`; absent when the client
  // does not report one.
  virtual std::optional<Rect> lineRectAt(std::int64_t index) = 0;

  // The level of the client's window among all windows, as the platform numbers window levels,
  // so that the input method's windows can float above it; absent where the client does not say
  // (and on platforms without such levels, hence the default).
  virtual std::optional<int> windowLevel() const { return std::nullopt; }
};

}  // namespace ornav
