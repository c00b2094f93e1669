// What a download step, a packet reader or the RealMedia writer gives besides a DownResult. The
// values are negative, so none is taken for a DownResult, and none is ever a run's result: the
// loop that meets one acts on it.
#pragma once
#include <cstdint>

enum StepResult : int32_t {
    // The stream ended: an end unit or chunk, or the peer closing between units.
    kStreamEnd = -1,
    // The unit was dropped, answered or is one the file already holds: nothing was written.
    kUnitSkipped = -2,
    // The RealMedia writer: a continued file and the stream part ways, so the file cannot be
    // continued without a gap or a splice (nothing is written).
    kResumeLost = -3,
    // The download must start again from the stream's beginning on a new connection, the file
    // rewritten (CDownBase::Run does so, once).
    kStartFromZero = -5,
};
