// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QSlider>
#include <QTest>
#include <memory>

#include "FakePresenter.h"
#include "QtTestApp.h"
#include "StyleBytes.h"
#include "TempDir.h"
#include "document/KorvaneDoc.h"
#include "framework/Profile.h"
#include "view/FormRules.h"
#include "view/FormTemplate.h"
#include "view/StyleDialog.h"

// A style with a tempo of 120, 4/4, volumes 100 on channel 10 and 50 on channel 3,
// titled "Pop".
inline Bytes PopEvents(std::string_view title = "Pop") {
    return TitleEvent(title) + Sff1Marker() + TempoEvent(500000) + TimeSignatureEvent(4, 2) + VolumeEvent(9, 100) +
           VolumeEvent(2, 50) + MarkerEvent("Main A") + EndOfTrack();
}

// One style opened into a form, with settings in memory (the file keeps its name on
// a save) and every message box recorded.
class FormTest : public testing::Test {
public:
    FormTest() {
        QtTestApp();
        profile.WriteProfileInt(kSettingsSection, "AdaptFilename", 0);
        profile.WriteProfileInt(kSettingsSection, "FormatFilename", 0);
        SetAppProfile(&profile);
    }
    ~FormTest() override { SetAppProfile(nullptr); }

    StyleDialog& Open(const Bytes& style = StyleFile(PopEvents()), bool show = true) {
        form.reset();
        doc.reset();
        presenter.boxes.clear();
        closed = false;
        path = dir.Write("Pop.sty", style);
        doc = std::make_unique<CKorvaneDoc>();
        EXPECT_TRUE(doc->OnOpenDocument(path));
        doc->SetPathName(path);
        form = std::make_unique<StyleDialog>(*doc);
        form->SetCloseWindow([this] { closed = true; });
        form->OnInitialUpdate();
        if (show) {
            form->show();
            QApplication::setActiveWindow(form.get());
            EXPECT_TRUE(QTest::qWaitForWindowActive(form.get()));
        }
        return *form;
    }

    // The text a field or label shows.
    QString Text(int id) const {
        const auto* label = qobject_cast<QLabel*>(form->Control(id));
        return label ? label->text() : Edit(id)->text();
    }
    QLineEdit* Edit(int id) const { return static_cast<QLineEdit*>(form->Control(id)); }
    QCheckBox* Box(int id) const { return static_cast<QCheckBox*>(form->Control(id)); }
    QSlider* Slider() const { return static_cast<QSlider*>(form->Control(form_id::kSlider)); }
    QLineEdit* Volume(int channel) const { return Edit(form_id::kFirstChannelVolume + channel); }
    void Click(int id) const { QTest::mouseClick(static_cast<QAbstractButton*>(form->Control(id)), Qt::LeftButton); }

    // The one box shown since the last Open.
    void ExpectOneBox(const std::string& text) const {
        ASSERT_EQ(presenter.boxes.size(), 1u) << text;
        EXPECT_EQ(presenter.boxes[0].text, text);
    }

    // Types text key by key, any character, as a keyboard with that key would.
    static void Type(QWidget* widget, const QString& text) {
        for (const QChar c : text) {
            QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
            QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(c));
            QApplication::sendEvent(widget, &press);
            QApplication::sendEvent(widget, &release);
        }
    }

    // Replaces a field's text as a user would: select all, then type.
    static void Retype(QLineEdit* edit, const QString& text) {
        edit->selectAll();
        if (text.isEmpty()) {
            QTest::keyClick(edit, Qt::Key_Backspace);
        } else {
            Type(edit, text);
        }
    }

    CMemoryProfile profile;
    FakePresenter presenter;
    TempDir dir;
    std::filesystem::path path;
    std::unique_ptr<CKorvaneDoc> doc;
    std::unique_ptr<StyleDialog> form;
    bool closed = false;
};
