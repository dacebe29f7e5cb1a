// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <vector>

#include "msg/MessagePresenter.h"

// Records every box instead of showing it; answers with chosen buttons and can be
// told to throw on its next boxes.
class FakePresenter : public CMessagePresenter {
public:
    FakePresenter() { InstallMessagePresenter(this); }
    ~FakePresenter() override { InstallMessagePresenter(nullptr); }

    int Present(const MessageBoxRequest& request) override {
        if (!throwers.empty()) {
            auto thrower = std::move(throwers.front());
            throwers.erase(throwers.begin());
            thrower();
        }
        boxes.push_back(request);
        if (answers.empty()) return answer;
        const int next = answers.front();
        answers.erase(answers.begin());
        return next;
    }
    OwnerWindow MainWindow() const override { return mainWindow; }

    std::vector<MessageBoxRequest> boxes;
    std::vector<std::function<void()>> throwers;  // run one per box, first to last
    int answer = 1;
    std::vector<int> answers;  // one per box, first to last, before answer
    OwnerWindow mainWindow = nullptr;
};
