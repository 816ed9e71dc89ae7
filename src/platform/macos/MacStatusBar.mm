#import "platform/macos/MacStatusBar.h"

#include <utility>

#include "platform/macos/MacMenuSlider.h"
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

// Everything an entry shows but its submenu, for a new entry or one already in a menu.
void configureEntry(NSMenuItem *entry, const platform::MenuItem &item, LMVDelegateBridge *target) {
  entry.title = toNSString(item.title);
  entry.action = item.action ? @selector(performMenuAction:) : nullptr;
  entry.keyEquivalent = toNSString(item.keyEquivalent);
  entry.target = item.action ? target : nil;
  entry.representedObject = item.action ? toNSString(*item.action) : nil;
  entry.tag = static_cast<NSInteger>(item.tag);
  entry.state = nativeState(item.state);
  entry.image = item.image ? makeSymbolImage(*item.image) : nil;
  entry.enabled = isEnabled(item, entry, target);
  if (!item.slider) {
    entry.view = nil;
    return;
  }
  // The slider sends the action itself; the entry only holds it, and its title names it for
  // accessibility. A picked entry would close the menu without a value.
  entry.action = nullptr;
  id shown = entry.view;
  const bool updating = [shown isKindOfClass:[LMVMenuSliderView class]];
  LMVMenuSliderView *view = updating ? shown : [[LMVMenuSliderView alloc] initWithTarget:target];
  // A slider shown already may be under the mouse; a new one takes the value.
  const bool held = updating && currentSliderMotion() == platform::SliderMotion::dragged;
  showMenuSlider(view, *item.slider, entry.title, entry.representedObject, entry.enabled, held);
  if (!updating) entry.view = view;
}

// Whether `next` has the entries of `shown`, in the same places, each with or without a submenu
// and a slider as before: only their contents differ.
bool haveSameEntries(const platform::Menu &shown, const platform::Menu &next) {
  if (shown.items.size() != next.items.size()) return false;
  for (std::size_t i = 0; i < shown.items.size(); ++i) {
    const platform::MenuItem &before = shown.items[i];
    const platform::MenuItem &after = next.items[i];
    if (before.isSeparator != after.isSeparator ||
        before.slider.has_value() != after.slider.has_value() ||
        (before.submenu == nullptr) != (after.submenu == nullptr)) {
      return false;
    }
    if (before.submenu && !haveSameEntries(*before.submenu, *after.submenu)) return false;
  }
  return true;
}

// Brings a native menu made from `shown` up to `next`, which has the same entries.
void updateMenu(NSMenu *native, const platform::Menu &shown, const platform::Menu &next,
                LMVDelegateBridge *target) {
  for (std::size_t i = 0; i < next.items.size(); ++i) {
    const platform::MenuItem &item = next.items[i];
    if (item.isSeparator || item == shown.items[i]) continue;
    NSMenuItem *entry = [native itemAtIndex:static_cast<NSInteger>(i)];
    configureEntry(entry, item, target);
    if (item.submenu) updateMenu(entry.submenu, *shown.items[i].submenu, *item.submenu, target);
  }
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
    NSMenuItem *entry = [[NSMenuItem alloc] initWithTitle:@"" action:nullptr keyEquivalent:@""];
    configureEntry(entry, item, target);
    if (item.submenu) entry.submenu = makeMenu(*item.submenu, target);
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
    : item_(item), target_(target), button_(item), watcher_([[LMVMenuWatcher alloc] init]) {
  MacStatusItem *owner = this;
  watcher_.closed = ^{
    if (owner->pending_) owner->install(*std::exchange(owner->pending_, std::nullopt));
  };
}

MacStatusItem::~MacStatusItem() {
  watcher_.closed = nil;
  [NSStatusBar.systemStatusBar removeStatusItem:item_];
}

platform::StatusButton *MacStatusItem::button() { return item_.button != nil ? &button_ : nullptr; }

void MacStatusItem::setMenu(platform::Menu menu) {
  const std::optional<platform::Menu> &latest = pending_ ? pending_ : menu_;
  if (latest && *latest == menu) return;
  if (!watcher_.open) return install(std::move(menu));
  // While its menu is open AppKit tracks it, and the slider in it may be held: the menu is brought
  // up to date where it has the same entries, and replaced once it has closed otherwise.
  if (!pending_ && menu_ && haveSameEntries(*menu_, menu)) {
    updateMenu(item_.menu, *menu_, menu, target_);
    menu_ = std::move(menu);
    return;
  }
  pending_ = std::move(menu);
}

void MacStatusItem::install(platform::Menu menu) {
  NSMenu *native = makeMenu(menu, target_);
  native.delegate = watcher_;
  item_.menu = native;
  menu_ = std::move(menu);
  pending_.reset();
}

std::unique_ptr<platform::StatusItem> MacStatusBar::statusItemWithLength(double length) {
  NSStatusItem *item = [NSStatusBar.systemStatusBar statusItemWithLength:length];
  return std::make_unique<MacStatusItem>(item, application_.bridge());
}

}  // namespace lumora::macos
