// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/RecordingPresenter.h"

int CRecordingPresenter::Present(const MessageBoxRequest& request) {
    m_requests.push_back(request);
    return DefaultButtonOf(request.style);
}

int CLastMessagePerThread::Present(const MessageBoxRequest& request) {
    const std::lock_guard lock(m_mutex);
    m_last[std::this_thread::get_id()] = request.text;
    return DefaultButtonOf(request.style);
}

std::string CLastMessagePerThread::TakeLast() {
    const std::lock_guard lock(m_mutex);
    const auto last = m_last.find(std::this_thread::get_id());
    if (last == m_last.end()) return {};
    std::string text = std::move(last->second);
    m_last.erase(last);
    return text;
}
