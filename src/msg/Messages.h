#pragma once

#include <string>

#include "msg/MessagePresenter.h"

// The program's message boxes. Every box is modal: the call returns when the user
// has closed it. Texts are code page 1252. A text id names an entry of the
// application's string table; a missing or empty entry shows nothing.
//
// Without an owner a box belongs to the main window when there is one.

void ShowMessage(OwnerWindow owner, unsigned textId, unsigned captionId, unsigned style);
void ShowMessage(OwnerWindow owner, unsigned textId, const std::string& caption, unsigned style);
int ShowMessage(OwnerWindow owner, const std::string& text, const std::string& caption, unsigned style);
int ShowMessage(const std::string& text, const std::string& caption, unsigned style);

// Caption "Fehler", error icon, OK.
void ShowError(OwnerWindow owner, unsigned textId);
void ShowError(OwnerWindow owner, const std::string& text);
void ShowError(const std::string& text);

// Caption "Frage", question icon; buttons 0 means Yes and No. Returns the button
// pressed, or 0 when no box or only a fallback box was shown.
int ShowQuestion(OwnerWindow owner, unsigned textId, unsigned buttons);
int ShowQuestion(OwnerWindow owner, const std::string& text, unsigned buttons);
int ShowQuestion(const std::string& text, unsigned buttons);

// Caption "Hinweis", information icon, OK.
void ShowNote(OwnerWindow owner, unsigned textId);
void ShowNote(OwnerWindow owner, const std::string& text);
void ShowNote(const std::string& text);
