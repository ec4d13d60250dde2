#include "window/layout.h"

#include <algorithm>

namespace cmdgen {
namespace {

using enum ControlKind;
using enum CommandId;

constexpr bool kYes = true;
constexpr bool kNo = false;

// clang-format off
constexpr ControlLayout kMainControls[] = {
// kind       name             left  top  width height initial text                               visible enabled tab  order click                   multi vscroll wrap  v-centre
  {kButton,  kClearButton,     448,  376,  80,  32,  "清除内容",                                     kYes,  kYes,  kYes, 0, kClearOutput,           kNo,  kNo,  kNo,  kNo},
  {kButton,  kCopyButton,      448,  328,  80,  32,  "复制到剪辑板",                                 kYes,  kYes,  kYes, 0, kCopyOutputToClipboard, kNo,  kNo,  kNo,  kNo},
  {kLabel,   kNoteLabel,       424,   80, 128, 240,  kUsageNote,                                     kYes,  kYes,  kNo,  0, kNone,                  kNo,  kNo,  kYes, kNo},
  {kLabel,   kEndLabel,        320,   40,  48,  24,  "终止数：",                                     kYes,  kYes,  kNo,  0, kNone,                  kNo,  kNo,  kNo,  kYes},
  {kLabel,   kStartLabel,      320,    8,  48,  24,  "起始数：",                                     kYes,  kYes,  kNo,  0, kNone,                  kNo,  kNo,  kNo,  kYes},
  {kLabel,   kTemplateLabel,     8,    8,  80,  56,  "要生成内容",                                   kYes,  kYes,  kNo,  0, kNone,                  kNo,  kNo,  kNo,  kYes},
  {kEditBox, kEndBox,          384,   40,  80,  20,  "1146",                                         kYes,  kYes,  kYes, 0, kNone,                  kNo,  kNo,  kNo,  kNo},
  {kEditBox, kStartBox,        384,    8,  80,  20,  "1124,1",                                       kYes,  kYes,  kYes, 0, kNone,                  kNo,  kNo,  kNo,  kNo},
  {kButton,  kGenerateButton,  472,   16,  80,  32,  "生成",                                         kYes,  kYes,  kYes, 0, kGenerateIntoOutput,    kNo,  kNo,  kNo,  kNo},
  {kEditBox, kOutputBox,         0,   64, 408, 344,  "",                                             kYes,  kYes,  kYes, 0, kNone,                  kYes, kYes, kYes, kNo},
  {kEditBox, kTemplateBox,      96,    8, 216,  56,  "vlan {1}\r\nport Ethernet0/0/{2}\r\nquit",     kYes,  kYes,  kYes, 0, kNone,                  kYes, kNo,  kYes, kNo},
};
// clang-format on

constexpr WindowLayout kMainWindow = {
    .caption = "Tarnwick——Oselmar",
    .outer_width = 566,
    .outer_height = 459,
    .min_client_width = 552,
    .min_client_height = 408,
    .controls = kMainControls,
    .icon_resource = "DEFAULT_ICON",
};

}  // namespace

const WindowLayout& MainWindowLayout() { return kMainWindow; }

const ControlLayout* FindControl(const WindowLayout& layout, std::string_view name) {
  for (const ControlLayout& control : layout.controls) {
    if (control.name == name) return &control;
  }
  return nullptr;
}

std::vector<std::size_t> TabOrder(const WindowLayout& layout) {
  std::vector<std::size_t> order;
  // Creation order is the reverse of the list, so walk the list backwards and
  // let the stable sort keep that order among equal tab-order values.
  for (std::size_t i = layout.controls.size(); i-- > 0;) {
    const ControlLayout& control = layout.controls[i];
    if (control.tab_stop && control.visible && control.enabled) order.push_back(i);
  }
  std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
    return layout.controls[a].tab_order < layout.controls[b].tab_order;
  });
  return order;
}

Point CentredPosition(const WindowLayout& layout, std::int32_t screen_width,
                      std::int32_t screen_height) {
  // Integer division truncates toward zero, as the placement asks; the
  // difference is taken in 64 bits so that no display size can overflow it.
  auto centre = [](std::int32_t screen, std::int32_t outer) {
    return static_cast<std::int32_t>((std::int64_t{screen} - outer) / 2);
  };
  return {centre(screen_width, layout.outer_width), centre(screen_height, layout.outer_height)};
}

}  // namespace cmdgen
