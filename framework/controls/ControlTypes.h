#pragma once
// Small value types shared by the controls: alignment, anchors, cursors, the
// asynchronous event kinds, and the signatures of control events.
#include <functional>

namespace orv {

class TIWCustomControl;
class StringList;

// Position of a control inside its container (stored for the browser-side client
// objects; the calculator page keeps every control at its absolute position).
enum class TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient, alCustom };

// Anchors, a set of these bits; a new control is anchored left and top.
enum TAnchorKind : unsigned { akLeft = 1, akTop = 2, akRight = 4, akBottom = 8 };

// Horizontal text alignment; the value is the style piece's index ("left; ", "right; ",
// "center; ").
enum class TAlignment { taLeftJustify = 0, taRightJustify = 1, taCenter = 2 };

// Vertical text alignment ("middle; ", "top; ", "bottom; ", "baseline; ").
enum class TIWVerticalAlign { vaMiddle = 0, vaTop = 1, vaBottom = 2, vaBaseline = 3 };

// Mouse cursor over a control; crAuto writes no cursor style at all.
enum class TIWCursor {
  crAuto = 0,
  crCrossHair = 1,
  crDefault = 2,
  crPointer = 3,
  crMove = 4,
  crEResize = 5,
  crNEResize = 6,
  crNWResize = 7,
  crNResize = 8,
  crSEResize = 9,
  crSWResize = 10,
  crSResize = 11,
  crWResize = 12,
  crText = 13,
  crWait = 14,
  crHandPoint = 15,
  crHelp = 16,
};

// The sixteen asynchronous events, in the order of their bits in LockOnAsyncEvents.
enum class TIWAsyncEventType {
  aeClick,
  aeDoubleClick,
  aeChange,
  aeEnter,
  aeExit,
  aeKeyDown,
  aeKeyUp,
  aeKeyPress,
  aeMouseDown,
  aeMouseMove,
  aeMouseOver,
  aeMouseOut,
  aeMouseUp,
  aeSelect,
  aeLoad,
  aeUnLoad,
};
inline constexpr int kAsyncEventTypeCount = 16;

// A set of TIWAsyncEventType values, one bit each.
using TIWAsyncEventTypes = unsigned;
constexpr TIWAsyncEventTypes asyncEventBit(TIWAsyncEventType type) {
  return 1u << static_cast<unsigned>(type);
}

// Event signatures. Handlers are optional: an empty function means "not assigned".
using NotifyEvent = std::function<void(TIWCustomControl& sender)>;
using AsyncEvent = std::function<void(TIWCustomControl& sender, const StringList& eventParams)>;
using MouseEvent = std::function<void(TIWCustomControl& sender, int x, int y)>;

}  // namespace orv
