// SPDX-License-Identifier: GPL-3.0-or-later
#include "msg/Messages.h"

#include <exception>
#include <new>
#include <optional>

#include "msg/MessageBoxStyle.h"

namespace {

constexpr const char* kErrorCaption = "Fehler";
constexpr const char* kQuestionCaption = "Frage";
constexpr const char* kNoMemoryForText = "Nicht gen\xFCgend freier Speicher !";
constexpr const char* kUnknownErrorForText = "Unbekannter Fehler aufgetreten !";

int Present(const std::string& text, std::optional<std::string> caption, unsigned style) {
    CMessagePresenter& presenter = CurrentMessagePresenter();
    MessageBoxRequest request;
    request.owner = presenter.MainWindow();
    request.text = text;
    request.caption = std::move(caption);
    request.style = style;
    return presenter.Present(request);
}

// A failure while the box is made is reported in a box of its own, so that the caller
// always gets a normal return; the result is then 0.
int ShowGuardedText(const std::string& text, const char* caption, unsigned style) {
    try {
        return Present(text, caption, style);
    } catch (const std::bad_alloc&) {
        Present(kNoMemoryForText, std::nullopt, msgbox::IconError | msgbox::Ok);
    } catch (const std::exception&) {
        Present(kUnknownErrorForText, std::nullopt, msgbox::IconError | msgbox::Ok);
    }
    return 0;
}

}  // namespace

int ShowMessage(const std::string& text, const std::string& caption, unsigned style) {
    return Present(text, caption, style);
}

void ShowError(const std::string& text) { ShowGuardedText(text, kErrorCaption, msgbox::IconError | msgbox::Ok); }

int ShowQuestion(const std::string& text, unsigned buttons) {
    return ShowGuardedText(text, kQuestionCaption, (buttons ? buttons : msgbox::YesNo) | msgbox::IconQuestion);
}
