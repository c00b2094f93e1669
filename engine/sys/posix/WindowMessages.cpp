#include "../WindowMessages.h"

namespace sys {

// No windows in this build.
void DispatchPaintMessages() {}

}  // namespace sys
