// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

#include "FakePresenter.h"
#include "QtTestApp.h"
#include "TempDir.h"
#include "framework/platform/qt/QtPaths.h"
#include "options/HelpCommand.h"
#include "options/LanguageDlg.h"
#include "options/SettingsProfile.h"

namespace {

class Help : public testing::Test {
protected:
    Help() : profile(QString::fromStdString((dir / "settings.conf").string())) {
        QtTestApp();
        SetAppProfile(&profile);
        SetHelpViewer([this](const QUrl& url) {
            opened.push_back(url);
            return viewerStarts;
        });
        std::filesystem::create_directory(dir / "help");
        for (const char* page : {"korvane.htm", "korvane_e.htm"})
            dir.Write(std::string("help/") + page, Bytes::Text("<html>"));
        profile.WriteProfileString("Settings", "InstallPath", help.toStdString());
    }
    ~Help() override {
        SetAppProfile(nullptr);
        SetHelpViewer([](const QUrl&) { return true; });
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
    const QString help = QString::fromStdString((dir / "help").string());
    CSettingsProfile profile;
    FakePresenter presenter;
    std::vector<QUrl> opened;
    bool viewerStarts = true;
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
    EXPECT_EQ(opened[0], QUrl::fromLocalFile(help + "/korvane.htm"));
    EXPECT_EQ(opened[1], QUrl::fromLocalFile(help + "/korvane_e.htm"));
}

// Installed from a package, nobody's settings name the help folder: the pages beside
// the program are found, and a stored folder wins only while it holds them.
TEST_F(Help, PagesAreFoundBesideTheProgramWhenTheSettingIsMissingOrWrong) {
    const QString root = QString::fromStdString(dir.path().string());
    const QString beside = InstalledHelpFolder(root + "/usr/bin");
    const std::string besideInDir = QDir(root).relativeFilePath(beside).toStdString();
    std::filesystem::create_directories(dir / besideInDir);
    std::filesystem::create_directories(dir / "elsewhere");
    dir.Write(besideInDir + "/korvane_e.htm", Bytes::Text("<html>"));
    dir.Write("elsewhere/korvane_e.htm", Bytes::Text("<html>"));
    for (const QString& stored : {QString(), root + "/gone"}) {
        EXPECT_EQ(HelpFolder(stored, root + "/usr/bin", "korvane_e.htm"), beside) << stored.toStdString();
    }
    EXPECT_EQ(HelpFolder(root + "/elsewhere", root + "/usr/bin", "korvane_e.htm"), root + "/elsewhere");
    // Not the current folder, which an empty folder would name.
    EXPECT_EQ(HelpFolder(root + "/gone", root + "/usr/bin", "korvane.htm"), std::nullopt);
}

// Without its page, or a program to show it, F1 would do nothing at all: it says so
// once, naming the page and where it was looked for.
TEST_F(Help, APageThatDoesNotOpenIsReported) {
    profile.WriteProfileString("Settings", "Language", "E");
    const std::string page = (dir / "help" / "korvane_e.htm").string();
    viewerStarts = false;
    OnHelp(nullptr);
    ASSERT_EQ(presenter.boxes.size(), 1u);
    EXPECT_EQ(presenter.boxes[0].text, "The help page \"" + page +
                                           "\" could not be opened!\n\n(Please check that a program to show web pages "
                                           "is installed.)");

    std::filesystem::remove(page);
    // The message names the folders as the system writes them.
    const auto shown = [](const QString& folder) { return QDir::toNativeSeparators(folder).toStdString(); };
    const std::string beside = shown(InstalledHelpFolder(QCoreApplication::applicationDirPath()));
    const std::pair<std::string, std::string> cases[] = {
        {help.toStdString(), "\"" + shown(help) + "\" and \"" + beside + "\""},
        {"", "\"" + beside + "\""},
    };
    for (const auto& [stored, lookedIn] : cases) {
        profile.WriteProfileString("Settings", "InstallPath", stored);
        presenter.boxes.clear();
        OnHelp(nullptr);
        ASSERT_EQ(presenter.boxes.size(), 1u) << stored;
        EXPECT_EQ(presenter.boxes[0].text,
                  "The help page \"korvane_e.htm\" was not found!\n\n(Looked in " + lookedIn + ".)");
        EXPECT_EQ(presenter.boxes[0].caption, std::optional<std::string>("Fehler"));
    }
    EXPECT_EQ(opened.size(), 1u);  // only the page that was there went to a viewer
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
    EXPECT_EQ(opened[0], QUrl::fromLocalFile(help + "/korvane_e.htm"));
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
    EXPECT_EQ(opened[0], QUrl::fromLocalFile(help + "/korvane.htm"));
    EXPECT_EQ(field->text(), "");
}

}  // namespace
