// One cell of the candidate panel: a word and, in the active row, the digit that picks it. The
// cell measures its texts once, knows its size and where its labels go, reports a click, and runs
// the marquee that slides a word too wide for its fixed-width cell back and forth.
//
// Inside a cell the layout runs left to right: the digit 6 points from the left edge, the word's
// right edge 6 points inside the right edge (`wordLeading`, the word's trailing constant, -6 at
// rest), the word 3 points from the top and the bottom. A word wider than a fixed-width cell is
// cut where its area begins, 4 points right of the digit (at the cell's left edge without one),
// so the digit always stays readable; the marquee slides it inside that area.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "ports/main_queue.h"
#include "ports/panel_window.h"
#include "ports/text_measurer.h"
#include "ports/ui_types.h"

namespace ornav {

class CandidateItemView {
 public:
  static constexpr double kSideMargin = 6;      // from the cell's sides to its labels
  static constexpr double kDigitGap = 4;        // between the digit and the word
  static constexpr double kVerticalMargin = 3;  // above and below the word
  static constexpr double kRestingLeading = -6;
  static constexpr double kCornerRadius = 4;
  // The marquee: 0.6 points every 0.03 seconds (20 points a second); a word at most 2 points too
  // wide is left alone.
  static constexpr double kScrollInterval = 0.03;
  static constexpr double kScrollStep = 0.6;
  static constexpr double kScrollSlack = 2;

  // `label` is the digit ("" for none), `font` the word's font; `dim` words are grey, others
  // white. `fixedWidth` is the cell's width in the expanded grid; without it the cell fits its
  // texts. Measures the word (and the digit) once, here.
  CandidateItemView(int globalIndex, const std::string& label, const std::string& word,
                    const Font& font, bool dim, bool isHint, std::optional<double> fixedWidth,
                    const TextMeasurer& measurer);
  CandidateItemView(const CandidateItemView&) = delete;
  CandidateItemView& operator=(const CandidateItemView&) = delete;

  int globalIndex() const { return globalIndex_; }
  bool isHint() const { return isHint_; }
  bool isDim() const { return dim_; }
  const std::optional<double>& fixedWidth() const { return fixedWidth_; }
  double wordWidth() const { return word_.size.width; }
  const std::string& word() const { return word_.text; }
  const std::string& label() const { return digit_.text; }

  void setOnClick(std::function<void()> onClick) { onClick_ = std::move(onClick); }
  // A mouse-down: calls onClick once, unless this is the hint cell or no callback is set.
  void mouseDown() const;

  // The cell's size: the fixed width, or 6 + (digit + 4 with a digit) + word + 6; the word's
  // height + 6.
  Size size() const;
  // The cell drawn at `frame` (content coordinates) with its word at rest, not highlighted.
  PanelCell describe(const Rect& frame) const;

  // Starts the marquee when the cell has a fixed width and its word overflows its room (from the
  // digit's gap, or the left margin, to the right margin) by more than 2 points; `onScroll` gets
  // the word's offset from its resting place (0 ... overflow, towards the right) after every step,
  // and 0 when stopScroll puts it back.
  void startScrollIfNeeded(MainQueue& queue, std::function<void(double offset)> onScroll);
  // Stops the marquee and puts the word back in its resting place.
  void stopScroll();
  bool isScrolling() const { return scrollTimer_ != nullptr; }
  // The word's trailing constant: -6 at rest, up to -6 + overflow while scrolling.
  double wordLeading() const { return wordLeading_; }

 private:
  struct Label {
    std::string text;
    Font font;
    Color color;
    Size size;
  };
  // One marquee run: the word's distance from rest, which way it goes, and how far it may go.
  struct Scroll {
    double position = 0;
    double direction = 1;
    double limit = 0;
  };

  void tick();
  bool hasDigit() const { return !digit_.text.empty(); }
  // Where the word's area begins: right of the digit and its gap, or at the cell's left edge.
  double wordAreaLeft() const {
    return hasDigit() ? kSideMargin + digit_.size.width + kDigitGap : 0;
  }

  int globalIndex_;
  bool isHint_;
  bool dim_;
  std::function<void()> onClick_;
  Label digit_;
  Label word_;
  std::optional<double> fixedWidth_;
  double wordLeading_ = kRestingLeading;
  Scroll scroll_;
  std::function<void(double)> onScroll_;
  // Destroying the handle invalidates the timer, so a tick never reaches a cell that is gone.
  std::unique_ptr<Timer> scrollTimer_;
};

}  // namespace ornav
