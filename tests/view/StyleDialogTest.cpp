// SPDX-License-Identifier: GPL-3.0-or-later
#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QToolButton>
#include <functional>
#include <set>

#include "FormFixture.h"
#include "framework/AppTitle.h"
#include "msg/MessageBoxStyle.h"
#include "view/UpDown.h"

namespace id = form_id;
using namespace option_id;

TEST_F(FormTest, TheStyleShowsInTheForm) {
    Open(StyleFile(PopEvents("Caf\xE9 \x80")), false);
    const std::pair<int, QString> shown[] = {{id::kTitle, QString::fromUtf8("Café €")},
                                             {id::kTempo, "120"},
                                             {id::kNumerator, "4"},
                                             {id::kDenominator, "4"},
                                             {id::kFirstChannelVolume + 9, "100"},
                                             {id::kFirstChannelVolume + 2, "50"},
                                             {id::kFirstChannelLabel + 9, "Rhy2:"},
                                             {id::kFirstChannelLabel + 2, "(3):"},
                                             {id::kFirstChannelLabel, ""}};
    for (const auto& [field, text] : shown) EXPECT_EQ(Text(field), text) << field;
    EXPECT_TRUE(Box(id::Section(0))->isChecked());
    EXPECT_FALSE(Box(id::Section(1))->isChecked());
    EXPECT_FALSE(doc->IsModified());
}

// A style without tempo, time signature or most volumes hides those fields; their
// values stay absent through every edit and the save, and the file keeps its events.
TEST_F(FormTest, ValuesTheStyleLacksStayHiddenAndUntouched) {
    Open(StyleFile(BasicEvents("Pop") + VolumeEvent(2, 50) + MarkerEvent("Main A") + EndOfTrack()));
    for (const int field :
         {id::kTempo, id::kTempoSpin, id::kNumerator, id::kNumeratorSpin, id::kDenominator, id::kDenominatorSpin}) {
        EXPECT_TRUE(form->Control(field)->isHidden()) << field;
    }
    for (int channel = 0; channel < kChannelCount; ++channel) EXPECT_EQ(Volume(channel)->isHidden(), channel != 2);

    Retype(Edit(id::kTitle), "Pop Two");
    Slider()->setValue(200);
    Click(id::kAllChannels);
    Retype(Volume(2), "77");
    EXPECT_TRUE(presenter.boxes.empty());
    EXPECT_EQ(std::tuple(doc->m_nTempo, doc->m_nTimeSigNumerator, doc->m_nTimeSigDenominator, doc->m_nVolume[0]),
              std::tuple(-1, 0, 0, -1));
    EXPECT_EQ(doc->m_nVolume[2], 77);

    Click(id::kSave);
    EXPECT_TRUE(closed);
    EXPECT_EQ(ReadFileBytes(path).data,
              StyleFile(BasicEvents("Pop Two") + VolumeEvent(2, 77) + MarkerEvent("Main A") + EndOfTrack()).data);
}

// All channels swaps the enabled slider and channel fields; the slider always scales
// the volumes as found, whatever the fields showed.
TEST_F(FormTest, AllChannelsSwapsSliderAndFieldsAndTheSliderScalesVolumesAsFound) {
    Open(StyleFile(BasicEvents() + VolumeEvent(0, 100) + VolumeEvent(1, 50) + VolumeEvent(2, 127) + EndOfTrack()));
    const auto expectSliderServes = [this](bool slider) {
        EXPECT_EQ(doc->m_bAllChannels, slider);
        EXPECT_EQ(Slider()->isEnabled(), slider);
        for (int channel = 0; channel < kChannelCount; ++channel) {
            EXPECT_EQ(Volume(channel)->isEnabled(), !slider) << channel;
            EXPECT_EQ(form->Control(id::kFirstChannelSpin + channel)->isEnabled(), !slider) << channel;
        }
    };
    expectSliderServes(true);
    Click(id::kAllChannels);
    expectSliderServes(false);
    Retype(Volume(0), "10");  // a hand edit, which the slider replaces
    Click(id::kAllChannels);
    expectSliderServes(true);

    const std::pair<int, std::array<int, 3>> cases[] = {
        {200, {127, 100, 127}}, {0, {0, 0, 0}}, {100, {100, 50, 127}}, {150, {127, 75, 127}}};
    for (const auto& [percent, volumes] : cases) {
        Slider()->setValue(percent);
        for (int channel = 0; channel < 3; ++channel) {
            EXPECT_EQ(doc->m_nVolume[channel], volumes[channel]) << percent << " channel " << channel;
            EXPECT_EQ(Volume(channel)->text(), QString::number(volumes[channel])) << percent;
        }
        EXPECT_EQ(doc->m_nVolume[3], -1);
        EXPECT_EQ(doc->m_nAllChannelsPercent, percent);
    }
}

TEST_F(FormTest, CounterFollowsEveryKeystroke) {
    Open();
    const auto counter = [this] { return Text(id::kTitleLength); };
    EXPECT_EQ(counter(), "[3]");
    QTest::keyClick(Edit(id::kTitle), Qt::Key_S);
    EXPECT_EQ(counter(), "[4]");
    Retype(Edit(id::kTitle), "");
    EXPECT_EQ(counter(), "[0]");
    Type(Edit(id::kTitle), QString::fromUtf8("Süß"));
    EXPECT_EQ(counter(), "[3]");
    EXPECT_EQ(doc->m_strStyleTitle, "S\xFC\xDF");
}

// Each change marks the document modified; undoing it by hand does not clear it.
TEST_F(FormTest, ChangesMarkTheDocumentModified) {
    const auto title = [this](Qt::Key key) { QTest::keyClick(Edit(id::kTitle), key); };
    const std::tuple<const char*, std::function<void()>, std::function<void()>> changes[] = {
        {"option ticked and unticked", [this] { Click(kDeleteOldFile); }, [this] { Click(kDeleteOldFile); }},
        {"character typed and deleted", [&] { title(Qt::Key_X); }, [&] { title(Qt::Key_Backspace); }},
        {"slider moved and back", [this] { Slider()->setValue(150); }, [this] { Slider()->setValue(100); }},
        {"tempo arrow up", [this] { static_cast<CUpDown*>(form->Control(id::kTempoSpin))->Step(1); }, [] {}},
    };
    for (const auto& [name, change, undo] : changes) {
        Open();
        EXPECT_FALSE(doc->IsModified()) << name;
        change();
        undo();
        EXPECT_TRUE(doc->IsModified()) << name;
    }
}

// A bad value shows its message with the program's title, selects the field's text,
// and nothing reaches the document. A change elsewhere waits too and the save refuses;
// once the field is put right, the changes made meanwhile arrive with the fix.
TEST_F(FormTest, BadValuesAreRefusedAndNothingReachesTheDocument) {
    const std::tuple<int, const char*, std::string, const char*> cases[] = {
        // field, typed, message, fix
        {id::kTempo, "", "Geben Sie bitte eine ganze Zahl ein.", "90"},
        {id::kTempo, "300", "Geben Sie bitte eine ganze Zahl zwischen 0 und 250 ein.", "90"},
        {id::kNumerator, "0", "Geben Sie bitte eine ganze Zahl zwischen 1 und 128 ein.", "3"},
        {id::kDenominator, "129", "Geben Sie bitte eine ganze Zahl zwischen 1 und 128 ein.", "8"},
        {id::kFirstChannelVolume + 9, "128", "Geben Sie bitte eine ganze Zahl zwischen 0 und 127 ein.", "64"},
        {id::kFirstChannelVolume + 2, "99999", "Geben Sie bitte eine ganze Zahl ein.", "64"},
    };
    for (const auto& [field, typed, message, fix] : cases) {
        profile.WriteProfileInt(kSettingsSection, "AllChannels", 0);
        Open();
        Edit(field)->setText(typed);  // one change, as a paste makes it
        ExpectOneBox(message);
        EXPECT_EQ(presenter.boxes[0].caption, std::string(kAppTitle));
        EXPECT_EQ(presenter.boxes[0].style, msgbox::IconWarning | msgbox::Ok);
        EXPECT_EQ(QApplication::focusWidget(), Edit(field)) << typed;
        EXPECT_EQ(Edit(field)->selectedText(), Edit(field)->text());

        presenter.boxes.clear();
        Edit(id::kTitle)->end(false);
        QTest::keyClick(Edit(id::kTitle), Qt::Key_X);
        Click(id::kSave);
        EXPECT_EQ(presenter.boxes.size(), 2u);
        EXPECT_FALSE(doc->IsModified()) << typed;
        EXPECT_EQ(std::tuple(doc->m_strStyleTitle, doc->m_nTempo, doc->m_nTimeSigNumerator, doc->m_nTimeSigDenominator,
                             doc->m_nVolume[9], doc->m_nVolume[2]),
                  std::tuple(std::string("Pop"), 120, 4, 4, 100, 50))
            << typed;
        EXPECT_FALSE(closed);
        EXPECT_EQ(ReadFileBytes(path).data, StyleFile(PopEvents()).data);

        Click(kDeleteOldFile);
        EXPECT_FALSE(Box(kDeleteOldFile)->isChecked());  // shows what the document holds
        Retype(Edit(field), fix);
        EXPECT_EQ(doc->m_strStyleTitle, "Popx") << typed;
    }
}

TEST_F(FormTest, TitleRefusesCharactersAStyleFileCannotHold) {
    Open();
    Edit(id::kTitle)->end(false);
    Type(Edit(id::kTitle), QString::fromUtf8(" €ā"));
    ASSERT_EQ(presenter.boxes.size(), 1u);
    EXPECT_NE(presenter.boxes[0].text.find("U+0101"), std::string::npos);
    EXPECT_EQ(Edit(id::kTitle)->selectedText(), QString::fromUtf8("ā"));
    EXPECT_EQ(doc->m_strStyleTitle, "Pop \x80");
}

TEST_F(FormTest, OptionBoxesFollowTheStyleContent) {
    const std::pair<std::array<bool, 5>, std::set<int>> cases[] = {
        // Cntt, OTS, OTS file, CASM, CASM file; which of the seven boxes are enabled
        {{false, false, false, false, false}, {}},
        {{true, true, false, true, false}, {kDeleteAllCntt, kDeleteOTS, kExportOTS, kDeleteCASM, kExportCASM}},
        {{false, false, true, false, true}, {kImportOTS, kImportCASM}},
        {{false, true, true, true, true}, {kDeleteOTS, kExportOTS, kDeleteCASM, kExportCASM}},
    };
    for (const auto& [has, enabled] : cases) {
        CKorvaneDoc flags;
        flags.m_bHasCntt = has[0];
        flags.m_bHasOTS = has[1];
        flags.m_bOTSFileExists = has[2];
        flags.m_bHasCASM = has[3];
        flags.m_bCASMFileExists = has[4];
        for (const int box :
             {kDeleteAllCntt, kDeleteOTS, kExportOTS, kImportOTS, kDeleteCASM, kExportCASM, kImportCASM}) {
            EXPECT_EQ(IsOptionEnabled(flags, box), enabled.count(box) == 1) << box;
        }
    }
    Open(StyleFile(PopEvents(), Casm(Cseg(Sdec() + Ctab(9, 8) + Cntt()))), false);
    EXPECT_TRUE(Box(kDeleteAllCntt)->isEnabled() && Box(kDeleteCASM)->isEnabled());
    EXPECT_FALSE(Box(kImportCASM)->isEnabled() || Box(kDeleteOTS)->isEnabled());
}

// A save the document refuses keeps the window with the user's values.
TEST_F(FormTest, RefusedSavesKeepTheWindow) {
    const std::tuple<int, QString, std::string> cases[] = {{id::kTitle, "", "File title may not be empty!"},
                                                           {id::kTempo, "3", TempoDoesNotFitText(3)}};
    for (const auto& [field, text, message] : cases) {
        Open();
        Edit(field)->setText(text);
        Click(id::kSave);
        ExpectOneBox(message);
        EXPECT_FALSE(closed);
        EXPECT_EQ(Edit(field)->text(), text);
        EXPECT_EQ(ReadFileBytes(path).data, StyleFile(PopEvents()).data);
    }
}

// Cancel asks only about a changed style; its answer decides what the file holds.
TEST_F(FormTest, CancelAsksAboutUnsavedChanges) {
    const std::tuple<bool, int, bool, std::string> cases[] = {// changed, answer, closes, title in the file afterwards
                                                              {true, msgbox::IdCancel, false, "Pop"},
                                                              {true, msgbox::IdNo, true, "Pop"},
                                                              {true, msgbox::IdYes, true, "Popx"},
                                                              {false, msgbox::IdYes, true, "Pop"}};
    for (const auto& [changed, answer, closes, title] : cases) {
        Open();
        Edit(id::kTitle)->end(false);
        if (changed) QTest::keyClick(Edit(id::kTitle), Qt::Key_X);
        presenter.answer = answer;
        Click(id::kCancel);
        if (changed) {
            ExpectOneBox("\xC4nderungen in Pop.sty speichern?");
            EXPECT_EQ(presenter.boxes[0].caption, std::string(kAppTitle));
            EXPECT_EQ(presenter.boxes[0].style, msgbox::YesNoCancel | msgbox::IconQuestion);
        } else {
            EXPECT_TRUE(presenter.boxes.empty());
        }
        EXPECT_EQ(closed, closes) << answer;
        CKorvaneDoc saved;
        ASSERT_TRUE(saved.OnOpenDocument(path));
        EXPECT_EQ(saved.m_strStyleTitle, title);
    }
}

// Title, tempo and two volumes edited through the widgets and saved: the file holds
// exactly the edited events.
TEST_F(FormTest, EditAndSaveWritesTheExpectedBytes) {
    const Bytes afterTrack = Casm(Cseg(Sdec() + Ctab(9, 8))) + Ots();
    Open(StyleFile(PopEvents(), afterTrack));
    Retype(Edit(id::kTitle), "Latin Pop");
    Retype(Edit(id::kTempo), "96");
    Click(id::kAllChannels);
    Retype(Volume(9), "90");
    Retype(Volume(2), "64");
    Click(id::kSave);
    EXPECT_TRUE(presenter.boxes.empty());
    EXPECT_TRUE(closed);
    EXPECT_EQ(ReadFileBytes(path).data,
              StyleFile(TitleEvent("Latin Pop") + Sff1Marker() + TempoEvent(625000) + TimeSignatureEvent(4, 2) +
                            VolumeEvent(9, 90) + VolumeEvent(2, 64) + MarkerEvent("Main A") + EndOfTrack(),
                        afterTrack)
                  .data);
}

TEST_F(FormTest, ControlsFollowTheTemplate) {
    Open();
    std::vector<QWidget*> reachable;  // by Tab, in template order
    for (const FormControl& control : StyleFormTemplate()) {
        if (control.id == id::kNone) continue;
        QWidget* widget = form->Control(control.id);
        // A label the form writes is named by what it shows; every other control by its own name.
        if (control.kind == ControlKind::Label) {
            EXPECT_EQ(widget->accessibleName(), static_cast<QLabel*>(widget)->text()) << control.id;
        } else {
            EXPECT_FALSE(widget->accessibleName().isEmpty()) << control.id;
        }
        EXPECT_TRUE(form->rect().contains(widget->geometry())) << control.id;
        EXPECT_TRUE(control.kind != ControlKind::UpDown || widget->focusPolicy() == Qt::NoFocus) << control.id;
        EXPECT_TRUE(control.kind != ControlKind::SectionBox || !widget->isEnabled()) << control.id;
        const auto* box = qobject_cast<QCheckBox*>(widget);
        EXPECT_TRUE(!box || box->width() >= box->sizeHint().width()) << control.id;  // its text fits
        if ((widget->focusPolicy() & Qt::TabFocus) && widget->isVisibleTo(form.get()) && widget->isEnabled()) {
            reachable.push_back(widget);
        }
    }
    EXPECT_EQ(Volume(15)->accessibleName(), "Channel 16 volume");
    EXPECT_EQ(Slider()->accessibleName(), "All channels percentage");
    EXPECT_EQ(form->Control(id::Section(9))->accessibleName(), "Ending 3");
    EXPECT_EQ(Box(id::kAllChannels)->text(), "All channels: 0%");
    reachable.front()->setFocus();
    for (QWidget* expected : reachable) {
        EXPECT_EQ(QApplication::focusWidget(), expected) << expected->objectName().toStdString();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
}

TEST_F(FormTest, ArrowsStepWithinTheRange) {
    Open();
    auto* arrows = static_cast<CUpDown*>(form->Control(id::kTempoSpin));
    QTest::mouseClick(arrows->UpArrow(), Qt::LeftButton);
    EXPECT_EQ(doc->m_nTempo, 121);
    QTest::keyClick(Edit(id::kTempo), Qt::Key_Down);
    QTest::keyClick(Edit(id::kTempo), Qt::Key_Down);
    EXPECT_EQ(doc->m_nTempo, 119);
    Edit(id::kTempo)->setText("1234");  // refused, then stepped back into the range
    arrows->Step(1);
    EXPECT_EQ(Edit(id::kTempo)->text(), "250");
    EXPECT_EQ(doc->m_nTempo, 250);
}

// The field may hold any number an int can; a step from either end must not wrap.
TEST_F(FormTest, ArrowsStepFromTheEndsOfAnIntWithoutOverflow) {
    Open();
    auto* arrows = static_cast<CUpDown*>(form->Control(id::kTempoSpin));
    const std::tuple<const char*, int, const char*> cases[] = {
        {"2147483647", +1, "250"},
        {"-2147483648", -1, "0"},
    };
    for (const auto& [held, delta, stepped] : cases) {
        Edit(id::kTempo)->setText(held);
        arrows->Step(delta);
        EXPECT_EQ(Edit(id::kTempo)->text(), stepped) << held;
    }
}

// A screen reader ticks a box through its accessibility action, which toggles it
// without a click: each way must reach the enable rule and the document alike.
TEST_F(FormTest, OptionBoxesReactAlikeToAClickAKeyAndAnAccessibilityAction) {
    const auto accessibilityToggle = [](QCheckBox* box) {
        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(box);
        ASSERT_TRUE(accessible && accessible->actionInterface());
        accessible->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
    };
    const std::pair<const char*, std::function<void(QCheckBox*)>> ways[] = {
        {"mouse", [](QCheckBox* box) { QTest::mouseClick(box, Qt::LeftButton); }},
        {"key", [](QCheckBox* box) { QTest::keyClick(box, Qt::Key_Space); }},
        {"accessibility", accessibilityToggle},
    };
    for (const auto& [way, toggle] : ways) {
        Open();
        toggle(Box(id::kAllChannels));
        EXPECT_FALSE(doc->m_bAllChannels) << way;
        EXPECT_FALSE(Slider()->isEnabled()) << way;
        EXPECT_TRUE(Volume(9)->isEnabled()) << way;
        EXPECT_TRUE(doc->IsModified()) << way;
        toggle(Box(kDeleteOldFile));
        EXPECT_TRUE(doc->m_bDeleteOldFile) << way;

        // A bad field refuses the change: the box springs back, with one message.
        Edit(id::kTempo)->setText("300");
        presenter.boxes.clear();
        toggle(Box(kDeleteOldFile));
        EXPECT_EQ(presenter.boxes.size(), 1u) << way;
        EXPECT_TRUE(Box(kDeleteOldFile)->isChecked()) << way;
        EXPECT_TRUE(doc->m_bDeleteOldFile) << way;
    }
}

// What a screen reader reads is what the form shows: a channel label reads its part
// and labels the volume field beside it, a channel the style lacks has no label to
// read, the title length counter reads its number, the arrows read the field they step.
TEST_F(FormTest, AccessibleNamesSayWhatTheControlsShow) {
    Open();
    const auto accessible = [this](int id) { return QAccessible::queryAccessibleInterface(form->Control(id)); };
    const auto name = [&accessible](int id) { return accessible(id)->text(QAccessible::Name); };
    EXPECT_EQ(name(id::kFirstChannelLabel + 9), "Rhy2:");
    EXPECT_EQ(name(id::kFirstChannelLabel + 2), "(3):");
    EXPECT_EQ(name(id::kFirstChannelLabel), "");
    for (const int channel : {0, 15}) {
        EXPECT_TRUE(accessible(id::kFirstChannelLabel + channel)->state().invisible) << channel;
    }
    for (const auto& [channel, label] : {std::pair{9, "Rhy2:"}, {2, "(3):"}}) {
        EXPECT_EQ(name(id::kFirstChannelVolume + channel), QString("Channel %1 volume").arg(channel + 1));
        const auto labelledBy = accessible(id::kFirstChannelVolume + channel)->relations(QAccessible::Label);
        ASSERT_EQ(labelledBy.size(), 1) << channel;
        EXPECT_EQ(labelledBy[0].first->text(QAccessible::Name), label);
    }
    EXPECT_EQ(name(id::kTitleLength), "Title length: 3");
    Retype(Edit(id::kTitle), "Pop Ballad");
    EXPECT_EQ(name(id::kTitleLength), "Title length: 10");
    EXPECT_EQ(name(id::kTempo), "Tempo");
    const std::tuple<int, QString, QString> arrows[] = {
        {id::kTempoSpin, "Tempo up", "Tempo down"},
        {id::kDenominatorSpin, "Measure denominator up", "Measure denominator down"},
        {id::kFirstChannelSpin + 8, "Channel 9 volume up", "Channel 9 volume down"},
    };
    for (const auto& [spin, up, down] : arrows) {
        const auto* upDown = static_cast<CUpDown*>(form->Control(spin));
        EXPECT_EQ(upDown->UpArrow()->accessibleName(), up);
        EXPECT_EQ(upDown->DownArrow()->accessibleName(), down);
    }
}

// "All channels: 0%" keeps its text, so the slider shows its percentage itself, and
// the box tells a screen reader where the slider stands.
TEST_F(FormTest, TheSliderShowsItsPercentage) {
    Open();
    const auto boxDescription = [this] {
        return QAccessible::queryAccessibleInterface(Box(id::kAllChannels))->text(QAccessible::Description);
    };
    EXPECT_EQ(Slider()->toolTip(), "100%");
    EXPECT_EQ(boxDescription(), "Set to 100% of the volumes as found");
    Slider()->setFocus();
    QTest::keyClick(Slider(), Qt::Key_PageUp);
    EXPECT_EQ(Slider()->toolTip(), "140%");
    EXPECT_EQ(boxDescription(), "Set to 140% of the volumes as found");
    EXPECT_EQ(QAccessible::queryAccessibleInterface(Slider())->valueInterface()->currentValue().toInt(), 140);
    EXPECT_EQ(doc->m_nAllChannelsPercent, 140);
}

TEST_F(FormTest, LongTextsAreShownFromTheirStart) {
    Open(StyleFile(TitleEvent("SmoothItOver (PJ Drongowski) XX") + Sff1Marker() +
                   CopyrightEvent("(c) a copyright far longer than its field") + EndOfTrack()));
    for (const int field : {id::kTitle, id::kCopyright}) {
        EXPECT_EQ(Edit(field)->cursorPosition(), 0) << field;
        EXPECT_TRUE(Edit(field)->selectedText().isEmpty()) << field;
    }
}
