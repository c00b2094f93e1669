// For waits on the program's window thread: lets that thread's windows repaint while it waits,
// without running anything else of the program (no commands, no timers) in the middle of the wait.
#pragma once

namespace sys {

// Paints every window of the calling thread that is waiting for it; nothing where there are none.
void DispatchPaintMessages();

}  // namespace sys
