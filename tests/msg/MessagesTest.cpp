// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <new>
#include <stdexcept>

#include "FakePresenter.h"
#include "framework/StringTable.h"
#include "msg/MessageBoxStyle.h"
#include "msg/Messages.h"

namespace {

int g_window = 0;
const OwnerWindow kMainWindow = &g_window;

class Messages : public testing::Test {
protected:
    Messages() { presenter.mainWindow = kMainWindow; }

    const MessageBoxRequest& OnlyBox() const {
        EXPECT_EQ(presenter.boxes.size(), 1u);
        return presenter.boxes.back();
    }

    FakePresenter presenter;
};

TEST_F(Messages, ErrorAndQuestionBoxes) {
    ShowError("File title may not be empty!");
    EXPECT_EQ(OnlyBox().text, "File title may not be empty!");
    EXPECT_EQ(OnlyBox().caption, std::optional<std::string>("Fehler"));
    EXPECT_EQ(OnlyBox().style, 0x10u);
    EXPECT_EQ(OnlyBox().owner, kMainWindow);

    presenter.boxes.clear();
    presenter.answer = msgbox::IdNo;
    EXPECT_EQ(ShowQuestion("Sicher?", 0), msgbox::IdNo);
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

TEST(StringTable, HoldsTheFrameworkTextForAnExceptionWithoutOwnText) {
    EXPECT_EQ(AppStringTable().LoadString(kIdsNoErrorMessageAvailable), "Keine Fehlermeldung verf\xFCgbar.");
    EXPECT_EQ(AppStringTable().LoadString(999u), std::nullopt);
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
    EXPECT_EQ(ShowQuestion("Frage?", 0), 0);
    EXPECT_EQ(OnlyBox().text, "Unbekannter Fehler aufgetreten !");
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
