// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

#include "msg/MessagePresenter.h"

// Keeps the text of every box instead of showing it, so that a command can report
// it where it belongs (a JSON field, or standard error under the file's name).
class CRecordingPresenter : public CMessagePresenter {
public:
    int Present(const MessageBoxRequest& request) override;

    const std::vector<MessageBoxRequest>& Requests() const { return m_requests; }
    void Clear() { m_requests.clear(); }

private:
    std::vector<MessageBoxRequest> m_requests;
};

// Installs a presenter for as long as the guard lives, then restores standard error.
class ScopedPresenter {
public:
    explicit ScopedPresenter(CMessagePresenter& presenter) { InstallMessagePresenter(&presenter); }
    ~ScopedPresenter() { InstallMessagePresenter(nullptr); }
    ScopedPresenter(const ScopedPresenter&) = delete;
    ScopedPresenter& operator=(const ScopedPresenter&) = delete;
};
