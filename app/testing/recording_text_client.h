// A client text field that records what the controller does to it, in order.
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

  std::optional<std::string> bundleID = std::string("com.example.editor");
  std::optional<Rect> lineRect = Rect{100, 200, 2, 18};  // what lineRectAt answers
  std::optional<int> level;                              // what windowLevel answers

  std::vector<MarkedCall> markedCalls;
  std::vector<std::string> inserts;
  std::vector<TextRange> insertReplacements;
  int lineRectQueries = 0;

  // Everything inserted so far, and the marked text last set.
  std::string inserted() const {
    std::string out;
    for (const auto& text : inserts)
      out += text;
    return out;
  }
  std::string marked() const { return markedCalls.empty() ? "" : markedCalls.back().text.text; }

  std::optional<std::string> bundleIdentifier() const override { return bundleID; }
  void setMarkedText(const MarkedText& text, TextRange selection, TextRange replacement) override {
    markedCalls.push_back({text, selection, replacement});
  }
  void insertText(const std::string& text, TextRange replacement) override {
    inserts.push_back(text);
    insertReplacements.push_back(replacement);
  }
  std::optional<Rect> lineRectAt(std::int64_t) override {
    ++lineRectQueries;
    return lineRect;
  }
  std::optional<int> windowLevel() const override { return level; }
};

}  // namespace ornav::testing
