#include "candidate_panel.h"

#include <string>
#include <utility>

#include "panel/panel_layout.h"
#include "panel/word_font.h"
#include "ports/dialog_window.h"
#include "ports/screens.h"

namespace ornav {

namespace {

constexpr double kCellWidth = 96;  // every cell of the expanded grid
constexpr double kWindowCornerRadius = 8;

}  // namespace

CandidatePanel::CandidatePanel(PanelEnvironment env)
    : env_(std::move(env)),
      window_(env_.windows->createPanelWindow()),
      wordFont_(loadWordFont(kWordPointSize, env_.bundle, *env_.textMeasurer, env_.log)),
      hintFont_(Font::system(kHintPointSize)),
      anchor_(std::make_shared<Anchor>(Anchor{this})) {
  // The picture without cells: a transparent, shadowed window at the pop-up menu level whose only
  // visible part is a dark rounded rectangle.
  scene_.frame = Rect{0, 0, 10, 10};
  scene_.level = WindowLevel::popUpMenu;
  scene_.background = Color::white(0.15, 0.96);
  scene_.cornerRadius = kWindowCornerRadius;
  scene_.hasShadow = true;
  std::weak_ptr<Anchor> weak = anchor_;
  window_->setClickHandler([weak](int cellIndex) {
    if (auto anchor = weak.lock()) anchor->panel->clickCell(cellIndex);
  });
}

CandidatePanel::~CandidatePanel() {
  // Callbacks still held by a window that outlives this panel find nothing to call.
  anchor_.reset();
  discardCells();
}

void CandidatePanel::update(const PanelContent& content, const Rect& near) {
  scene_.clientWindowLevel = content.clientWindowLevel;
  update(content.rows, content.activeRow, content.activeCol, content.showTabHint, near);
}

void CandidatePanel::update(const CandidateRows& rows, int activeRow, int activeCol,
                            bool showTabHint, const Rect& near) {
  if (rows.empty()) {
    stopHighlightedScroll();
    window_->hide();
    return;
  }
  stopHighlightedScroll();
  highlightedItem_.reset();
  discardCells();

  const std::optional<double> fixedWidth =
      rows.size() >= 2 ? std::optional<double>(kCellWidth) : std::nullopt;
  const std::weak_ptr<Anchor> weak = anchor_;
  std::vector<std::vector<Size>> rowSizes;
  for (std::size_t r = 0; r < rows.size(); ++r) {
    const bool active = static_cast<int>(r) == activeRow;
    rowSizes.emplace_back();
    for (std::size_t c = 0; c < rows[r].size(); ++c) {
      const int globalIndex = static_cast<int>(r * pageSize + c);
      auto cell = std::make_unique<CandidateItemView>(
          globalIndex, active ? std::to_string(c + 1) : std::string(), rows[r][c], wordFont_,
          !active, false, fixedWidth, *env_.textMeasurer);
      cell->setOnClick([weak, globalIndex] {
        if (auto anchor = weak.lock()) anchor->panel->pick(globalIndex);
      });
      if (active && static_cast<int>(c) == activeCol) highlightedItem_ = itemViews_.size();
      rowSizes.back().push_back(cell->size());
      itemViews_.push_back(std::move(cell));
    }
    if (r == 0 && showTabHint) {
      // After the candidates, so the right-to-left row puts it at its left end. It has no
      // onClick and is never highlighted.
      auto hint = std::make_unique<CandidateItemView>(-1, "", kHintText, hintFont_, true, true,
                                                      std::nullopt, *env_.textMeasurer);
      rowSizes.back().push_back(hint->size());
      itemViews_.push_back(std::move(hint));
    }
  }

  const panel_layout::RowsLayout layout = panel_layout::layOutRows(rowSizes);
  scene_.cells.clear();
  for (std::size_t i = 0; i < itemViews_.size(); ++i) {
    PanelCell cell = itemViews_[i]->describe(layout.cellFrames[i]);
    if (highlightedItem_ == i) {
      cell.highlighted = true;
      cell.background = Color::ofRole(Color::Role::systemBlue, 0.8);
    }
    scene_.cells.push_back(std::move(cell));
  }
  std::vector<Screen> screens;
  std::optional<Screen> mainScreen;
  if (env_.screens != nullptr) {
    screens = env_.screens->screens();
    mainScreen = env_.screens->mainScreen();
  }
  const Point origin = panel_layout::placeWindow(layout.contentSize, near, screens, mainScreen);
  scene_.frame = Rect{origin.x, origin.y, layout.contentSize.width, layout.contentSize.height};
  window_->show(scene_);

  if (highlightedItem_) {
    const std::size_t index = *highlightedItem_;
    itemViews_[index]->startScrollIfNeeded(*env_.mainQueue, [this, index](double offset) {
      window_->setWordOffset(static_cast<int>(index), offset);
    });
  }
}

void CandidatePanel::hide() {
  stopHighlightedScroll();
  window_->hide();
}

bool CandidatePanel::isVisible() const {
  return window_->isVisible();
}

const CandidateItemView* CandidatePanel::highlightedItem() const {
  return highlightedItem_ ? itemViews_[*highlightedItem_].get() : nullptr;
}

void CandidatePanel::discardCells() {
  // Every timer stops and every word is put back before its cell goes.
  for (auto& cell : itemViews_)
    cell->stopScroll();
  itemViews_.clear();
}

void CandidatePanel::stopHighlightedScroll() {
  if (highlightedItem_) itemViews_[*highlightedItem_]->stopScroll();
}

void CandidatePanel::clickCell(int cellIndex) {
  // A window off screen shows nothing to click.
  if (!window_->isVisible() || cellIndex < 0 ||
      static_cast<std::size_t>(cellIndex) >= itemViews_.size()) {
    return;
  }
  itemViews_[static_cast<std::size_t>(cellIndex)]->mouseDown();
}

void CandidatePanel::pick(int globalIndex) {
  if (!onPick_) return;
  // A copy: the owner may replace its callback, or rebuild this panel, while it runs.
  auto onPick = onPick_;
  onPick(globalIndex);
}

}  // namespace ornav
