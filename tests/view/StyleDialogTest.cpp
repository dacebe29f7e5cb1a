#include <QLabel>
#include <QPushButton>
#include <QToolButton>
#include <set>

#include "FormFixture.h"
#include "framework/AppTitle.h"
#include "msg/MessageBoxStyle.h"
#include "view/UpDown.h"

namespace id = form_id;

namespace {

std::vector<int> HiddenChannels(const StyleDialog& form) {
    std::vector<int> hidden;
    for (int channel = 0; channel < kChannelCount; ++channel) {
        if (form.Control(id::kFirstChannelVolume + channel)->isHidden()) hidden.push_back(channel);
    }
    return hidden;
}

}  // namespace

TEST_F(FormTest, TheStyleShowsInTheForm) {
    Open(StyleFile(PopEvents("Caf\xE9 \x80")));
    EXPECT_EQ(Edit(id::kTitle)->text(), QString::fromUtf8("Café €"));
    const std::vector<std::pair<int, QString>> texts = {{id::kTempo, "120"},
                                                        {id::kNumerator, "4"},
                                                        {id::kDenominator, "4"},
                                                        {id::kFirstChannelVolume + 9, "100"},
                                                        {id::kFirstChannelVolume + 2, "50"}};
    for (const auto& [field, text] : texts) EXPECT_EQ(Edit(field)->text(), text) << field;
    const auto label = [this](int channel) {
        return static_cast<QLabel*>(form->Control(id::kFirstChannelLabel + channel))->text();
    };
    EXPECT_EQ(label(9), "Rhy2:");
    EXPECT_EQ(label(2), "(3):");
    EXPECT_EQ(label(0), "");
    EXPECT_TRUE(Box(id::Section(0))->isChecked());
    EXPECT_FALSE(Box(id::Section(1))->isChecked());
    EXPECT_FALSE(doc->IsModified());
}

// A style without tempo, time signature or most volumes hides those fields; their
// values stay absent through every edit and the save, and the file keeps its events.
TEST_F(FormTest, ValuesTheStyleLacksStayHiddenAndUntouched) {
    const Bytes events = BasicEvents("Pop") + VolumeEvent(2, 50) + MarkerEvent("Main A") + EndOfTrack();
    Open(StyleFile(events), true);
    EXPECT_TRUE(Edit(id::kTempo)->isHidden());
    EXPECT_TRUE(form->Control(id::kTempoSpin)->isHidden());
    for (const int measure : {id::kNumerator, id::kNumeratorSpin, id::kDenominator, id::kDenominatorSpin}) {
        EXPECT_TRUE(form->Control(measure)->isHidden()) << measure;
    }
    std::vector<int> allButThird = {0, 1, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15};
    EXPECT_EQ(HiddenChannels(*form), allButThird);

    Retype(Edit(id::kTitle), "Pop Two");
    Slider()->setValue(200);
    QTest::mouseClick(Box(id::kAllChannels), Qt::LeftButton);
    Retype(Volume(2), "77");
    EXPECT_TRUE(presenter.boxes.empty());
    EXPECT_EQ(doc->m_nTempo, -1);
    EXPECT_EQ(doc->m_nTimeSigNumerator, 0);
    EXPECT_EQ(doc->m_nTimeSigDenominator, 0);
    EXPECT_EQ(doc->m_nVolume[0], -1);
    EXPECT_EQ(doc->m_nVolume[2], 77);

    QTest::mouseClick(static_cast<QPushButton*>(form->Control(id::kSave)), Qt::LeftButton);
    EXPECT_TRUE(closed);
    EXPECT_EQ(ReadFileBytes(path).data,
              StyleFile(BasicEvents("Pop Two") + VolumeEvent(2, 77) + MarkerEvent("Main A") + EndOfTrack()).data);
}

TEST_F(FormTest, AllChannelsSwapsSliderAndChannelFields) {
    Open(StyleFile(PopEvents()), true);
    const auto expectSliderServes = [this](bool slider) {
        EXPECT_EQ(Slider()->isEnabled(), slider);
        for (int channel = 0; channel < kChannelCount; ++channel) {
            EXPECT_EQ(Volume(channel)->isEnabled(), !slider) << channel;
            EXPECT_EQ(form->Control(id::kFirstChannelSpin + channel)->isEnabled(), !slider) << channel;
        }
    };
    expectSliderServes(true);
    QTest::mouseClick(Box(id::kAllChannels), Qt::LeftButton);
    expectSliderServes(false);
    EXPECT_FALSE(doc->m_bAllChannels);
    QTest::mouseClick(Box(id::kAllChannels), Qt::LeftButton);
    expectSliderServes(true);
    EXPECT_TRUE(doc->m_bAllChannels);
}

// The slider always scales the volumes as found, whatever the fields showed.
TEST_F(FormTest, SliderScalesTheVolumesAsFound) {
    const Bytes events = BasicEvents() + VolumeEvent(0, 100) + VolumeEvent(1, 50) + VolumeEvent(2, 127) + EndOfTrack();
    Open(StyleFile(events), true);
    // A hand edit first, then back to all channels: the slider replaces it.
    QTest::mouseClick(Box(id::kAllChannels), Qt::LeftButton);
    Retype(Volume(0), "10");
    QTest::mouseClick(Box(id::kAllChannels), Qt::LeftButton);

    struct Case {
        int percent;
        std::array<int, 3> volumes;
    };
    for (const Case& c :
         {Case{200, {127, 100, 127}}, Case{0, {0, 0, 0}}, Case{100, {100, 50, 127}}, Case{150, {127, 75, 127}}}) {
        Slider()->setValue(c.percent);
        for (int channel = 0; channel < 3; ++channel) {
            EXPECT_EQ(doc->m_nVolume[channel], c.volumes[channel]) << c.percent << " channel " << channel;
            EXPECT_EQ(Volume(channel)->text(), QString::number(c.volumes[channel])) << c.percent;
        }
        EXPECT_EQ(doc->m_nVolume[3], -1);
        EXPECT_EQ(doc->m_nAllChannelsPercent, c.percent);
    }
}

TEST_F(FormTest, CounterFollowsEveryKeystroke) {
    Open(StyleFile(PopEvents()));
    auto* counter = static_cast<QLabel*>(form->Control(id::kTitleLength));
    EXPECT_EQ(counter->text(), "[3]");
    QTest::keyClick(Edit(id::kTitle), Qt::Key_S);
    EXPECT_EQ(counter->text(), "[4]");
    Retype(Edit(id::kTitle), "");
    EXPECT_EQ(counter->text(), "[0]");
    Type(Edit(id::kTitle), QString::fromUtf8("Süß"));
    EXPECT_EQ(counter->text(), "[3]");
    EXPECT_EQ(doc->m_strStyleTitle, "S\xFC\xDF");
}

// Each change marks the document modified; undoing it by hand does not clear it.
TEST_F(FormTest, ChangesMarkTheDocumentModified) {
    struct Case {
        const char* name;
        std::function<void(FormTest&)> change;
        bool modified;
    };
    const Case cases[] = {
        {"nothing", [](FormTest&) {}, false},
        {"option ticked and unticked",
         [](FormTest& t) {
             QTest::mouseClick(t.Box(1007), Qt::LeftButton);
             QTest::mouseClick(t.Box(1007), Qt::LeftButton);
         },
         true},
        {"character typed and deleted",
         [](FormTest& t) {
             QTest::keyClick(t.Edit(id::kTitle), Qt::Key_X);
             QTest::keyClick(t.Edit(id::kTitle), Qt::Key_Backspace);
         },
         true},
        {"slider moved and back",
         [](FormTest& t) {
             t.Slider()->setValue(150);
             t.Slider()->setValue(100);
         },
         true},
        {"tempo arrow up", [](FormTest& t) { static_cast<CUpDown*>(t.form->Control(id::kTempoSpin))->Step(1); }, true},
    };
    for (const Case& c : cases) {
        Open(StyleFile(PopEvents()), true);
        c.change(*this);
        EXPECT_EQ(doc->IsModified(), c.modified) << c.name;
    }
}

// A bad value shows its message with the program's title, selects the field's text,
// and nothing reaches the document.
TEST_F(FormTest, BadValuesAreRefusedAndNothingReachesTheDocument) {
    struct Case {
        int field;
        const char* typed;
        std::string message;
    };
    const Case cases[] = {
        {id::kTempo, "", "Geben Sie bitte eine ganze Zahl ein."},
        {id::kTempo, "300", "Geben Sie bitte eine ganze Zahl zwischen 0 und 250 ein."},
        {id::kNumerator, "0", "Geben Sie bitte eine ganze Zahl zwischen 1 und 128 ein."},
        {id::kDenominator, "129", "Geben Sie bitte eine ganze Zahl zwischen 1 und 128 ein."},
        {id::kFirstChannelVolume + 9, "128", "Geben Sie bitte eine ganze Zahl zwischen 0 und 127 ein."},
        {id::kFirstChannelVolume + 2, "99999", "Geben Sie bitte eine ganze Zahl ein."},
    };
    for (const Case& c : cases) {
        profile.WriteProfileInt(kSettingsSection, "AllChannels", 0);
        Open(StyleFile(PopEvents()), true);
        presenter.boxes.clear();
        Edit(c.field)->setText(c.typed);  // one change, as a paste makes it
        ASSERT_EQ(presenter.boxes.size(), 1u) << c.typed;
        EXPECT_EQ(presenter.boxes[0].text, c.message);
        EXPECT_EQ(presenter.boxes[0].caption, std::string(kAppTitle));
        EXPECT_EQ(presenter.boxes[0].style, msgbox::IconWarning | msgbox::Ok);
        EXPECT_EQ(QApplication::focusWidget(), Edit(c.field)) << c.typed;
        EXPECT_EQ(Edit(c.field)->selectedText(), Edit(c.field)->text());
        EXPECT_FALSE(doc->IsModified()) << c.typed;
        EXPECT_EQ(doc->m_nTempo, 120);
        EXPECT_EQ(doc->m_nTimeSigNumerator, 4);
        EXPECT_EQ(doc->m_nTimeSigDenominator, 4);
        EXPECT_EQ(doc->m_nVolume[9], 100);
        EXPECT_EQ(doc->m_nVolume[2], 50);

        // A change elsewhere is checked with the whole form, so it waits too; the
        // save refuses as well.
        presenter.boxes.clear();
        QTest::keyClick(Edit(id::kTitle), Qt::Key_X);
        QTest::mouseClick(static_cast<QPushButton*>(form->Control(id::kSave)), Qt::LeftButton);
        EXPECT_EQ(presenter.boxes.size(), 2u);
        EXPECT_EQ(doc->m_strStyleTitle, "Pop");
        EXPECT_FALSE(closed);
        EXPECT_EQ(ReadFileBytes(path).data, StyleFile(PopEvents()).data);
    }
}

// Once a refused field is put right, the whole form reaches the document, including
// the changes made while it was wrong.
TEST_F(FormTest, ChangesMadeWhileAFieldWasWrongArriveWithTheFix) {
    Open(StyleFile(PopEvents()), true);
    Retype(Edit(id::kTempo), "");
    QTest::keyClick(Edit(id::kTitle), Qt::Key_X);
    QTest::mouseClick(Box(1007), Qt::LeftButton);
    EXPECT_FALSE(Box(1007)->isChecked());  // shows what the document holds
    Retype(Edit(id::kTempo), "90");
    EXPECT_EQ(doc->m_strStyleTitle, "Popx");
    EXPECT_EQ(doc->m_nTempo, 90);
}

TEST_F(FormTest, TitleRefusesCharactersAStyleFileCannotHold) {
    Open(StyleFile(PopEvents()), true);
    Type(Edit(id::kTitle), QString::fromUtf8(" €ā"));
    ASSERT_EQ(presenter.boxes.size(), 1u);
    EXPECT_NE(presenter.boxes[0].text.find("U+0101"), std::string::npos);
    EXPECT_EQ(Edit(id::kTitle)->selectedText(), QString::fromUtf8("ā"));
    EXPECT_EQ(doc->m_strStyleTitle, "Pop \x80");
}

TEST_F(FormTest, OptionBoxesFollowTheStyleContent) {
    struct Case {
        bool hasCntt, hasOts, otsFile, hasCasm, casmFile;
        std::set<int> enabled;  // of 1076, 1061, 1077, 1078, 1079, 1080, 1081
    };
    const Case cases[] = {
        {false, false, false, false, false, {}},
        {true, true, false, true, false, {1076, 1061, 1077, 1079, 1080}},
        {false, false, true, false, true, {1078, 1081}},
        {false, true, true, true, true, {1061, 1077, 1079, 1080}},
    };
    for (const Case& c : cases) {
        CKorvaneDoc flags;
        flags.m_bHasCntt = c.hasCntt;
        flags.m_bHasOTS = c.hasOts;
        flags.m_bOTSFileExists = c.otsFile;
        flags.m_bHasCASM = c.hasCasm;
        flags.m_bCASMFileExists = c.casmFile;
        for (const int box : {1076, 1061, 1077, 1078, 1079, 1080, 1081}) {
            EXPECT_EQ(IsOptionEnabled(flags, box), c.enabled.count(box) == 1) << box;
        }
    }
    Open(StyleFile(PopEvents(), Casm(Cseg(Sdec() + Ctab(9, 8) + Cntt()))));
    EXPECT_TRUE(Box(1076)->isEnabled() && Box(1079)->isEnabled());
    EXPECT_FALSE(Box(1081)->isEnabled() || Box(1061)->isEnabled());
}

// A save the document refuses keeps the window with the user's values.
TEST_F(FormTest, RefusedSavesKeepTheWindow) {
    const std::vector<std::pair<int, QString>> cases = {{id::kTitle, ""}, {id::kTempo, "3"}};
    for (const auto& [field, text] : cases) {
        Open(StyleFile(PopEvents()), true);
        presenter.boxes.clear();
        Edit(field)->setText(text);
        QTest::mouseClick(static_cast<QPushButton*>(form->Control(id::kSave)), Qt::LeftButton);
        ASSERT_EQ(presenter.boxes.size(), 1u);
        EXPECT_EQ(presenter.boxes[0].text,
                  field == id::kTitle ? "File title may not be empty!" : TempoDoesNotFitText(3));
        EXPECT_FALSE(closed);
        EXPECT_EQ(Edit(field)->text(), text);
        EXPECT_EQ(ReadFileBytes(path).data, StyleFile(PopEvents()).data);
    }
}

TEST_F(FormTest, CancelAsksAboutUnsavedChanges) {
    struct Case {
        int answer;
        bool closes;
        std::string title;  // in the file afterwards
    };
    for (const Case& c :
         {Case{msgbox::IdCancel, false, "Pop"}, Case{msgbox::IdNo, true, "Pop"}, Case{msgbox::IdYes, true, "Popx"}}) {
        closed = false;
        Open(StyleFile(PopEvents()), true);
        QTest::keyClick(Edit(id::kTitle), Qt::Key_X);
        presenter.answer = c.answer;
        presenter.boxes.clear();
        QTest::mouseClick(static_cast<QPushButton*>(form->Control(id::kCancel)), Qt::LeftButton);
        ASSERT_EQ(presenter.boxes.size(), 1u);
        EXPECT_EQ(presenter.boxes[0].text, "\xC4nderungen in Pop.sty speichern?");
        EXPECT_EQ(presenter.boxes[0].caption, std::string(kAppTitle));
        EXPECT_EQ(presenter.boxes[0].style, msgbox::YesNoCancel | msgbox::IconQuestion);
        EXPECT_EQ(closed, c.closes) << c.answer;
        CKorvaneDoc saved;
        ASSERT_TRUE(saved.OnOpenDocument(path));
        EXPECT_EQ(saved.m_strStyleTitle, c.title);
    }
    // Unchanged: no question.
    closed = false;
    Open(StyleFile(PopEvents()), true);
    presenter.boxes.clear();
    QTest::mouseClick(static_cast<QPushButton*>(form->Control(id::kCancel)), Qt::LeftButton);
    EXPECT_TRUE(presenter.boxes.empty());
    EXPECT_TRUE(closed);
}

// Title, tempo and two volumes edited through the widgets and saved: the file holds
// exactly the edited events.
TEST_F(FormTest, EditAndSaveWritesTheExpectedBytes) {
    Open(StyleFile(PopEvents(), Casm(Cseg(Sdec() + Ctab(9, 8))) + Ots()), true);
    Retype(Edit(id::kTitle), "Latin Pop");
    Retype(Edit(id::kTempo), "96");
    QTest::mouseClick(Box(id::kAllChannels), Qt::LeftButton);
    Retype(Volume(9), "90");
    Retype(Volume(2), "64");
    QTest::mouseClick(static_cast<QPushButton*>(form->Control(id::kSave)), Qt::LeftButton);
    EXPECT_TRUE(presenter.boxes.empty());
    EXPECT_TRUE(closed);

    const Bytes expected =
        StyleFile(TitleEvent("Latin Pop") + Sff1Marker() + TempoEvent(625000) + TimeSignatureEvent(4, 2) +
                      VolumeEvent(9, 90) + VolumeEvent(2, 64) + MarkerEvent("Main A") + EndOfTrack(),
                  Casm(Cseg(Sdec() + Ctab(9, 8))) + Ots());
    EXPECT_EQ(ReadFileBytes(path).data, expected.data);
}

TEST_F(FormTest, ControlsFollowTheTemplate) {
    Open(StyleFile(PopEvents()), true);
    std::vector<QWidget*> reachable;  // by Tab, in template order
    for (const FormControl& control : StyleFormTemplate()) {
        if (control.id == id::kNone) continue;
        QWidget* widget = form->Control(control.id);
        EXPECT_FALSE(widget->accessibleName().isEmpty()) << control.id;
        EXPECT_TRUE(control.kind != ControlKind::UpDown || widget->focusPolicy() == Qt::NoFocus) << control.id;
        EXPECT_TRUE(control.kind != ControlKind::SectionBox || !widget->isEnabled()) << control.id;
        const auto* box = qobject_cast<QCheckBox*>(widget);
        EXPECT_TRUE(!box || box->width() >= box->sizeHint().width()) << control.id;  // its text fits
        if ((widget->focusPolicy() & Qt::TabFocus) && widget->isVisibleTo(form.get()) && widget->isEnabled()) {
            reachable.push_back(widget);
        }
    }
    EXPECT_EQ(form->Control(id::kFirstChannelVolume + 15)->accessibleName(), "Channel 16 volume");
    EXPECT_EQ(form->Control(id::kSlider)->accessibleName(), "All channels percentage");
    EXPECT_EQ(form->Control(id::Section(9))->accessibleName(), "Ending 3");
    EXPECT_EQ(Box(id::kAllChannels)->text(), "All channels: 0%");
    reachable.front()->setFocus();
    for (QWidget* expected : reachable) {
        EXPECT_EQ(QApplication::focusWidget(), expected) << expected->objectName().toStdString();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
}

TEST_F(FormTest, ArrowsStepWithinTheRange) {
    Open(StyleFile(PopEvents()), true);
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
