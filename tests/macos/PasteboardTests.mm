// The general pasteboard on a real Mac. What it held before is put back afterwards, so that the
// tests leave the user's clipboard as they found it.

#import <AppKit/AppKit.h>

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "platform/macos/MacPasteboard.h"

namespace lumora::macos {
namespace {

// Copies of every item the general pasteboard holds, with each of its types, written back when it
// goes.
class SavedPasteboard {
 public:
  SavedPasteboard() : items_([NSMutableArray array]) {
    for (NSPasteboardItem *item in NSPasteboard.generalPasteboard.pasteboardItems) {
      NSPasteboardItem *copy = [[NSPasteboardItem alloc] init];
      for (NSPasteboardType type in item.types) {
        NSData *data = [item dataForType:type];
        if (data != nil) [copy setData:data forType:type];
      }
      [items_ addObject:copy];
    }
  }
  SavedPasteboard(const SavedPasteboard &) = delete;
  SavedPasteboard &operator=(const SavedPasteboard &) = delete;
  ~SavedPasteboard() {
    NSPasteboard *pasteboard = NSPasteboard.generalPasteboard;
    [pasteboard clearContents];
    if (items_.count > 0) [pasteboard writeObjects:items_];
  }

 private:
  NSMutableArray<NSPasteboardItem *> *items_;
};

TEST(MacPasteboardTest, TextCopiedIsTheTextReadBackWholeAcrossLinesAndScripts) {
  const SavedPasteboard saved;
  MacPasteboard pasteboard;
  const std::string report =
      "Lumora Virir diagnostics\nDisplay 1: \"Apple XDR Display (P3-1600 nits)\"\n\n  "
      "headroom 3.2 \u2192 1600 nits \U0001F311\n";
  EXPECT_EQ(pasteboard.copyText(report), std::nullopt);
  EXPECT_EQ(pasteboard.text(), report);
  NSString *plain = [NSPasteboard.generalPasteboard stringForType:NSPasteboardTypeString];
  EXPECT_TRUE([plain isEqualToString:[NSString stringWithUTF8String:report.c_str()]])
      << "other apps read it as plain text";

  // A second copy replaces the first; with no text on it, the pasteboard gives none.
  EXPECT_EQ(pasteboard.copyText("second"), std::nullopt);
  EXPECT_EQ(pasteboard.text(), "second");
  [NSPasteboard.generalPasteboard clearContents];
  EXPECT_EQ(pasteboard.text(), std::nullopt);
}

}  // namespace
}  // namespace lumora::macos
