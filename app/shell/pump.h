// Waiting on the UI thread while its window messages keep being dispatched.
#pragma once

namespace lumoset {

// Waits `milliseconds` while dispatching the calling thread's events; returns at once for 0
// or less. Sleeps in the event loop between events, so the wait costs no CPU. Without an
// application object it is a plain sleep.
void waitPumping(int milliseconds);

// Dispatches the calling thread's pending events once and returns.
void pumpMessages();

}  // namespace lumoset
