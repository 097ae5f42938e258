#pragma once
// A connection of our own to the X server, beside Qt's: the window census over every
// process, the pointer's position and buttons, and whether a compositor runs. It hears
// the raw motion and buttons of every pointing device (XInput 2), so a frame's sample
// of a resting pointer costs no round trip. Calls are safe from any thread (one mutex),
// so the frame thread can sample the pointer while the GUI thread works.
#include <atomic>
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>

#include "platform/geometry.h"

struct xcb_connection_t;

struct SPointerState {
  SPoint position;
  bool primaryDown = false;  // logical button 1: the right one when the buttons are swapped
};

class CX11Display {
 public:
  // Connects to $DISPLAY; Connected() is false when that fails.
  CX11Display();
  ~CX11Display();
  CX11Display(const CX11Display&) = delete;
  CX11Display& operator=(const CX11Display&) = delete;

  bool Connected() const { return connection_ != nullptr; }
  // Top-level windows (and the clients inside window manager frames), mapped or not,
  // whose _NET_WM_NAME, or else WM_NAME, is exactly `utf8Title`. Costs a walk of the
  // window tree: a few round trips.
  int CountWindowsTitled(const std::string& utf8Title);
  // One round trip; nothing when the server does not answer.
  std::optional<SPointerState> Pointer();
  // The pointer's position for a frame. The server is asked again only when the pointer
  // may have moved: a raw motion or button event came, NotePointerMoved was called, or
  // `kRecheckSamples` samples passed (moves that make no raw event, such as another
  // program warping the pointer, show that late). Else the last answer.
  std::optional<SPoint> SampledPosition();
  // A window of ours saw the pointer move: the next sample asks the server. Any thread.
  void NotePointerMoved() { pointerMoved_.store(true, std::memory_order_relaxed); }

  static constexpr int kRecheckSamples = 10;
  // Whether a compositing manager owns the screen's _NET_WM_CM_S selection.
  bool CompositorRunning();

 private:
  uint32_t Atom(const char* name);
  void SelectRawPointerEvents();
  // Under mutex_. Takes in what the server sent, noting a raw pointer event among it.
  void DrainEvents();
  // Under mutex_: one round trip, remembered for SampledPosition.
  std::optional<SPointerState> QueryPointer();
  int CountTitledBelow(uint32_t window, const std::string& title, int depth);

  std::mutex mutex_;
  xcb_connection_t* connection_ = nullptr;
  int screenNumber_ = 0;
  uint32_t root_ = 0;
  uint32_t netWmName_ = 0;
  uint32_t utf8String_ = 0;
  uint32_t compositorSelection_ = 0;
  bool rawEvents_ = false;  // the server sends us raw pointer events
  bool rawSinceQuery_ = false;  // one came since the last query
  std::optional<SPoint> lastPosition_;
  int samplesSinceQuery_ = 0;
  std::atomic<bool> pointerMoved_{false};
};
