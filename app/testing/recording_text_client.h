// A client text field that records what the controller does to it, in order, and keeps a simple
// model of the document (committed text and the current marked text).
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "ports/text_client.h"

namespace ornav::testing {

class RecordingTextClient : public TextClient {
 public:
  struct MarkedCall {
    MarkedText text;
    TextRange selection;
    TextRange replacement;
  };
  struct InsertCall {
    std::string text;
    TextRange replacement;
  };
  // One entry per call, e.g. "setMarkedText:ئا", "insertText:ئا ", "lineRectAt:0".
  std::vector<std::string> calls;
  std::vector<MarkedCall> markedCalls;
  std::vector<InsertCall> insertCalls;

  std::optional<std::string> identifier = std::string("com.example.editor");
  std::optional<Rect> lineRect;  // what lineRectAt answers

  // The document as the user would see it: committed text, and the marked text still shown.
  std::string committed;
  std::string marked;

  std::optional<std::string> bundleIdentifier() const override { return identifier; }

  void setMarkedText(const MarkedText& text, TextRange selection, TextRange replacement) override {
    calls.push_back("setMarkedText:" + text.text);
    markedCalls.push_back({text, selection, replacement});
    marked = text.text;
  }

  void insertText(const std::string& text, TextRange replacement) override {
    calls.push_back("insertText:" + text);
    insertCalls.push_back({text, replacement});
    committed += text;
    marked.clear();  // inserting replaces the marked text
  }

  std::optional<Rect> lineRectAt(std::int64_t index) override {
    calls.push_back("lineRectAt:" + std::to_string(index));
    return lineRect;
  }

  void clearRecords() {
    calls.clear();
    markedCalls.clear();
    insertCalls.clear();
  }
};

}  // namespace ornav::testing
