// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "msg/MessagePresenter.h"

// Writes the text of each box to standard error, exactly as the box would show it,
// followed by a line feed, and answers with the box's default button. Used where
// there is no window: the command-line companion.
class CStderrPresenter : public CMessagePresenter {
public:
    int Present(const MessageBoxRequest& request) override;
};
