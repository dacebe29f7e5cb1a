#include <gtest/gtest.h>

#include <new>
#include <stdexcept>

#include "FakePresenter.h"
#include "framework/StringTable.h"
#include "msg/MessageBoxStyle.h"
#include "msg/Messages.h"

namespace {

int g_window1 = 0, g_window2 = 0;
const OwnerWindow kMainWindow = &g_window1;
const OwnerWindow kOtherWindow = &g_window2;

// A string table whose loads fail the way a real one can.
class FailingTable : public CStringTable {
public:
    std::optional<std::string> LoadString(unsigned id) const override {
        if (id == badAllocId) throw std::bad_alloc();
        if (id == runtimeErrorId) throw std::runtime_error("broken");
        return CStringTable::LoadString(id);
    }
    unsigned badAllocId = 0;
    unsigned runtimeErrorId = 0;
};

class Messages : public testing::Test {
protected:
    Messages() {
        presenter.mainWindow = kMainWindow;
        table.SetString(100, "Text aus der Tabelle");
        table.SetString(101,
                        "Eigene \xDC"
                        "berschrift");
        table.SetString(102, "");
        SetAppStringTable(&table);
    }
    ~Messages() override { SetAppStringTable(nullptr); }

    const MessageBoxRequest& OnlyBox() const {
        EXPECT_EQ(presenter.boxes.size(), 1u);
        return presenter.boxes.back();
    }

    FakePresenter presenter;
    FailingTable table;
};

TEST_F(Messages, ErrorNoteAndQuestionBoxes) {
    ShowError("File title may not be empty!");
    EXPECT_EQ(OnlyBox().text, "File title may not be empty!");
    EXPECT_EQ(OnlyBox().caption, std::optional<std::string>("Fehler"));
    EXPECT_EQ(OnlyBox().style, 0x10u);
    EXPECT_EQ(OnlyBox().owner, kMainWindow);

    presenter.boxes.clear();
    ShowNote(kOtherWindow, "Hinweis-Text");
    EXPECT_EQ(OnlyBox().caption, std::optional<std::string>("Hinweis"));
    EXPECT_EQ(OnlyBox().style, 0x40u);
    EXPECT_EQ(OnlyBox().owner, kOtherWindow);

    presenter.boxes.clear();
    presenter.answer = msgbox::IdNo;
    EXPECT_EQ(ShowQuestion(kOtherWindow, "Sicher?", 0), msgbox::IdNo);
    EXPECT_EQ(OnlyBox().caption, std::optional<std::string>("Frage"));
    EXPECT_EQ(OnlyBox().style, msgbox::YesNo | msgbox::IconQuestion);

    presenter.boxes.clear();
    presenter.answer = msgbox::IdCancel;
    EXPECT_EQ(ShowQuestion("Weiter?", msgbox::OkCancel), msgbox::IdCancel);
    EXPECT_EQ(OnlyBox().style, msgbox::OkCancel | msgbox::IconQuestion);
    EXPECT_EQ(OnlyBox().owner, kMainWindow);
}

TEST_F(Messages, WithoutMainWindowTheBoxHasNoOwner) {
    presenter.mainWindow = nullptr;
    ShowError(std::string());
    EXPECT_EQ(OnlyBox().owner, nullptr);
    EXPECT_EQ(OnlyBox().text, "");  // an empty text is still shown
}

TEST_F(Messages, ShowMessagePassesCaptionAndStyleUnchanged) {
    presenter.answer = msgbox::IdRetry;
    EXPECT_EQ(ShowMessage("Text", "Titel", msgbox::RetryCancel | msgbox::IconWarning), msgbox::IdRetry);
    EXPECT_EQ(OnlyBox().caption, std::optional<std::string>("Titel"));
    EXPECT_EQ(OnlyBox().style, msgbox::RetryCancel | msgbox::IconWarning);
    EXPECT_EQ(OnlyBox().owner, kMainWindow);
}

TEST_F(Messages, TextsFromTheStringTable) {
    ShowMessage(kOtherWindow, 100u, 101u, msgbox::IconInformation);
    EXPECT_EQ(OnlyBox().text, "Text aus der Tabelle");
    EXPECT_EQ(OnlyBox().caption, std::optional<std::string>("Eigene \xDC"
                                                            "berschrift"));
    EXPECT_EQ(OnlyBox().style, msgbox::IconInformation);
    EXPECT_EQ(OnlyBox().owner, kOtherWindow);

    presenter.boxes.clear();
    ShowMessage(nullptr, 100u, std::string("Direkt"), msgbox::Ok);
    EXPECT_EQ(OnlyBox().caption, std::optional<std::string>("Direkt"));

    presenter.boxes.clear();
    ShowError(nullptr, 100u);
    EXPECT_EQ(OnlyBox().caption, std::optional<std::string>("Fehler"));
    EXPECT_EQ(OnlyBox().style, 0x10u);

    presenter.boxes.clear();
    ShowNote(nullptr, 100u);
    EXPECT_EQ(OnlyBox().caption, std::optional<std::string>("Hinweis"));

    presenter.boxes.clear();
    presenter.answer = msgbox::IdYes;
    EXPECT_EQ(ShowQuestion(nullptr, 100u, 0), msgbox::IdYes);
    EXPECT_EQ(OnlyBox().style, msgbox::YesNo | msgbox::IconQuestion);
}

TEST_F(Messages, FrameworkTextForAnExceptionWithoutOwnText) {
    ShowError(nullptr, kIdsNoErrorMessageAvailable);
    EXPECT_EQ(OnlyBox().text, "Keine Fehlermeldung verf\xFCgbar.");
}

TEST_F(Messages, MissingOrEmptyTableEntriesShowNothing) {
    ShowError(nullptr, 999u);
    ShowError(nullptr, 102u);
    ShowNote(nullptr, 999u);
    ShowMessage(nullptr, 100u, 999u, 0);  // caption missing
    ShowMessage(nullptr, 100u, 102u, 0);  // caption empty
    presenter.answer = msgbox::IdYes;
    EXPECT_EQ(ShowQuestion(nullptr, 999u, 0), 0);
    EXPECT_TRUE(presenter.boxes.empty());
}

TEST_F(Messages, OutOfMemoryWhileLoadingNamesTheTextId) {
    table.badAllocId = 101;  // the caption fails, the text's id is named
    ShowMessage(kOtherWindow, 100u, 101u, msgbox::YesNo);
    EXPECT_EQ(OnlyBox().text, "Kein Speicher zum Laden der String-Ressource 100 vorhanden");
    EXPECT_EQ(OnlyBox().caption, std::optional<std::string>("Fehler"));
    EXPECT_EQ(OnlyBox().style, msgbox::IconError | msgbox::Ok);
    EXPECT_EQ(OnlyBox().owner, kOtherWindow);
}

TEST_F(Messages, OtherFailuresWhileLoadingNameTheTextId) {
    table.runtimeErrorId = 4711;
    EXPECT_EQ(ShowQuestion(nullptr, 4711u, 0), 0);
    EXPECT_EQ(OnlyBox().text, "Unbekannter Fehler beim Laden der String-Ressource 4711 aufgetreten");
    EXPECT_EQ(OnlyBox().caption, std::optional<std::string>("Unbekannter Fehler"));
    EXPECT_EQ(OnlyBox().style, msgbox::IconError | msgbox::Ok);
    EXPECT_EQ(OnlyBox().owner, kMainWindow);
}

TEST_F(Messages, FailureWhileShowingATextGivesTheFallbackBox) {
    presenter.throwers.push_back([] { throw std::bad_alloc(); });
    ShowError("Original");
    EXPECT_EQ(OnlyBox().text, "Nicht gen\xFCgend freier Speicher !");
    EXPECT_EQ(OnlyBox().caption, std::nullopt);
    EXPECT_EQ(OnlyBox().style, msgbox::IconError | msgbox::Ok);
    EXPECT_EQ(OnlyBox().owner, kMainWindow);

    presenter.boxes.clear();
    presenter.answer = msgbox::IdYes;
    presenter.throwers.push_back([] { throw std::logic_error("x"); });
    EXPECT_EQ(ShowQuestion(kOtherWindow, "Frage?", 0), 0);
    EXPECT_EQ(OnlyBox().text, "Unbekannter Fehler aufgetreten !");
    EXPECT_EQ(OnlyBox().owner, kOtherWindow);
}

TEST_F(Messages, FailureWhileShowingATableTextGivesTheResourceFallback) {
    presenter.throwers.push_back([] { throw std::bad_alloc(); });
    ShowNote(nullptr, 100u);
    EXPECT_EQ(OnlyBox().text, "Kein Speicher zum Laden der String-Ressource 100 vorhanden");
}

TEST_F(Messages, OnlyStandardExceptionsAreCaughtAndPlainShowMessageCatchesNothing) {
    presenter.throwers.push_back([] { throw 42; });
    EXPECT_THROW(ShowError("x"), int);
    presenter.throwers.push_back([] { throw std::runtime_error("x"); });
    EXPECT_THROW(ShowMessage("x", "y", 0), std::runtime_error);
    EXPECT_TRUE(presenter.boxes.empty());
}

TEST(StderrPresenter, WritesTheTextAsTheBoxWouldShowItAndAnswersTheDefault) {
    InstallMessagePresenter(nullptr);
    testing::internal::CaptureStderr();
    ShowError("Invalid file structure!\n\n(Missing style title.)");
    const int answer = ShowQuestion("Gen\xFCgend?", msgbox::YesNo | msgbox::DefaultButton2);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "Invalid file structure!\n\n(Missing style title.)\nGenügend?\n");
    EXPECT_EQ(answer, msgbox::IdNo);
}

TEST(DefaultButton, FirstUnlessTheStyleNamesAnother) {
    EXPECT_EQ(DefaultButtonOf(msgbox::YesNo), msgbox::IdYes);
    EXPECT_EQ(DefaultButtonOf(msgbox::YesNo | msgbox::DefaultButton2), msgbox::IdNo);
    EXPECT_EQ(DefaultButtonOf(msgbox::YesNoCancel | msgbox::DefaultButton3), msgbox::IdCancel);
    EXPECT_EQ(DefaultButtonOf(msgbox::Ok | msgbox::DefaultButton3), msgbox::IdOk);
}

}  // namespace
