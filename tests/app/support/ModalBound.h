// Shows a form modally with a bound: a dialog that the queued input fails to close ends with
// kNotClosed after a few seconds instead of hanging the test.
#pragma once
#include <windows.h>

#include "Forms.h"

constexpr int kNotClosed = -1;

inline ui::TCustomForm*& BoundedForm() {
    static ui::TCustomForm* form = nullptr;
    return form;
}

inline void CALLBACK CloseUnclosedForm(HWND, UINT, UINT_PTR, DWORD) {
    if (BoundedForm()) BoundedForm()->SetModalResult(kNotClosed);
}

inline int ShowModalBounded(ui::TCustomForm& form) {
    BoundedForm() = &form;
    const UINT_PTR timer = SetTimer(nullptr, 0, 5000, &CloseUnclosedForm);
    const int result = form.ShowModal();
    KillTimer(nullptr, timer);
    BoundedForm() = nullptr;
    return result;
}
