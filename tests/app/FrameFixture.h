// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The main window with its settings in memory, the file dialogs and questions answered
// by the test, and two styles, Pop.sty and Rock.sty, in a folder of their own.

#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <memory>

#include "FakePresenter.h"
#include "QtTestApp.h"
#include "StyleBytes.h"
#include "TempDir.h"
#include "app/ChildFrame.h"
#include "app/FileDialogs.h"
#include "app/MainFrame.h"
#include "app/RecentFileList.h"
#include "document/KorvaneDoc.h"
#include "framework/Document.h"
#include "framework/Profile.h"
#include "msg/MessageBoxStyle.h"
#include "view/FormTemplate.h"
#include "view/StyleDialog.h"

inline Bytes Style(std::string_view title) {
    return StyleFile(BasicEvents(title) + TempoEvent(500000) + VolumeEvent(9, 100) + EndOfTrack());
}

// Records the order in which values are written.
struct RecordingProfile : CMemoryProfile {
    bool WriteProfileInt(std::string_view section, std::string_view entry, int value) override {
        writes.emplace_back(entry);
        return CMemoryProfile::WriteProfileInt(section, entry, value);
    }
    std::vector<std::string> writes;
};

struct ScriptedDialogs : CFileDialogs {
    std::optional<std::filesystem::path> AskOpenPath(QWidget*) override {
        ++openAsked;
        return openAnswer;
    }
    std::optional<std::filesystem::path> AskSavePath(QWidget*, const std::filesystem::path& proposed) override {
        proposedPaths.push_back(proposed);
        return saveAnswer;
    }
    std::optional<std::filesystem::path> AskSoundFontPath(QWidget*, const std::filesystem::path& current) override {
        soundFontsProposed.push_back(current);
        return soundFontAnswer;
    }
    std::optional<std::filesystem::path> openAnswer, saveAnswer, soundFontAnswer;
    std::vector<std::filesystem::path> soundFontsProposed;
    int openAsked = 0;
    std::vector<std::filesystem::path> proposedPaths;
};

class FrameFixture : public testing::Test {
protected:
    FrameFixture() {
        QtTestApp();
        // Styles keep their names unless a test ticks "Set filename = title".
        profile.WriteProfileInt(kSettingsSection, "AdaptFilename", 0);
        profile.WriteProfileInt(kSettingsSection, "FormatFilename", 0);
        SetAppProfile(&profile);
        SetAppFileDialogs(&dialogs);
        SetRecentFileSink([this](const std::filesystem::path& path) {
            recent.Add(path);
            frame->SetRecentFileList(&recent);
        });
        NewFrame();
        for (const char* name : {"Pop", "Rock"}) dir.Write(std::string(name) + ".sty", Style(name));
    }
    ~FrameFixture() override {
        frame.reset();
        SetRecentFileSink(nullptr);
        SetAppFileDialogs(nullptr);
        SetAppProfile(nullptr);
    }

    void NewFrame() {
        frame.reset();
        frame = std::make_unique<CMainFrame>();
        frame->SetRecentFileList(&recent);
    }
    void Show() {
        frame->show();
        QApplication::setActiveWindow(frame.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(frame.get()));
    }
    QLineEdit* Title() const { return static_cast<QLineEdit*>(frame->ActiveStyleDialog()->Control(form_id::kTitle)); }
    void EditTitle(const char* title) const { Title()->setText(title); }
    void ExpectOneBox(const std::string& text) const {
        ASSERT_EQ(presenter.boxes.size(), 1u) << text;
        EXPECT_EQ(presenter.boxes[0].text, text);
    }

    RecordingProfile profile;
    FakePresenter presenter;
    ScriptedDialogs dialogs;
    TempDir dir;
    CRecentFileList recent{profile};
    std::unique_ptr<CMainFrame> frame;
};
