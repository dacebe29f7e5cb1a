// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

#include "QtTestApp.h"
#include "TempDir.h"
#include "options/HelpCommand.h"
#include "options/LanguageDlg.h"
#include "options/SettingsProfile.h"

namespace {

class Help : public testing::Test {
protected:
    Help() : profile(QString::fromStdString((dir / "settings.conf").string())) {
        QtTestApp();
        SetAppProfile(&profile);
        SetHelpViewer([this](const QUrl& url) { opened.push_back(url); });
        profile.WriteProfileString("Settings", "InstallPath", "/opt/korvane/help");
    }
    ~Help() override {
        SetAppProfile(nullptr);
        SetHelpViewer([](const QUrl&) {});
    }

    std::string Language() const { return profile.GetProfileString("Settings", "Language", "<none>"); }

    // Answers the language dialog that the next Help command opens.
    void AnswerLanguageDialog(std::function<void(CLanguageDlg&)> answer) {
        QTimer::singleShot(0, [this, answer] {
            auto* dialog = dynamic_cast<CLanguageDlg*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            dialogsShown++;
            answer(*dialog);
        });
    }

    TempDir dir;
    CSettingsProfile profile;
    std::vector<QUrl> opened;
    int dialogsShown = 0;
};

TEST_F(Help, LanguageDialogEnablesOkOnlyOnceALanguageIsChosen) {
    CLanguageDlg dialog;
    dialog.show();
    EXPECT_EQ(dialog.windowTitle(), "Choose Language");
    EXPECT_EQ(dialog.m_nLanguage, -1);
    EXPECT_FALSE(dialog.German()->isChecked() || dialog.English()->isChecked());
    EXPECT_FALSE(dialog.OkButton()->isEnabled());
    EXPECT_TRUE(dialog.findChildren<QPushButton*>().size() == 1);  // no Cancel button
    QStringList texts;
    for (const QLabel* label : dialog.findChildren<QLabel*>()) texts << label->text();
    EXPECT_TRUE(texts.contains(
        QString::fromUtf8("Please choose your favorite language:\nBitte wählen Sie die gewünschte Sprache:")));
    EXPECT_TRUE(texts.contains(
        QString::fromUtf8("This dialog will not be displayed again.\nDieser Dialog wird nicht mehr angezeigt.")));

    QTest::keyClick(&dialog, Qt::Key_Return);  // nothing chosen: stays open
    EXPECT_TRUE(dialog.isVisible());
    QTest::mouseClick(dialog.English(), Qt::LeftButton);
    EXPECT_TRUE(dialog.OkButton()->isEnabled());
    EXPECT_EQ(dialog.m_nLanguage, 1);
    QTest::mouseClick(dialog.OkButton(), Qt::LeftButton);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(Language(), "E");
}

TEST_F(Help, EscapeStoresNothing) {
    CLanguageDlg dialog;
    dialog.show();
    QTest::mouseClick(dialog.German(), Qt::LeftButton);
    QTest::keyClick(&dialog, Qt::Key_Escape);
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_EQ(Language(), "<none>");
}

TEST_F(Help, ChosenLanguageOpensItsPageFromTheInstallFolder) {
    profile.WriteProfileString("Settings", "Language", "G");
    OnHelp(nullptr);
    profile.WriteProfileString("Settings", "Language", "E");
    OnHelp(nullptr);
    EXPECT_EQ(dialogsShown, 0);
    ASSERT_EQ(opened.size(), 2u);
    EXPECT_EQ(opened[0], QUrl::fromLocalFile("/opt/korvane/help/korvane.htm"));
    EXPECT_EQ(opened[1], QUrl::fromLocalFile("/opt/korvane/help/korvane_e.htm"));
}

// Installed from a package, nobody's settings name the help folder: the pages beside
// the program are found, and a stored folder wins only while it holds them.
TEST_F(Help, PagesAreFoundBesideTheProgramWhenTheSettingIsMissingOrWrong) {
    const QString root = QString::fromStdString(dir.path().string());
    std::filesystem::create_directories(dir / "usr/share/korvane");
    std::filesystem::create_directories(dir / "elsewhere");
    dir.Write("usr/share/korvane/korvane_e.htm", Bytes::Text("<html>"));
    dir.Write("elsewhere/korvane_e.htm", Bytes::Text("<html>"));
    const QString beside = root + "/usr/share/korvane";
    for (const QString& stored : {QString(), root + "/gone"}) {
        EXPECT_EQ(HelpFolder(stored, root + "/usr/bin", "korvane_e.htm"), beside) << stored.toStdString();
    }
    EXPECT_EQ(HelpFolder(root + "/elsewhere", root + "/usr/bin", "korvane_e.htm"), root + "/elsewhere");
    EXPECT_EQ(HelpFolder(root + "/gone", root + "/usr/bin", "korvane.htm"), root + "/gone");
}

TEST_F(Help, FirstHelpAsksForTheLanguage) {
    AnswerLanguageDialog([](CLanguageDlg& dialog) {
        EXPECT_FALSE(dialog.OkButton()->isEnabled());
        QTest::mouseClick(dialog.English(), Qt::LeftButton);
        QTest::mouseClick(dialog.OkButton(), Qt::LeftButton);
    });
    OnHelp(nullptr);
    EXPECT_EQ(dialogsShown, 1);
    EXPECT_EQ(Language(), "E");
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0], QUrl::fromLocalFile("/opt/korvane/help/korvane_e.htm"));
    OnHelp(nullptr);  // not asked again
    EXPECT_EQ(dialogsShown, 1);
    EXPECT_EQ(opened.size(), 2u);
}

TEST_F(Help, OnlyExactlyGOrECountAsChosen) {
    for (const char* stored : {"g", "German", "e", " E"}) {
        profile.WriteProfileString("Settings", "Language", stored);
        AnswerLanguageDialog([](CLanguageDlg& dialog) { QTest::keyClick(&dialog, Qt::Key_Escape); });
        OnHelp(nullptr);
        EXPECT_EQ(Language(), stored);
    }
    EXPECT_EQ(dialogsShown, 4);
    EXPECT_TRUE(opened.empty());  // cancelled: no page
}

TEST_F(Help, F1AnywhereRunsHelpButNotWithShiftCtrlOrAlt) {
    profile.WriteProfileString("Settings", "Language", "G");
    QMainWindow window;
    auto* field = new QLineEdit(&window);
    window.setCentralWidget(field);
    window.show();
    CHelpKeyFilter filter([&window] { return &window; });
    QtTestApp().installEventFilter(&filter);
    QTest::keyClick(field, Qt::Key_F1, Qt::ShiftModifier);
    QTest::keyClick(field, Qt::Key_F1, Qt::ControlModifier);
    QTest::keyClick(field, Qt::Key_F1, Qt::AltModifier);
    EXPECT_TRUE(opened.empty());
    QTest::keyClick(field, Qt::Key_F1);
    QtTestApp().removeEventFilter(&filter);
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0], QUrl::fromLocalFile("/opt/korvane/help/korvane.htm"));
    EXPECT_EQ(field->text(), "");
}

}  // namespace
