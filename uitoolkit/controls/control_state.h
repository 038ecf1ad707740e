#pragma once
// State bits of every stateful control. Images and colours are chosen by
// state in this order: disabled, pushed, hot, focused, normal.
namespace UiToolkit {

enum {
  UISTATE_FOCUSED = 0x01,
  UISTATE_SELECTED = 0x02,
  UISTATE_DISABLED = 0x04,
  UISTATE_HOT = 0x08,
  UISTATE_PUSHED = 0x10,
  UISTATE_CAPTURED = 0x40,
};

}  // namespace UiToolkit
