// SPDX-License-Identifier: GPL-3.0-or-later
#include "msg/StderrPresenter.h"

#include <cstdio>

#include "framework/Cp1252.h"

int CStderrPresenter::Present(const MessageBoxRequest& request) {
    const std::string text = Cp1252ToUtf8(request.text) + "\n";
    std::fwrite(text.data(), 1, text.size(), stderr);
    std::fflush(stderr);
    return DefaultButtonOf(request.style);
}
