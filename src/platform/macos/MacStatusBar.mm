#import "platform/macos/MacStatusBar.h"

#include <utility>

#include "platform/macos/MacStrings.h"
#include "platform/macos/MacSymbolImages.h"

namespace lumora::macos {
namespace {

BOOL isEnabled(const platform::MenuItem &item, NSMenuItem *entry, LMVDelegateBridge *target) {
  if (item.enabled) return *item.enabled ? YES : NO;
  if (item.action) return [target validateMenuItem:entry];
  return item.submenu != nullptr ? YES : NO;
}

NSControlStateValue nativeState(platform::ControlState state) {
  switch (state) {
    case platform::ControlState::on:
      return NSControlStateValueOn;
    case platform::ControlState::mixed:
      return NSControlStateValueMixed;
    case platform::ControlState::off:
      return NSControlStateValueOff;
  }
  return NSControlStateValueOff;
}

}  // namespace

NSMenu *makeMenu(const platform::Menu &menu, LMVDelegateBridge *target) {
  NSMenu *native = [[NSMenu alloc] init];
  // Automatic enabling would override an entry's explicit value; the entries are enabled here.
  native.autoenablesItems = NO;
  for (const platform::MenuItem &item : menu.items) {
    if (item.isSeparator) {
      [native addItem:[NSMenuItem separatorItem]];
      continue;
    }
    NSMenuItem *entry =
        [[NSMenuItem alloc] initWithTitle:toNSString(item.title)
                                   action:item.action ? @selector(performMenuAction:) : nullptr
                            keyEquivalent:toNSString(item.keyEquivalent)];
    if (item.action) {
      entry.target = target;
      entry.representedObject = toNSString(*item.action);
    }
    entry.tag = static_cast<NSInteger>(item.tag);
    entry.state = nativeState(item.state);
    if (item.image) entry.image = makeSymbolImage(*item.image);
    if (item.submenu) entry.submenu = makeMenu(*item.submenu, target);
    entry.enabled = isEnabled(item, entry, target);
    [native addItem:entry];
  }
  return native;
}

void MacStatusButton::setTitle(std::string_view title) {
  NSStatusBarButton *button = item_.button;
  if (button == nil || !title_.replaceWith(title)) return;
  button.title = toNSString(title);
}

void MacStatusButton::setImage(const std::optional<platform::SymbolImage> &image) {
  NSStatusBarButton *button = item_.button;
  if (button == nil || !image_.replaceWith(image)) return;
  button.image = image ? makeSymbolImage(*image) : nil;
}

void MacStatusButton::setContentTintColor(std::optional<platform::NamedColor> color) {
  NSStatusBarButton *button = item_.button;
  if (button == nil || !tint_.replaceWith(color)) return;
  button.contentTintColor = color ? makeColor(*color) : nil;
}

MacStatusItem::MacStatusItem(NSStatusItem *item, LMVDelegateBridge *target)
    : item_(item), target_(target), button_(item) {}

MacStatusItem::~MacStatusItem() { [NSStatusBar.systemStatusBar removeStatusItem:item_]; }

platform::StatusButton *MacStatusItem::button() { return item_.button != nil ? &button_ : nullptr; }

void MacStatusItem::setMenu(platform::Menu menu) {
  if (menu_ && *menu_ == menu) return;
  item_.menu = makeMenu(menu, target_);
  menu_ = std::move(menu);
}

std::unique_ptr<platform::StatusItem> MacStatusBar::statusItemWithLength(double length) {
  NSStatusItem *item = [NSStatusBar.systemStatusBar statusItemWithLength:length];
  return std::make_unique<MacStatusItem>(item, application_.bridge());
}

}  // namespace lumora::macos
