#include "msg/Messages.h"

#include <cstdio>
#include <exception>
#include <new>
#include <optional>

#include "framework/StringTable.h"
#include "msg/MessageBoxStyle.h"

namespace {

constexpr const char* kErrorCaption = "Fehler";
constexpr const char* kQuestionCaption = "Frage";
constexpr const char* kNoteCaption = "Hinweis";
constexpr const char* kUnknownErrorCaption = "Unbekannter Fehler";
constexpr const char* kNoMemoryForText = "Nicht gen\xFCgend freier Speicher !";
constexpr const char* kUnknownErrorForText = "Unbekannter Fehler aufgetreten !";

int Present(OwnerWindow owner, const std::string& text, std::optional<std::string> caption, unsigned style) {
    CMessagePresenter& presenter = CurrentMessagePresenter();
    MessageBoxRequest request;
    request.owner = owner ? owner : presenter.MainWindow();
    request.text = text;
    request.caption = std::move(caption);
    request.style = style;
    return presenter.Present(request);
}

// A text id has no text of its own to report a failure with, so the fallback names
// the id. The buffer size is the one these texts were always formatted into.
std::string NoMemoryForResource(unsigned textId) {
    char buffer[200];
    std::snprintf(buffer, sizeof buffer, "Kein Speicher zum Laden der String-Ressource %u vorhanden", textId);
    return buffer;
}

std::string UnknownErrorForResource(unsigned textId) {
    char buffer[200];
    std::snprintf(buffer, sizeof buffer, "Unbekannter Fehler beim Laden der String-Ressource %u aufgetreten", textId);
    return buffer;
}

// Loads the text (and, with a caption id, the caption) and shows the box. Failures
// while loading or showing are replaced by a fallback box; the result is then 0.
int ShowFromStringTable(OwnerWindow owner, unsigned textId, std::optional<unsigned> captionId,
                        const std::string& fixedCaption, unsigned style) {
    try {
        const std::optional<std::string> text = AppStringTable().LoadString(textId);
        std::optional<std::string> caption = fixedCaption;
        if (captionId) caption = AppStringTable().LoadString(*captionId);
        if (!text || text->empty() || !caption || caption->empty()) return 0;
        return Present(owner, *text, std::move(caption), style);
    } catch (const std::bad_alloc&) {
        Present(owner, NoMemoryForResource(textId), kErrorCaption, msgbox::IconError | msgbox::Ok);
    } catch (const std::exception&) {
        Present(owner, UnknownErrorForResource(textId), kUnknownErrorCaption, msgbox::IconError | msgbox::Ok);
    }
    return 0;
}

int ShowGuardedText(OwnerWindow owner, const std::string& text, const char* caption, unsigned style) {
    try {
        return Present(owner, text, caption, style);
    } catch (const std::bad_alloc&) {
        Present(owner, kNoMemoryForText, std::nullopt, msgbox::IconError | msgbox::Ok);
    } catch (const std::exception&) {
        Present(owner, kUnknownErrorForText, std::nullopt, msgbox::IconError | msgbox::Ok);
    }
    return 0;
}

unsigned QuestionStyle(unsigned buttons) { return (buttons ? buttons : msgbox::YesNo) | msgbox::IconQuestion; }

constexpr unsigned kErrorStyle = msgbox::IconError | msgbox::Ok;
constexpr unsigned kNoteStyle = msgbox::IconInformation | msgbox::Ok;

}  // namespace

void ShowMessage(OwnerWindow owner, unsigned textId, unsigned captionId, unsigned style) {
    ShowFromStringTable(owner, textId, captionId, {}, style);
}

void ShowMessage(OwnerWindow owner, unsigned textId, const std::string& caption, unsigned style) {
    ShowFromStringTable(owner, textId, std::nullopt, caption, style);
}

int ShowMessage(OwnerWindow owner, const std::string& text, const std::string& caption, unsigned style) {
    return Present(owner, text, caption, style);
}

int ShowMessage(const std::string& text, const std::string& caption, unsigned style) {
    return ShowMessage(nullptr, text, caption, style);
}

void ShowError(OwnerWindow owner, unsigned textId) {
    ShowFromStringTable(owner, textId, std::nullopt, kErrorCaption, kErrorStyle);
}

void ShowError(OwnerWindow owner, const std::string& text) { ShowGuardedText(owner, text, kErrorCaption, kErrorStyle); }

void ShowError(const std::string& text) { ShowError(nullptr, text); }

int ShowQuestion(OwnerWindow owner, unsigned textId, unsigned buttons) {
    return ShowFromStringTable(owner, textId, std::nullopt, kQuestionCaption, QuestionStyle(buttons));
}

int ShowQuestion(OwnerWindow owner, const std::string& text, unsigned buttons) {
    return ShowGuardedText(owner, text, kQuestionCaption, QuestionStyle(buttons));
}

int ShowQuestion(const std::string& text, unsigned buttons) { return ShowQuestion(nullptr, text, buttons); }

void ShowNote(OwnerWindow owner, unsigned textId) {
    ShowFromStringTable(owner, textId, std::nullopt, kNoteCaption, kNoteStyle);
}

void ShowNote(OwnerWindow owner, const std::string& text) { ShowGuardedText(owner, text, kNoteCaption, kNoteStyle); }

void ShowNote(const std::string& text) { ShowNote(nullptr, text); }
