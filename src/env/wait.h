// Waits that keep the interface responsive.
#pragma once

// Waits ms milliseconds while dispatching messages; dispatches at least once.
void Delay(long ms);
// As Delay; with dispatch false a busy wait that only reads the clock.
void Pause(long ms, bool dispatch);

// Paces a display that follows fast work: a repaint costs more than copying or deleting a
// small file, and the eye takes in one every few tens of milliseconds.
class RepaintPacer {
 public:
  // True before the first repaint and once the last is RepaintEvery ms old.
  bool Due() const;
  // Notes a repaint just done.
  void Repainted();

 private:
  unsigned long repaintedAt_ = 0;  // tick count
  bool repainted_ = false;
};
