// The client text field of InputMethodKit (id<IMKTextInput>) as the TextClient port. Marked text
// carries its underline, paragraph style and writing-direction embedding as NSAttributedString
// attributes; the selection, counted in user-perceived characters by the port, reaches the client
// in UTF-16 code units. Objective-C++ only.
#pragma once

#import <InputMethodKit/InputMethodKit.h>

#include <optional>
#include <string>

#include "ports/text_client.h"

namespace ornav::mac_platform {

// The attributed form of marked text: a plain string when the text has no attributes at all (the
// empty string that removes marked text), otherwise an attributed string. A natural embedding
// direction adds no embedding.
id markedStringFor(const MarkedText& text);

// One client, for the length of a call from InputMethodKit; a nil client answers nothing and
// receives nothing.
class ImkTextClient final : public TextClient {
 public:
  explicit ImkTextClient(id<IMKTextInput> client) : client_(client) {}

  std::optional<std::string> bundleIdentifier() const override;
  void setMarkedText(const MarkedText& text, TextRange selection, TextRange replacement) override;
  void insertText(const std::string& text, TextRange replacement) override;
  // The line rectangle that attributesForCharacterIndex:lineHeightRectangle: fills in; where a
  // client leaves it all zero, the first rectangle of that character (counted from the start of
  // the marked text, or from the caret without any) from firstRectForCharacterRange:actualRange:.
  std::optional<Rect> lineRectAt(std::int64_t index) override;
  // windowLevel of the client protocol, where the client answers it.
  std::optional<int> windowLevel() const override;

 private:
  id<IMKTextInput> client_;
};

// The client of an input controller as InputMethodKit currently reports it: the client is looked
// up on every call (never kept), and the controller is held weakly.
class CurrentClient final : public TextClient {
 public:
  explicit CurrentClient(IMKInputController* controller) : controller_(controller) {}

  std::optional<std::string> bundleIdentifier() const override;
  void setMarkedText(const MarkedText& text, TextRange selection, TextRange replacement) override;
  void insertText(const std::string& text, TextRange replacement) override;
  std::optional<Rect> lineRectAt(std::int64_t index) override;
  std::optional<int> windowLevel() const override;

 private:
  ImkTextClient current() const;
  __weak IMKInputController* controller_;
};

}  // namespace ornav::mac_platform
