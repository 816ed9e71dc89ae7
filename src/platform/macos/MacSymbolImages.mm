#import "platform/macos/MacSymbolImages.h"

#include "platform/macos/MacStrings.h"

namespace lumora::macos {
namespace {

NSImage *plainSymbolImage(platform::StaticText name, platform::StaticText description) {
  return [NSImage imageWithSystemSymbolName:toNSString(name)
                   accessibilityDescription:toNSString(description)];
}

NSImageSymbolConfiguration *makeConfiguration(const platform::SymbolConfiguration &configuration) {
  NSMutableArray<NSColor *> *colors = [NSMutableArray array];
  for (const platform::NamedColor color : configuration.palette)
    [colors addObject:makeColor(color)];
  NSImageSymbolConfiguration *symbolConfiguration =
      [NSImageSymbolConfiguration configurationWithPaletteColors:colors];
  if (configuration.scale) {
    symbolConfiguration = [symbolConfiguration
        configurationByApplyingConfiguration:[NSImageSymbolConfiguration
                                                 configurationWithScale:static_cast<
                                                                            NSImageSymbolScale>(
                                                                            *configuration.scale)]];
  }
  return symbolConfiguration;
}

}  // namespace

NSColor *makeColor(platform::NamedColor color) {
  switch (color) {
    case platform::NamedColor::cyan:
      return NSColor.cyanColor;
    case platform::NamedColor::label:
      return NSColor.labelColor;
    case platform::NamedColor::secondaryLabel:
      return NSColor.secondaryLabelColor;
    case platform::NamedColor::tertiaryLabel:
      return NSColor.tertiaryLabelColor;
    case platform::NamedColor::systemIndigo:
      return NSColor.systemIndigoColor;
    case platform::NamedColor::systemRed:
      return NSColor.systemRedColor;
  }
  return NSColor.labelColor;
}

NSImage *makeSymbolImage(const platform::SymbolImage &image) {
  NSImage *plain = plainSymbolImage(image.symbolName, image.accessibilityDescription);
  if (plain == nil || !image.configuration) return plain;
  NSImage *configured =
      [plain imageWithSymbolConfiguration:makeConfiguration(*image.configuration)];
  if (configured == nil) return plain;
  // A template is drawn from its alpha only, which would paint over the palette.
  [configured setTemplate:NO];
  return configured;
}

std::optional<platform::SymbolImage> MacSymbolImages::systemSymbolImage(
    platform::StaticText symbolName, platform::StaticText accessibilityDescription) {
  if (plainSymbolImage(symbolName, accessibilityDescription) == nil) return std::nullopt;
  return platform::SymbolImage{symbolName, accessibilityDescription, std::nullopt};
}

std::optional<platform::SymbolImage> MacSymbolImages::imageWithSymbolConfiguration(
    const platform::SymbolImage &image, const platform::SymbolConfiguration &configuration) {
  NSImage *plain = plainSymbolImage(image.symbolName, image.accessibilityDescription);
  if (plain == nil ||
      [plain imageWithSymbolConfiguration:makeConfiguration(configuration)] == nil) {
    return std::nullopt;
  }
  platform::SymbolImage configured = image;
  configured.configuration = configuration;
  return configured;
}

}  // namespace lumora::macos
