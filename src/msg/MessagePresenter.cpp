// SPDX-License-Identifier: GPL-3.0-or-later
#include "msg/MessagePresenter.h"

#include "framework/Installable.h"
#include "msg/MessageBoxStyle.h"
#include "msg/StderrPresenter.h"

std::vector<int> ButtonsOf(unsigned style) {
    using namespace msgbox;
    switch (style & ButtonsMask) {
        case OkCancel: return {IdOk, IdCancel};
        case AbortRetryIgnore: return {IdAbort, IdRetry, IdIgnore};
        case YesNoCancel: return {IdYes, IdNo, IdCancel};
        case YesNo: return {IdYes, IdNo};
        case RetryCancel: return {IdRetry, IdCancel};
        default: return {IdOk};
    }
}

int DefaultButtonOf(unsigned style) {
    const std::vector<int> buttons = ButtonsOf(style);
    const std::size_t index = (style & msgbox::DefaultButtonMask) >> 8;
    return index < buttons.size() ? buttons[index] : buttons.front();
}

using PresenterService = Installable<CMessagePresenter, CStderrPresenter>;

CMessagePresenter& CurrentMessagePresenter() { return PresenterService::Current(); }

void InstallMessagePresenter(CMessagePresenter* presenter) { PresenterService::Install(presenter); }
