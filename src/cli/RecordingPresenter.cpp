// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/RecordingPresenter.h"

int CRecordingPresenter::Present(const MessageBoxRequest& request) {
    m_requests.push_back(request);
    return DefaultButtonOf(request.style);
}
