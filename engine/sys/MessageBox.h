// The one question the engine asks its user itself: a modal Yes/No box without an owner window,
// shown from the calling thread.
#pragma once

namespace sys {

// Answers a question in place of the box: true for Yes.
using YesNoHook = bool (*)(const char* text, const char* caption);

// Asks text under caption with the buttons Yes and No; true when the user chose Yes. With a hook
// set, the hook answers and no window appears. Without a hook, builds that have no window system
// answer Yes.
bool AskYesNo(const char* text, const char* caption);

// Sets (or with null clears) the hook; any thread may ask while another sets it.
void SetYesNoHook(YesNoHook hook);

}  // namespace sys
