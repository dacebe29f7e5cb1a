// SPDX-License-Identifier: GPL-3.0-or-later
#include "msg/MessageHeading.h"

#include <utility>

ScopedMessageHeading::ScopedMessageHeading(std::string heading)
    : m_shownBy(CurrentMessagePresenter()), m_heading(std::move(heading)) {
    InstallMessagePresenter(this);
}

ScopedMessageHeading::~ScopedMessageHeading() { InstallMessagePresenter(&m_shownBy); }

int ScopedMessageHeading::Present(const MessageBoxRequest& request) {
    MessageBoxRequest headed = request;
    headed.text = m_heading + "\n" + request.text;
    return m_shownBy.Present(headed);
}
