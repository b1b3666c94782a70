#import "platform/mac/imk_text_client.h"

#include <algorithm>

#import "platform/mac/appkit_values.h"
#import "platform/mac/foundation_text.h"
#include "platform/mac/text_ranges.h"
#include "platform/mac/ui_rules.h"

namespace ornav::mac_platform {

namespace {

// kNotFound (the current selection) is Foundation's NSNotFound.
NSRange nsRangeFor(TextRange range) {
  const NSUInteger length = range.length > 0 ? static_cast<NSUInteger>(range.length) : 0;
  if (range.location == TextRange::kNotFound || range.location < 0) {
    return NSMakeRange(NSNotFound, length);
  }
  return NSMakeRange(static_cast<NSUInteger>(range.location), length);
}

bool hasAttributes(const MarkedText& text) {
  return text.underline != UnderlineStyle::none || text.paragraphDirection ||
         text.paragraphAlignment || text.embeddingDirection;
}

}  // namespace

id markedStringFor(const MarkedText& text) {
  NSString* string = toNSString(text.text);
  if (!hasAttributes(text)) return string;
  NSMutableDictionary<NSAttributedStringKey, id>* attributes = [NSMutableDictionary dictionary];
  if (text.underline == UnderlineStyle::single) {
    attributes[NSUnderlineStyleAttributeName] = @(NSUnderlineStyleSingle);
  }
  if (text.paragraphDirection || text.paragraphAlignment) {
    NSMutableParagraphStyle* paragraph = [[NSMutableParagraphStyle alloc] init];
    if (text.paragraphDirection) {
      paragraph.baseWritingDirection = writingDirectionFor(*text.paragraphDirection);
    }
    if (text.paragraphAlignment) paragraph.alignment = alignmentFor(*text.paragraphAlignment);
    attributes[NSParagraphStyleAttributeName] = paragraph;
  }
  if (text.embeddingDirection && *text.embeddingDirection != WritingDirection::natural) {
    // The value is a list of directions, each or-ed with its kind (embedding, not override).
    const NSInteger direction =
        static_cast<NSInteger>(writingDirectionFor(*text.embeddingDirection));
    attributes[NSWritingDirectionAttributeName] = @[ @(direction | NSWritingDirectionEmbedding) ];
  }
  return [[NSAttributedString alloc] initWithString:string attributes:attributes];
}

std::optional<std::string> ImkTextClient::bundleIdentifier() const {
  if (client_ == nil) return std::nullopt;
  NSString* identifier = [client_ bundleIdentifier];
  if (identifier == nil) return std::nullopt;
  return toStdString(identifier);
}

void ImkTextClient::setMarkedText(const MarkedText& text, TextRange selection,
                                  TextRange replacement) {
  if (client_ == nil) return;
  const Utf16Range units = utf16RangeOfCharacters(text.text, selection);
  [client_ setMarkedText:markedStringFor(text)
          selectionRange:NSMakeRange(static_cast<NSUInteger>(units.location),
                                     static_cast<NSUInteger>(units.length))
        replacementRange:nsRangeFor(replacement)];
}

void ImkTextClient::insertText(const std::string& text, TextRange replacement) {
  if (client_ == nil) return;
  [client_ insertText:toNSString(text) replacementRange:nsRangeFor(replacement)];
}

std::optional<Rect> ImkTextClient::lineRectAt(std::int64_t index) {
  if (client_ == nil) return std::nullopt;
  const NSUInteger at = static_cast<NSUInteger>(std::max<std::int64_t>(index, 0));
  NSRect line = NSZeroRect;
  [client_ attributesForCharacterIndex:at lineHeightRectangle:&line];
  std::optional<Rect> first;
  if (toRect(line).isZero()) {
    // The index counts from the start of the marked text, or from the caret when there is none.
    NSRange start = [client_ markedRange];
    if (start.location == NSNotFound) start = [client_ selectedRange];
    if (start.location != NSNotFound) {
      first = toRect([client_ firstRectForCharacterRange:NSMakeRange(start.location + at, 0)
                                             actualRange:nullptr]);
    }
  }
  return caretRect(toRect(line), first);
}

std::optional<int> ImkTextClient::windowLevel() const {
  // The client protocol does not include NSObject's, hence the plain object.
  const id client = client_;
  if (![client respondsToSelector:@selector(windowLevel)]) return std::nullopt;
  return static_cast<int>([client_ windowLevel]);
}

ImkTextClient CurrentClient::current() const {
  IMKInputController* controller = controller_;
  id client = controller != nil ? [controller client] : nil;
  return ImkTextClient([client conformsToProtocol:@protocol(IMKTextInput)] ? client : nil);
}

std::optional<std::string> CurrentClient::bundleIdentifier() const {
  return current().bundleIdentifier();
}

void CurrentClient::setMarkedText(const MarkedText& text, TextRange selection,
                                  TextRange replacement) {
  current().setMarkedText(text, selection, replacement);
}

void CurrentClient::insertText(const std::string& text, TextRange replacement) {
  current().insertText(text, replacement);
}

std::optional<Rect> CurrentClient::lineRectAt(std::int64_t index) {
  return current().lineRectAt(index);
}

std::optional<int> CurrentClient::windowLevel() const { return current().windowLevel(); }

}  // namespace ornav::mac_platform
