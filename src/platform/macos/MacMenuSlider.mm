#import "platform/macos/MacMenuSlider.h"

#include <cmath>
#include <cstdint>
#include <numeric>

#include "platform/macos/MacStrings.h"

namespace {

constexpr CGFloat viewHeight = 30.0;
// The slider starts where the titles of the other entries do.
constexpr CGFloat leadingInset = 20.0;
constexpr CGFloat trailingInset = 14.0;
constexpr CGFloat labelWidth = 64.0;
constexpr CGFloat gap = 8.0;
// More marks than this are a blur, not stops.
constexpr std::int64_t mostTickMarks = 201;

}  // namespace

@implementation LMVStopSliderCell

- (void)drawTickMarks {
  const NSInteger count = self.numberOfTickMarks;
  if (count < 2) return;
  const double halfStep = (self.maxValue - self.minValue) / static_cast<double>(count - 1) / 2.0;
  [NSColor.secondaryLabelColor setFill];
  for (NSInteger index = 0; index < count; ++index) {
    const double value = [self tickMarkValueAtIndex:index];
    for (NSNumber *stop in self.stops) {
      if (std::fabs(stop.doubleValue - value) < halfStep) {
        NSRectFill([self rectOfTickMarkAtIndex:index]);
        break;
      }
    }
  }
}

@end

@implementation LMVMenuSliderView

- (instancetype)initWithTarget:(id)target {
  self = [super initWithFrame:NSMakeRect(0, 0, lumora::macos::menuSliderViewWidth, viewHeight)];
  if (self == nil) return nil;
  self.autoresizingMask = NSViewWidthSizable;

  const CGFloat sliderWidth =
      lumora::macos::menuSliderViewWidth - leadingInset - gap - labelWidth - trailingInset;
  _slider = [[NSSlider alloc] initWithFrame:NSMakeRect(leadingInset, 3, sliderWidth, 24)];
  // Its own cell first: replacing the cell drops what was set on the one before.
  _slider.cell = [[LMVStopSliderCell alloc] init];
  _slider.continuous = YES;
  _slider.target = target;
  _slider.action = @selector(performSliderAction:);
  _slider.autoresizingMask = NSViewWidthSizable;
  [self addSubview:_slider];

  _valueLabel = [NSTextField labelWithString:@""];
  _valueLabel.frame = NSMakeRect(lumora::macos::menuSliderViewWidth - trailingInset - labelWidth, 7,
                                 labelWidth, 16);
  _valueLabel.alignment = NSTextAlignmentRight;
  _valueLabel.font = [NSFont menuFontOfSize:NSFont.smallSystemFontSize];
  _valueLabel.textColor = NSColor.secondaryLabelColor;
  _valueLabel.autoresizingMask = NSViewMinXMargin;
  [self addSubview:_valueLabel];
  return self;
}

@end

namespace lumora::macos {

NSInteger tickMarkCount(const platform::MenuSlider &slider) {
  const double span = slider.maximum - slider.minimum;
  if (!std::isfinite(span) || span < 1.0 || span > static_cast<double>(INT32_MAX)) return 0;
  std::int64_t grid = std::llround(span);
  if (std::fabs(span - static_cast<double>(grid)) > 1e-9) return 0;
  for (const double stop : slider.stops) {
    const double offset = stop - slider.minimum;
    if (!(offset >= 0.0 && offset <= span)) return 0;
    const std::int64_t whole = std::llround(offset);
    if (std::fabs(offset - static_cast<double>(whole)) > 1e-9) return 0;
    grid = std::gcd(grid, whole);
  }
  const std::int64_t count = std::llround(span) / grid + 1;
  return count <= mostTickMarks ? static_cast<NSInteger>(count) : 0;
}

void showMenuSlider(LMVMenuSliderView *view, const platform::MenuSlider &slider, NSString *title,
                    NSString *selector, BOOL enabled, bool keepKnob) {
  NSSlider *control = view.slider;
  // Set only when they change: the view is updated while it is dragged.
  if (control.minValue != slider.minimum) control.minValue = slider.minimum;
  if (control.maxValue != slider.maximum) control.maxValue = slider.maximum;
  const NSInteger tickMarks = tickMarkCount(slider);
  if (control.numberOfTickMarks != tickMarks) control.numberOfTickMarks = tickMarks;
  NSMutableArray<NSNumber *> *stops = [NSMutableArray arrayWithCapacity:slider.stops.size()];
  for (const double stop : slider.stops) [stops addObject:@(stop)];
  NSCell *cell = control.cell;
  if ([cell isKindOfClass:[LMVStopSliderCell class]]) {
    LMVStopSliderCell *stopCell = static_cast<id>(cell);
    stopCell.stops = stops;
  }
  cell.representedObject = selector;
  if (!keepKnob) control.doubleValue = slider.value;
  control.enabled = enabled;
  control.accessibilityLabel = title;
  view.valueLabel.stringValue = toNSString(slider.valueLabel);
}

platform::SliderMotion currentSliderMotion() {
  NSEvent *event = NSApp.currentEvent;
  if (event == nil) return platform::SliderMotion::released;
  switch (event.type) {
    case NSEventTypeLeftMouseDown:
    case NSEventTypeLeftMouseDragged:
      return platform::SliderMotion::dragged;
    default:
      return platform::SliderMotion::released;
  }
}

}  // namespace lumora::macos
