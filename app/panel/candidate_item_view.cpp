#include "candidate_item_view.h"

#include <algorithm>
#include <utility>

namespace ornav {

namespace {

// Accumulated steps of 0.6 are not exact in binary; an end a whole number of steps away must
// still be reached on its step, not one later.
constexpr double kEndTolerance = 1e-9;

// 0.6 × the word's size, written as 3/5 so that 18 points gives exactly 10.8.
double digitPointSize(double wordPointSize) {
  return wordPointSize * 3 / 5;
}

}  // namespace

CandidateItemView::CandidateItemView(int globalIndex, const std::string& label,
                                     const std::string& word, const Font& font, bool dim,
                                     bool isHint, std::optional<double> fixedWidth,
                                     const TextMeasurer& measurer)
    : globalIndex_(globalIndex), isHint_(isHint), dim_(dim), fixedWidth_(fixedWidth) {
  word_.text = word;
  word_.font = font;
  word_.color = dim ? Color::white(0.72) : Color::white(1);
  word_.size = measurer.measure(word, font);
  digit_.text = label;
  digit_.font = Font::system(digitPointSize(font.pointSize));
  digit_.color = Color::white(0.55);
  if (hasDigit()) digit_.size = measurer.measure(label, digit_.font);
}

void CandidateItemView::mouseDown() const {
  if (isHint_ || !onClick_) return;
  // A copy: the click may rebuild the panel and drop this cell while it runs.
  auto onClick = onClick_;
  onClick();
}

Size CandidateItemView::size() const {
  const double height = word_.size.height + 2 * kVerticalMargin;
  if (fixedWidth_) return Size{*fixedWidth_, height};
  double width = kSideMargin;
  if (hasDigit()) width += digit_.size.width + kDigitGap;
  width += word_.size.width;
  width += kSideMargin;
  return Size{width, height};
}

PanelCell CandidateItemView::describe(const Rect& frame) const {
  PanelCell cell;
  cell.globalIndex = globalIndex_;
  cell.isHint = isHint_;
  cell.dim = dim_;
  cell.highlighted = false;
  cell.frame = frame;
  cell.background = Color::clear();
  cell.cornerRadius = kCornerRadius;
  // The word's right edge is held at the cell's right edge plus the resting constant; its left
  // edge follows from its width, past its area's left edge when the word is too wide.
  cell.word = PanelLabel{
      word_.text, word_.font, word_.color,
      Rect{frame.width + kRestingLeading - word_.size.width, kVerticalMargin, word_.size.width,
           word_.size.height},
      // The letters decide: Arabic-script words run right to left, the hint left to right.
      TextDirection::natural};
  if (hasDigit()) {
    cell.digit = PanelLabel{digit_.text, digit_.font, digit_.color,
                            Rect{kSideMargin, (frame.height - digit_.size.height) / 2,
                                 digit_.size.width, digit_.size.height},
                            TextDirection::natural};
    cell.wordArea = Rect{wordAreaLeft(), 0, frame.width - wordAreaLeft(), frame.height};
  }
  return cell;
}

void CandidateItemView::startScrollIfNeeded(MainQueue& queue,
                                            std::function<void(double offset)> onScroll) {
  scrollTimer_.reset();
  // A cell that sizes to its texts always fits its word.
  if (!fixedWidth_) return;
  const double room = *fixedWidth_ - kSideMargin - std::max(wordAreaLeft(), kSideMargin);
  const double overflow = word_.size.width - room;
  if (!(overflow > kScrollSlack)) return;
  scroll_ = Scroll{0, 1, overflow};
  onScroll_ = std::move(onScroll);
  scrollTimer_ = queue.scheduleRepeating(Seconds(kScrollInterval), [this] { tick(); });
}

void CandidateItemView::tick() {
  scroll_.position += kScrollStep * scroll_.direction;
  // Reverses at once at both ends, with no pause.
  if (scroll_.position >= scroll_.limit - kEndTolerance) {
    scroll_.position = scroll_.limit;
    scroll_.direction = -1;
  } else if (scroll_.position <= kEndTolerance) {
    scroll_.position = 0;
    scroll_.direction = 1;
  }
  wordLeading_ = kRestingLeading + scroll_.position;
  if (onScroll_) onScroll_(scroll_.position);
}

void CandidateItemView::stopScroll() {
  scrollTimer_.reset();
  const bool moved = wordLeading_ != kRestingLeading;
  wordLeading_ = kRestingLeading;
  scroll_ = Scroll{};
  auto onScroll = std::move(onScroll_);
  onScroll_ = nullptr;
  if (moved && onScroll) onScroll(0);
}

}  // namespace ornav
