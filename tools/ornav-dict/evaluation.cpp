#include "evaluation.h"

#include <algorithm>

#include "base/text.h"

namespace ornav::dict {
namespace {

double ratio(std::size_t part, std::size_t whole) {
  return whole == 0 ? 0.0 : static_cast<double>(part) / static_cast<double>(whole);
}

// Index of `word` in the first row, or firstRowSize when it is not there.
std::size_t findInFirstRow(const std::vector<std::string>& candidates, const std::string& word) {
  const std::size_t shown = std::min(candidates.size(), firstRowSize);
  for (std::size_t i = 0; i < shown; ++i) {
    if (candidates[i] == word) return i;
  }
  return firstRowSize;
}

}  // namespace

double EvalFigures::keystrokeSavings() const {
  return baselineKeys() == 0 ? 0.0 : 1.0 - ratio(keys, baselineKeys());
}
double EvalFigures::predictionShare() const {
  return ratio(from_predictions, words);
}
double EvalFigures::outOfVocabularyRate() const {
  return ratio(out_of_vocabulary, words);
}

EvalFigures evaluate(EngineSession& engine, const Typist& typist,
                     const std::vector<std::vector<std::string>>& lines,
                     const EvalOptions& options) {
  EvalFigures figures;
  std::size_t seen = 0;

  const auto pick = [&](std::size_t index, const std::string& word) {
    figures.keys += 1;
    if (options.learning) {
      engine.select(index);
    } else {
      // The same context as a pick, without the pick's count.
      engine.reset();
      engine.input(word);
      engine.commitRaw();
    }
  };

  for (const auto& line : lines) {
    engine.reset();
    for (const auto& word : line) {
      if (options.progress && ++seen % 1000 == 0) options.progress(seen);
      const auto typed = typist.type(word);
      if (!typed) {
        ++figures.untypeable;
        engine.reset();  // the user typed it some other way; its context is lost to us
        continue;
      }
      ++figures.words;
      figures.letters += codePointCount(word);
      figures.full_keys += typed->presses + 1;
      if (options.in_vocabulary && !options.in_vocabulary(word)) ++figures.out_of_vocabulary;

      std::size_t index = findInFirstRow(engine.candidates(), word);
      if (index < firstRowSize) {
        pick(index, word);
        ++figures.from_predictions;
        continue;
      }
      bool picked = false;
      for (const auto& key : typed->keys) {
        figures.keys += codePointCount(key.typed);
        for (std::size_t i = 0; i < key.erase; ++i)
          engine.backspace();
        if (!key.output.empty()) engine.input(key.output);
        index = findInFirstRow(engine.candidates(), word);
        if (index < firstRowSize) {
          pick(index, word);
          ++figures.from_candidates;
          picked = true;
          break;
        }
      }
      if (!picked) {
        figures.keys += 1;
        engine.commitRaw();
        ++figures.typed_whole;
      }
    }
  }
  return figures;
}

}  // namespace ornav::dict
