// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "msg/MessagePresenter.h"

// While it lives, every box starts with heading on a line of its own, above its text
// as it stands: the editor names the file a load's messages are about, as the
// companion prints them under the file's name. The presenter in place before shows
// the boxes, and is in place again afterwards.
class ScopedMessageHeading : private CMessagePresenter {
public:
    explicit ScopedMessageHeading(std::string heading);
    ~ScopedMessageHeading() override;
    ScopedMessageHeading(const ScopedMessageHeading&) = delete;
    ScopedMessageHeading& operator=(const ScopedMessageHeading&) = delete;

private:
    int Present(const MessageBoxRequest& request) override;
    OwnerWindow MainWindow() const override { return m_shownBy.MainWindow(); }

    CMessagePresenter& m_shownBy;
    std::string m_heading;
};
