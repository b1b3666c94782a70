#import "platform/mac/dialog_windows.h"

#import <AppKit/AppKit.h>
#import <QuartzCore/QuartzCore.h>

#include <map>
#include <utility>
#include <variant>

#import "platform/mac/appkit_activation.h"
#import "platform/mac/appkit_values.h"
#import "platform/mac/foundation_text.h"
#import "platform/mac/key_events.h"
#import "platform/mac/panel_window.h"

// The dialogs' button actions, one selector per DialogAction.
@protocol OrnavDialogActions <NSObject>
- (void)closeWelcome;
- (void)closeFeedback;
- (void)closeUpdate;
- (void)submitFeedback;
- (void)openSetupGuide;
- (void)openFeedbackPage;
- (void)startInAppUpdate;
- (void)about;
- (void)checkUpdate;
- (void)feedback;
- (void)welcome;
@end

// The target of a window's buttons: reports each action to the window's handler.
@interface OrnavDialogActionTarget : NSObject <OrnavDialogActions>
@property(nonatomic) std::function<void(ornav::DialogAction)> handler;
@end

@implementation OrnavDialogActionTarget

- (void)report:(ornav::DialogAction)action {
  // The handler may replace itself (closing the window); it runs from its own copy.
  const std::function<void(ornav::DialogAction)> handler = _handler;
  if (handler) handler(action);
}

- (void)closeWelcome {
  [self report:ornav::DialogAction::closeWelcome];
}
- (void)closeFeedback {
  [self report:ornav::DialogAction::closeFeedback];
}
- (void)closeUpdate {
  [self report:ornav::DialogAction::closeUpdate];
}
- (void)submitFeedback {
  [self report:ornav::DialogAction::submitFeedback];
}
- (void)openSetupGuide {
  [self report:ornav::DialogAction::openSetupGuide];
}
- (void)openFeedbackPage {
  [self report:ornav::DialogAction::openFeedbackPage];
}
- (void)startInAppUpdate {
  [self report:ornav::DialogAction::startInAppUpdate];
}
- (void)about {
  [self report:ornav::DialogAction::about];
}
- (void)checkUpdate {
  [self report:ornav::DialogAction::checkUpdate];
}
- (void)feedback {
  [self report:ornav::DialogAction::feedback];
}
- (void)welcome {
  [self report:ornav::DialogAction::welcome];
}

@end

// A dialog window that performs the editing shortcuts its key-equivalent rule names on the focused
// control, or sends them along the responder chain.
@interface ShortcutWindow : NSWindow
@property(nonatomic) std::function<std::optional<ornav::EditCommand>(const ornav::KeyEvent&)>
    keyEquivalentRule;
@end

@implementation ShortcutWindow

- (BOOL)performKeyEquivalent:(NSEvent*)event {
  const std::optional<ornav::KeyEvent> key = ornav::mac_platform::keyEventFrom(event);
  if (key && _keyEquivalentRule) {
    if (const std::optional<ornav::EditCommand> command = _keyEquivalentRule(*key)) {
      const SEL action = [ShortcutWindow selectorFor:*command];
      NSResponder* responder = self.firstResponder;
      if (responder != nil && [responder tryToPerform:action with:nil]) return YES;
      if ([NSApp sendAction:action to:nil from:self]) return YES;
    }
  }
  return [super performKeyEquivalent:event];
}

+ (SEL)selectorFor:(ornav::EditCommand)command {
  switch (command) {
    case ornav::EditCommand::selectAll:
      return @selector(selectAll:);
    case ornav::EditCommand::copy:
      return @selector(copy:);
    case ornav::EditCommand::paste:
      return @selector(paste:);
    case ornav::EditCommand::cut:
      return @selector(cut:);
    // No public header declares the undo actions; they are named instead.
    case ornav::EditCommand::undo:
      return NSSelectorFromString(@"undo:");
    case ornav::EditCommand::redo:
      return NSSelectorFromString(@"redo:");
  }
  return nullptr;
}

@end

namespace ornav::mac_platform {

namespace {

SEL selectorFor(DialogAction action) {
  switch (action) {
    case DialogAction::closeWelcome:
      return @selector(closeWelcome);
    case DialogAction::closeFeedback:
      return @selector(closeFeedback);
    case DialogAction::closeUpdate:
      return @selector(closeUpdate);
    case DialogAction::submitFeedback:
      return @selector(submitFeedback);
    case DialogAction::openSetupGuide:
      return @selector(openSetupGuide);
    case DialogAction::openFeedbackPage:
      return @selector(openFeedbackPage);
    case DialogAction::startInAppUpdate:
      return @selector(startInAppUpdate);
    case DialogAction::about:
      return @selector(about);
    case DialogAction::checkUpdate:
      return @selector(checkUpdate);
    case DialogAction::feedback:
      return @selector(feedback);
    case DialogAction::welcome:
      return @selector(welcome);
  }
  return nullptr;
}

// A control reached by name, as the kind it was described as.
struct NamedControl {
  enum class Kind { label, button, textView, textField, progress, image, box };
  Kind kind;
  NSView* view;
  NSTextView* textView;  // the text view inside the scroll view
  bool editable;         // the text view's editability as described
};

NSTextField* labelFor(const LabelControl& label, NSRect frame) {
  NSTextField* field = [[NSTextField alloc] initWithFrame:frame];
  field.stringValue = toNSString(label.text);
  field.editable = NO;
  field.selectable = NO;
  field.bordered = NO;
  field.bezeled = NO;
  field.drawsBackground = NO;
  field.alignment = alignmentFor(label.alignment);
  field.font = fontFor(label.font);
  const bool wraps = labelHoldsSeveralLines(label.font, frame.size.height);
  field.lineBreakMode = wraps ? NSLineBreakByWordWrapping : NSLineBreakByClipping;
  field.maximumNumberOfLines = wraps ? 0 : 1;
  if (label.color) field.textColor = colorFor(*label.color);
  return field;
}

NSButton* buttonFor(const ButtonControl& button, NSRect frame, OrnavDialogActionTarget* target) {
  NSButton* view = [[NSButton alloc] initWithFrame:frame];
  view.title = toNSString(button.title);
  view.bezelStyle = NSBezelStyleRounded;
  view.target = target;
  view.action = selectorFor(button.action);
  view.keyEquivalent = toNSString(button.keyEquivalent);
  view.enabled = button.enabled;
  return view;
}

NSScrollView* scrollingTextFor(const TextViewControl& text, NSRect frame, NSTextView** inside) {
  NSScrollView* scroll = [[NSScrollView alloc] initWithFrame:frame];
  scroll.borderType = NSBezelBorder;
  scroll.hasVerticalScroller = YES;
  const NSSize content = scroll.contentSize;
  NSTextView* view =
      [[NSTextView alloc] initWithFrame:NSMakeRect(0, 0, content.width, content.height)];
  // The text wraps at the view's width and grows downwards inside the scroll view.
  view.minSize = NSMakeSize(0, content.height);
  view.maxSize = NSMakeSize(CGFLOAT_MAX, CGFLOAT_MAX);
  view.verticallyResizable = YES;
  view.horizontallyResizable = NO;
  view.autoresizingMask = NSViewWidthSizable;
  view.textContainer.size = NSMakeSize(content.width, CGFLOAT_MAX);
  view.textContainer.widthTracksTextView = YES;
  view.richText = NO;
  view.allowsUndo = YES;
  view.font = fontFor(text.font);
  view.string = toNSString(text.text);
  view.editable = text.editable;
  view.selectable = text.selectable;
  scroll.documentView = view;
  *inside = view;
  return scroll;
}

NSTextField* fieldFor(const TextFieldControl& field, NSRect frame) {
  NSTextField* view = [[NSTextField alloc] initWithFrame:frame];
  view.stringValue = toNSString(field.text);
  view.placeholderString = toNSString(field.placeholder);
  view.font = fontFor(field.font);
  view.editable = YES;
  view.selectable = YES;
  view.bezeled = YES;
  return view;
}

void applyProgress(NSProgressIndicator* indicator, const ProgressState& state) {
  indicator.indeterminate = state.indeterminate;
  indicator.minValue = state.minValue;
  indicator.maxValue = state.maxValue;
  indicator.doubleValue = state.value;
  if (state.animating) {
    [indicator startAnimation:nil];
  } else {
    [indicator stopAnimation:nil];
  }
}

NSProgressIndicator* progressFor(const ProgressControl& progress, NSRect frame) {
  NSProgressIndicator* view = [[NSProgressIndicator alloc] initWithFrame:frame];
  view.style = NSProgressIndicatorStyleBar;
  applyProgress(view, progress.state);
  return view;
}

NSImage* _Nullable imageFrom(const ImageSource& source) {
  switch (source.kind) {
    case ImageSource::Kind::named:
      return [NSImage imageNamed:toNSString(source.value)];
    case ImageSource::Kind::file:
      return [[NSImage alloc] initWithContentsOfFile:toNSString(source.value)];
    case ImageSource::Kind::applicationIcon:
      return NSApp.applicationIconImage;
  }
  return nil;
}

NSImageView* imageFor(const ImageControl& image, NSRect frame) {
  NSImageView* view = [[NSImageView alloc] initWithFrame:frame];
  view.imageScaling = NSImageScaleProportionallyUpOrDown;
  for (const ImageSource& source : image.sources) {
    if (NSImage* loaded = imageFrom(source)) {
      view.image = loaded;
      break;
    }
  }
  return view;
}

// A layer-backed view: its layer fills, outlines and rounds the frame.
NSView* boxFor(const BoxControl& box, NSRect frame) {
  NSView* view = [[NSView alloc] initWithFrame:frame];
  view.wantsLayer = YES;
  view.layer.backgroundColor = colorFor(box.fill).CGColor;
  view.layer.borderColor = colorFor(box.border).CGColor;
  view.layer.borderWidth = box.borderWidth;
  view.layer.cornerRadius = box.cornerRadius;
  return view;
}

NSWindowStyleMask styleFor(const WindowDescription& description) {
  NSWindowStyleMask style = NSWindowStyleMaskTitled;
  if (description.closable) style |= NSWindowStyleMaskClosable;
  if (description.resizable) style |= NSWindowStyleMaskResizable;
  if (description.miniaturizable) style |= NSWindowStyleMaskMiniaturizable;
  return style;
}

}  // namespace

struct AppKitDialogWindow::Window {
  ShortcutWindow* window;
  OrnavDialogActionTarget* target;
  std::map<std::string, NamedControl> controls;
  // Closing the window (a button's action or its close button) hands the keyboard back.
  id<NSObject> closing;
};

AppKitDialogWindow::AppKitDialogWindow(const WindowDescription& description)
    : window_(std::make_unique<Window>()) {
  const NSRect content =
      NSMakeRect(0, 0, description.contentSize.width, description.contentSize.height);
  ShortcutWindow* window = [[ShortcutWindow alloc] initWithContentRect:content
                                                             styleMask:styleFor(description)
                                                               backing:NSBackingStoreBuffered
                                                                 defer:NO];
  window.title = toNSString(description.title);
  window.releasedWhenClosed = NO;
  window.level = windowLevelFor(description.level);
  window.keyEquivalentRule = description.keyEquivalentRule;
  OrnavDialogActionTarget* target = [[OrnavDialogActionTarget alloc] init];

  NSView* contentView = window.contentView;
  for (const ControlDescription& control : description.controls) {
    const NSRect frame = toNSRect(control.frame);
    NamedControl named{NamedControl::Kind::label, nil, nil, false};
    if (const auto* label = std::get_if<LabelControl>(&control.kind)) {
      named.view = labelFor(*label, frame);
    } else if (const auto* button = std::get_if<ButtonControl>(&control.kind)) {
      named = {NamedControl::Kind::button, buttonFor(*button, frame, target), nil, false};
    } else if (const auto* text = std::get_if<TextViewControl>(&control.kind)) {
      NSTextView* inside = nil;
      named = {NamedControl::Kind::textView, scrollingTextFor(*text, frame, &inside), inside,
               text->editable};
    } else if (const auto* field = std::get_if<TextFieldControl>(&control.kind)) {
      named = {NamedControl::Kind::textField, fieldFor(*field, frame), nil, false};
    } else if (const auto* progress = std::get_if<ProgressControl>(&control.kind)) {
      named = {NamedControl::Kind::progress, progressFor(*progress, frame), nil, false};
    } else if (const auto* image = std::get_if<ImageControl>(&control.kind)) {
      named = {NamedControl::Kind::image, imageFor(*image, frame), nil, false};
    } else if (const auto* box = std::get_if<BoxControl>(&control.kind)) {
      named = {NamedControl::Kind::box, boxFor(*box, frame), nil, false};
    }
    [contentView addSubview:named.view];
    if (control.name.empty()) continue;
    window_->controls[control.name] = named;
    if (control.name == description.initialFocus) {
      window.initialFirstResponder = named.textView != nil ? named.textView : named.view;
    }
  }
  [window center];
  window_->window = window;
  window_->target = target;
  window_->closing =
      [NSNotificationCenter.defaultCenter addObserverForName:NSWindowWillCloseNotification
                                                      object:window
                                                       queue:nil
                                                  usingBlock:^(NSNotification*) {
                                                    handBackActivationSoon();
                                                  }];
}

AppKitDialogWindow::~AppKitDialogWindow() {
  close();
  [NSNotificationCenter.defaultCenter removeObserver:window_->closing];
}

void AppKitDialogWindow::show() {
  [window_->window makeKeyAndOrderFront:nil];
  activateInputMethod();
}

// In front of the client's windows, but neither key nor activating the input method: the user's
// keys stay in the application they type in.
void AppKitDialogWindow::showWithoutFocus() { [window_->window orderFrontRegardless]; }

void AppKitDialogWindow::close() {
  window_->target.handler = nullptr;
  [window_->window close];
}

bool AppKitDialogWindow::isVisible() const { return window_->window.visible; }

bool AppKitDialogWindow::setText(const std::string& name, const std::string& text) {
  const auto found = window_->controls.find(name);
  if (found == window_->controls.end()) return false;
  const NamedControl& control = found->second;
  switch (control.kind) {
    case NamedControl::Kind::label:
    case NamedControl::Kind::textField:
      ((NSTextField*)control.view).stringValue = toNSString(text);
      return true;
    case NamedControl::Kind::button:
      ((NSButton*)control.view).title = toNSString(text);
      return true;
    case NamedControl::Kind::textView:
      control.textView.string = toNSString(text);
      return true;
    case NamedControl::Kind::progress:
    case NamedControl::Kind::image:
    case NamedControl::Kind::box:
      return false;
  }
  return false;
}

std::optional<std::string> AppKitDialogWindow::text(const std::string& name) const {
  const auto found = window_->controls.find(name);
  if (found == window_->controls.end()) return std::nullopt;
  const NamedControl& control = found->second;
  switch (control.kind) {
    case NamedControl::Kind::label:
    case NamedControl::Kind::textField:
      return toStdString(((NSTextField*)control.view).stringValue);
    case NamedControl::Kind::button:
      return toStdString(((NSButton*)control.view).title);
    case NamedControl::Kind::textView:
      return toStdString(control.textView.string);
    case NamedControl::Kind::progress:
    case NamedControl::Kind::image:
    case NamedControl::Kind::box:
      return std::nullopt;
  }
  return std::nullopt;
}

bool AppKitDialogWindow::setEnabled(const std::string& name, bool enabled) {
  const auto found = window_->controls.find(name);
  if (found == window_->controls.end()) return false;
  const NamedControl& control = found->second;
  if (control.kind == NamedControl::Kind::textView) {
    // A text view has no enabled state: a disabled one takes no typing.
    control.textView.editable = enabled && control.editable;
  } else if ([control.view isKindOfClass:[NSControl class]]) {
    ((NSControl*)control.view).enabled = enabled;
  }
  return true;
}

bool AppKitDialogWindow::setProgress(const std::string& name, const ProgressState& state) {
  const auto found = window_->controls.find(name);
  if (found == window_->controls.end() || found->second.kind != NamedControl::Kind::progress) {
    return false;
  }
  applyProgress((NSProgressIndicator*)found->second.view, state);
  return true;
}

void AppKitDialogWindow::setActionHandler(std::function<void(DialogAction action)> handler) {
  window_->target.handler = std::move(handler);
}

std::unique_ptr<DialogWindow> AppKitWindowSystem::createWindow(
    const WindowDescription& description) {
  return std::make_unique<AppKitDialogWindow>(description);
}

std::unique_ptr<PanelWindow> AppKitWindowSystem::createPanelWindow() {
  return std::make_unique<AppKitPanelWindow>();
}

void AppKitWindowSystem::activateApplication() { activateInputMethod(); }

}  // namespace ornav::mac_platform
