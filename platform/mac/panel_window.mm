#import "platform/mac/panel_window.h"

#import <AppKit/AppKit.h>
#import <QuartzCore/QuartzCore.h>

#include <utility>
#include <vector>

#import "platform/mac/appkit_values.h"
#import "platform/mac/foundation_text.h"
#include "platform/mac/ui_rules.h"

// A panel that never takes the keyboard focus or becomes the main window.
@interface OrnavCandidatePanel : NSPanel
@end

@implementation OrnavCandidatePanel

- (BOOL)canBecomeKeyWindow {
  return NO;
}

- (BOOL)canBecomeMainWindow {
  return NO;
}

@end

// One cell: a layer with rounded, clipping corners, the digit, and the word drawn at its frame
// moved by the marquee offset, clipped to its area.
@interface OrnavPanelCellView : NSView
- (instancetype)initWithCell:(const ornav::PanelCell&)cell NS_DESIGNATED_INITIALIZER;
- (instancetype)initWithFrame:(NSRect)frameRect NS_UNAVAILABLE;
- (nullable instancetype)initWithCoder:(NSCoder*)coder NS_UNAVAILABLE;
@property(nonatomic) CGFloat wordOffset;
@end

@implementation OrnavPanelCellView {
  ornav::PanelCell _cell;
}

- (instancetype)initWithCell:(const ornav::PanelCell&)cell {
  self = [super initWithFrame:ornav::mac_platform::toNSRect(cell.frame)];
  if (self) {
    _cell = cell;
    self.wantsLayer = YES;
    self.layer.cornerRadius = cell.cornerRadius;
    self.layer.masksToBounds = YES;
    self.layer.backgroundColor = ornav::mac_platform::colorFor(cell.background).CGColor;
  }
  return self;
}

- (void)setWordOffset:(CGFloat)wordOffset {
  _wordOffset = wordOffset;
  self.needsDisplay = YES;
}

- (void)drawLabel:(const ornav::PanelLabel&)label offset:(CGFloat)offset {
  if (label.text.empty()) return;
  NSMutableParagraphStyle* paragraph = [[NSMutableParagraphStyle alloc] init];
  // One line at the given frame: what does not fit is cut at the cell's rounded edge.
  paragraph.lineBreakMode = NSLineBreakByClipping;
  paragraph.baseWritingDirection = ornav::mac_platform::writingDirectionFor(label.direction);
  NSDictionary<NSAttributedStringKey, id>* attributes = @{
    NSFontAttributeName : ornav::mac_platform::fontFor(label.font),
    NSForegroundColorAttributeName : ornav::mac_platform::colorFor(label.color),
    NSParagraphStyleAttributeName : paragraph,
  };
  NSAttributedString* text =
      [[NSAttributedString alloc] initWithString:ornav::mac_platform::toNSString(label.text)
                                      attributes:attributes];
  NSRect frame = ornav::mac_platform::toNSRect(label.frame);
  frame.origin.x += offset;
  [text drawInRect:frame];
}

- (void)drawRect:(NSRect)dirtyRect {
  if (_cell.digit) [self drawLabel:*_cell.digit offset:0];
  // The word shows only in its area, so a long word never covers the digit.
  if (_cell.wordArea) NSRectClip(ornav::mac_platform::toNSRect(*_cell.wordArea));
  [self drawLabel:_cell.word offset:_wordOffset];
}

@end

// The panel's content: the rounded background, the cells, and every click inside it.
@interface OrnavPanelContentView : NSView
@property(nonatomic) std::function<void(int)> clickHandler;
- (void)showScene:(const ornav::PanelScene&)scene;
- (void)setWordOffset:(CGFloat)offset ofCell:(int)index;
@end

@implementation OrnavPanelContentView {
  ornav::PanelScene _scene;
  NSMutableArray<OrnavPanelCellView*>* _cells;
}

- (instancetype)initWithFrame:(NSRect)frameRect {
  self = [super initWithFrame:frameRect];
  if (self) {
    _cells = [NSMutableArray array];
    self.wantsLayer = YES;
  }
  return self;
}

- (void)showScene:(const ornav::PanelScene&)scene {
  _scene = scene;
  self.layer.backgroundColor = ornav::mac_platform::colorFor(scene.background).CGColor;
  self.layer.cornerRadius = scene.cornerRadius;
  for (OrnavPanelCellView* cell in _cells) [cell removeFromSuperview];
  [_cells removeAllObjects];
  for (const ornav::PanelCell& cell : scene.cells) {
    OrnavPanelCellView* view = [[OrnavPanelCellView alloc] initWithCell:cell];
    [self addSubview:view];
    [_cells addObject:view];
  }
}

- (void)setWordOffset:(CGFloat)offset ofCell:(int)index {
  if (index < 0 || static_cast<NSUInteger>(index) >= _cells.count) return;
  _cells[static_cast<NSUInteger>(index)].wordOffset = offset;
}

// Clicks land here rather than in the cells, which find the cell by the scene's frames.
- (NSView*)hitTest:(NSPoint)point {
  return [super hitTest:point] != nil ? self : nil;
}

// The first click counts although the panel never becomes key.
- (BOOL)acceptsFirstMouse:(NSEvent*)event {
  return YES;
}

- (void)mouseDown:(NSEvent*)event {
  const NSPoint location = [self convertPoint:event.locationInWindow fromView:nil];
  const std::optional<int> cell =
      ornav::mac_platform::panelCellAt(_scene, ornav::Point{location.x, location.y});
  if (cell && _clickHandler) {
    // The handler may replace itself (or the scene); it runs from its own copy.
    const std::function<void(int)> handler = _clickHandler;
    handler(*cell);
  }
}

@end

namespace ornav::mac_platform {

struct AppKitPanelWindow::Window {
  OrnavCandidatePanel* panel;
  OrnavPanelContentView* content;
};

AppKitPanelWindow::AppKitPanelWindow() {
  OrnavCandidatePanel* panel =
      [[OrnavCandidatePanel alloc] initWithContentRect:NSMakeRect(0, 0, 10, 10)
                                             styleMask:NSWindowStyleMaskNonactivatingPanel
                                               backing:NSBackingStoreBuffered
                                                 defer:YES];
  panel.level = windowLevelFor(WindowLevel::popUpMenu);
  panel.floatingPanel = YES;
  panel.hidesOnDeactivate = NO;
  panel.opaque = NO;
  panel.backgroundColor = NSColor.clearColor;
  panel.hasShadow = YES;
  panel.releasedWhenClosed = NO;
  // Drawn on whichever Space is active, also beside a full-screen window, and never part of
  // window cycling.
  panel.collectionBehavior = NSWindowCollectionBehaviorCanJoinAllSpaces |
                             NSWindowCollectionBehaviorFullScreenAuxiliary |
                             NSWindowCollectionBehaviorIgnoresCycle;
  OrnavPanelContentView* content =
      [[OrnavPanelContentView alloc] initWithFrame:NSMakeRect(0, 0, 10, 10)];
  panel.contentView = content;
  window_ = std::make_unique<Window>(Window{panel, content});
}

AppKitPanelWindow::~AppKitPanelWindow() {
  window_->content.clickHandler = nullptr;
  [window_->panel orderOut:nil];
}

void AppKitPanelWindow::show(const PanelScene& scene) {
  OrnavCandidatePanel* panel = window_->panel;
  panel.level = panelWindowLevel(windowLevelFor(scene.level), scene.clientWindowLevel);
  panel.hasShadow = scene.hasShadow;
  // A borderless window's frame is its content rectangle.
  [panel setFrame:toNSRect(scene.frame) display:NO];
  window_->content.frame = NSMakeRect(0, 0, scene.frame.width, scene.frame.height);
  [window_->content showScene:scene];
  [panel orderFront:nil];
  [panel invalidateShadow];
}

void AppKitPanelWindow::hide() { [window_->panel orderOut:nil]; }

bool AppKitPanelWindow::isVisible() const { return window_->panel.visible; }

void AppKitPanelWindow::setWordOffset(int cellIndex, double offset) {
  [window_->content setWordOffset:offset ofCell:cellIndex];
}

void AppKitPanelWindow::setClickHandler(std::function<void(int cellIndex)> handler) {
  window_->content.clickHandler = std::move(handler);
}

}  // namespace ornav::mac_platform
