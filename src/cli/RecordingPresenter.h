// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <map>
#include <mutex>
#include <string>
#include <thread>
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

// Keeps the text of the last box shown on each thread, for a command that loads files
// on several threads at once (InOrder.h).
class CLastMessagePerThread : public CMessagePresenter {
public:
    int Present(const MessageBoxRequest& request) override;
    // The text (code page 1252) of the last box shown on the calling thread since it
    // last asked; empty when there was none.
    std::string TakeLast();

private:
    std::mutex m_mutex;
    std::map<std::thread::id, std::string> m_last;
};

// Installs a presenter for as long as the guard lives, then restores standard error.
class ScopedPresenter {
public:
    explicit ScopedPresenter(CMessagePresenter& presenter) { InstallMessagePresenter(&presenter); }
    ~ScopedPresenter() { InstallMessagePresenter(nullptr); }
    ScopedPresenter(const ScopedPresenter&) = delete;
    ScopedPresenter& operator=(const ScopedPresenter&) = delete;
};
