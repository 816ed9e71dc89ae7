#import "platform/macos/MacMainMenu.h"

namespace lumora::macos {
namespace {

NSMenuItem *command(NSString *title, SEL action, NSString *key) {
  return [[NSMenuItem alloc] initWithTitle:title action:action keyEquivalent:key];
}

// A top-level entry of the main menu, holding `menu`.
NSMenuItem *topLevel(NSMenu *menu) {
  NSMenuItem *item = [[NSMenuItem alloc] initWithTitle:menu.title action:nil keyEquivalent:@""];
  item.submenu = menu;
  return item;
}

}  // namespace

void installMainMenu(NSApplication *application, NSString *appName) {
  NSMenu *app = [[NSMenu alloc] initWithTitle:appName];
  [app addItem:command([@"Quit " stringByAppendingString:appName], @selector(terminate:), @"q")];

  NSMenu *edit = [[NSMenu alloc] initWithTitle:@"Edit"];
  [edit addItem:command(@"Undo", @selector(undo:), @"z")];
  [edit addItem:command(@"Redo", @selector(redo:), @"Z")];
  [edit addItem:[NSMenuItem separatorItem]];
  [edit addItem:command(@"Cut", @selector(cut:), @"x")];
  [edit addItem:command(@"Copy", @selector(copy:), @"c")];
  [edit addItem:command(@"Paste", @selector(paste:), @"v")];
  [edit addItem:command(@"Select All", @selector(selectAll:), @"a")];

  NSMenu *window = [[NSMenu alloc] initWithTitle:@"Window"];
  [window addItem:command(@"Close", @selector(performClose:), @"w")];
  [window addItem:command(@"Minimize", @selector(performMiniaturize:), @"m")];

  NSMenu *main = [[NSMenu alloc] initWithTitle:@""];
  for (NSMenu *menu in @[ app, edit, window ]) [main addItem:topLevel(menu)];
  application.mainMenu = main;
  application.windowsMenu = window;
}

}  // namespace lumora::macos
