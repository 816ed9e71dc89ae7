#import "platform/macos/MacStatusBar.h"

#include "platform/macos/MacStrings.h"
#include "platform/macos/MacSymbolImages.h"

namespace lumora::macos {

NSMenu *makeMenu(const platform::Menu &menu, id target) {
  NSMenu *native = [[NSMenu alloc] init];
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
    entry.state =
        item.state == platform::ControlState::on ? NSControlStateValueOn : NSControlStateValueOff;
    if (item.enabled) entry.enabled = *item.enabled ? YES : NO;
    if (item.image) entry.image = makeSymbolImage(*item.image);
    if (item.submenu) entry.submenu = makeMenu(*item.submenu, target);
    [native addItem:entry];
  }
  return native;
}

void MacStatusButton::setTitle(std::string_view title) { item_.button.title = toNSString(title); }

void MacStatusButton::setImage(const std::optional<platform::SymbolImage> &image) {
  item_.button.image = image ? makeSymbolImage(*image) : nil;
}

void MacStatusButton::setContentTintColor(std::optional<platform::NamedColor> color) {
  item_.button.contentTintColor = color ? makeColor(*color) : nil;
}

MacStatusItem::MacStatusItem(NSStatusItem *item, LMVDelegateBridge *target)
    : item_(item), target_(target), button_(item) {}

MacStatusItem::~MacStatusItem() { [NSStatusBar.systemStatusBar removeStatusItem:item_]; }

platform::StatusButton *MacStatusItem::button() { return item_.button != nil ? &button_ : nullptr; }

void MacStatusItem::setMenu(platform::Menu menu) { item_.menu = makeMenu(menu, target_); }

std::unique_ptr<platform::StatusItem> MacStatusBar::statusItemWithLength(double length) {
  NSStatusItem *item = [NSStatusBar.systemStatusBar statusItemWithLength:length];
  return std::make_unique<MacStatusItem>(item, application_.bridge());
}

}  // namespace lumora::macos
