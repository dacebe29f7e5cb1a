// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <vector>

// A window of the front end that a message box belongs to; the message module only
// passes it through.
using OwnerWindow = const void*;

struct MessageBoxRequest {
    OwnerWindow owner = nullptr;         // already resolved: the given owner or the main window
    std::string text;                    // code page 1252
    std::optional<std::string> caption;  // nothing: the system's default caption
    unsigned style = 0;                  // msgbox flags
};

// Shows a message box and waits until the user has closed it. The front end installs
// the presenter that fits it: a real dialog in the editor, standard error in the
// companion.
class CMessagePresenter {
public:
    virtual ~CMessagePresenter() = default;
    // Returns the id of the button that closed the box (msgbox::IdOk ...).
    virtual int Present(const MessageBoxRequest& request) = 0;
    // The application's main window, if it has one at this moment.
    virtual OwnerWindow MainWindow() const { return nullptr; }
};

// The buttons a style shows, in order, as result ids; the first is the default unless
// the style names another.
std::vector<int> ButtonsOf(unsigned style);
int DefaultButtonOf(unsigned style);

CMessagePresenter& CurrentMessagePresenter();
// Installs the presenter used from now on; nullptr returns to standard error.
void InstallMessagePresenter(CMessagePresenter* presenter);
