// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "msg/MessagePresenter.h"

// The program's message boxes. Every box is modal: the call returns when the user
// has closed it. Texts are code page 1252. A box belongs to the main window when
// there is one.

// The caption and style as given; the box's button is returned. Nothing is caught.
int ShowMessage(const std::string& text, const std::string& caption, unsigned style);

// Caption "Fehler", error icon, OK.
void ShowError(const std::string& text);

// Caption "Frage", question icon; buttons 0 means Yes and No. Returns the button
// pressed, or 0 when only a fallback box could be shown.
int ShowQuestion(const std::string& text, unsigned buttons);
