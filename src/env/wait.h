// Waits that keep the interface responsive.
#pragma once

// Waits ms milliseconds while dispatching messages; dispatches at least once.
void Delay(long ms);
// As Delay; with dispatch false a busy wait that only reads the clock.
void Pause(long ms, bool dispatch);
