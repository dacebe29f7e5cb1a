// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QSettings>
#include <QSpinBox>
#include <QTabWidget>
#include <QTest>

#include "FakeMidiSystem.h"
#include "QtTestApp.h"
#include "TempDir.h"
#include "document/KorvaneDoc.h"
#include "options/AppMidi.h"
#include "options/MidiSettings.h"
#include "options/SettingsDlg.h"
#include "options/SettingsProfile.h"

namespace {

using namespace option_id;

// In the order the dialog stores them.
const char* const kOptionNames[] = {"DeleteOldFile",
                                    "AdaptFilename",
                                    "FormatFilename",
                                    "AllChannels",
                                    "DeleteOTS",
                                    "ExportOTS",
                                    "ImportOTS",
                                    "DeleteCASM",
                                    "ExportCASM",
                                    "ImportCASM",
                                    "DeleteAllCnttDefinitions"};
// Check box ids in tab order.
const int kTabOrder[] = {kAdaptFilename, kFormatFilename, kDeleteOldFile, kDeleteAllCntt, kDeleteOTS,  kExportOTS,
                         kImportOTS,     kDeleteCASM,     kExportCASM,    kImportCASM,    kAllChannels};

class Settings : public testing::Test {
protected:
    Settings() : iniFile(QString::fromStdString((dir / "settings.conf").string())), profile(iniFile) {
        QtTestApp();
        SetAppProfile(&profile);
        midi->ports = {{{"Digital Piano:MIDI 1", "jack"}}, {{"Synth", "alsa"}, {"Digital Piano:MIDI 1", "jack"}}, {}};
        SetAppMidiSystem(midi);
    }
    ~Settings() override {
        SetAppMidiSystem(nullptr);
        SetAppProfile(nullptr);
    }

    // Its lines as text: Windows ends them with CR LF.
    QString FileText() const {
        QFile file(iniFile);
        return file.open(QIODevice::ReadOnly | QIODevice::Text) ? QString::fromUtf8(file.readAll()) : QString();
    }

    TempDir dir;
    QString iniFile;
    CSettingsProfile profile;
    std::shared_ptr<FakeMidiSystem> midi = std::make_shared<FakeMidiSystem>();
};

// A control of the dialog by the name a screen reader reads.
template <class Control>
Control* Named(const QWidget& dialog, const char* name) {
    for (Control* control : dialog.findChildren<Control*>()) {
        if (control->accessibleName() == name) return control;
    }
    return nullptr;
}

QStringList Items(const QComboBox& box) {
    QStringList items;
    for (int i = 0; i < box.count(); ++i) items << box.itemText(i);
    return items;
}

TEST_F(Settings, NumbersAndTextsAreStoredAsSuch) {
    profile.WriteProfileInt("Settings", "AdaptFilename", 0);
    profile.WriteProfileString("Settings", "Language", "E");
    EXPECT_EQ(profile.GetProfileInt("Settings", "AdaptFilename", 1), 0);
    EXPECT_EQ(profile.GetProfileString("Settings", "Language", ""), "E");
    EXPECT_EQ(profile.GetProfileString("Settings", "InstallPath", "none"), "none");
    EXPECT_TRUE(FileText().contains("[Settings]\nAdaptFilename=0\nLanguage=E\n")) << FileText().toStdString();
    // A second store on the same file sees the values: they are kept between runs.
    CSettingsProfile again(iniFile);
    EXPECT_EQ(again.GetProfileString("Settings", "Language", ""), "E");
}

TEST_F(Settings, HandWrittenValues) {
    QFile file(iniFile);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("[Settings]\nDeleteOTS=2\nExportOTS=yes\nAdaptFilename=0\nFormatFilename=-1\n");
    file.close();
    CSettingsProfile handWritten(iniFile);
    SetAppProfile(&handWritten);
    CKorvaneDoc doc;
    EXPECT_TRUE(doc.m_bDeleteOTS);   // any number but 0 is on
    EXPECT_FALSE(doc.m_bExportOTS);  // not a number: the default
    EXPECT_FALSE(doc.m_bAdaptFilename);
    EXPECT_TRUE(doc.m_bFormatFilename);
    CSettingsDlg dialog;
    EXPECT_TRUE(dialog.Control(kDeleteOTS)->isChecked());
    EXPECT_FALSE(dialog.Control(kExportOTS)->isChecked());
    SetAppProfile(&profile);
}

TEST_F(Settings, FirstStartHasThreeOptionsOn) {
    CKorvaneDoc doc;
    EXPECT_TRUE(doc.m_bAdaptFilename && doc.m_bFormatFilename && doc.m_bAllChannels);
    EXPECT_FALSE(doc.m_bDeleteOldFile || doc.m_bDeleteOTS || doc.m_bExportOTS || doc.m_bImportOTS ||
                 doc.m_bDeleteCASM || doc.m_bExportCASM || doc.m_bImportCASM || doc.m_bDeleteAllCntt);
    CSettingsDlg dialog;
    for (const int id : kTabOrder) {
        EXPECT_EQ(dialog.Control(id)->isChecked(), id == kAdaptFilename || id == kFormatFilename || id == kAllChannels)
            << id;
    }
}

TEST_F(Settings, DialogLayout) {
    CSettingsDlg dialog;
    EXPECT_EQ(dialog.windowTitle(), "Settings");
    const std::map<int, QString> texts = {{kAdaptFilename, "Set filename = title"},
                                          {kFormatFilename, "Format filename (...$)"},
                                          {kDeleteOldFile, "Delete old style file if name changed"},
                                          {kDeleteAllCntt, "Delete \"cntt\" data from CASM section"},
                                          {kDeleteOTS, "Delete OTS settings"},
                                          {kExportOTS, "Export OTS settings"},
                                          {kImportOTS, "Import OTS settings"},
                                          {kDeleteCASM, "Delete CASM section"},
                                          {kExportCASM, "Export CASM section"},
                                          {kImportCASM, "Import CASM section"},
                                          {kAllChannels, "Change volume for all channels"}};
    for (const auto& [id, text] : texts) EXPECT_EQ(dialog.Control(id)->text(), text);
    // The save options are the first page; Tab moves through the boxes in order, then to
    // OK (the default button) and Cancel.
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    EXPECT_EQ(dialog.findChild<QTabWidget*>()->currentIndex(), 0);
    EXPECT_EQ(QApplication::focusWidget(), dialog.Control(kTabOrder[0]));
    for (const int id : kTabOrder) {
        EXPECT_EQ(QApplication::focusWidget(), dialog.Control(id)) << id;
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    auto* ok = qobject_cast<QPushButton*>(QApplication::focusWidget());
    ASSERT_NE(ok, nullptr);
    EXPECT_EQ(ok->text(), "OK");
    EXPECT_TRUE(ok->isDefault());
    QTest::keyClick(ok, Qt::Key_Tab);
    auto* cancel = qobject_cast<QPushButton*>(QApplication::focusWidget());
    ASSERT_NE(cancel, nullptr);
    EXPECT_EQ(cancel->text(), "Cancel");
}

// The MIDI page lists the ports as the dialog opens, each control named for a screen
// reader, on a first start with no keyboard, multi fingering, the split at F#2 and the
// built-in synthesizer. Cancel stores nothing; OK stores the choice, a split point
// typed as a key's name.
TEST_F(Settings, MidiPageListsThePortsAndStoresTheChoiceOnOk) {
    for (const bool ok : {false, true}) {
        CSettingsDlg dialog;
        auto* input = Named<QComboBox>(dialog, "MIDI input");
        auto* fingering = Named<QComboBox>(dialog, "Fingering");
        auto* split = Named<QSpinBox>(dialog, "Split point");
        auto* output = Named<QComboBox>(dialog, "MIDI output");
        ASSERT_TRUE(input && fingering && split && output);
        EXPECT_EQ(Items(*input), QStringList({"None", "Digital Piano:MIDI 1 (jack)"}));
        EXPECT_EQ(Items(*fingering), QStringList({"single", "fingered", "on-bass", "multi", "full"}));
        EXPECT_EQ(Items(*output), QStringList({"Built-in synthesizer", "Synth (alsa)", "Digital Piano:MIDI 1 (jack)"}));
        EXPECT_EQ(QStringList({input->currentText(), fingering->currentText(), split->text(), output->currentText()}),
                  QStringList({"None", "multi", "F#2", "Built-in synthesizer"}));
        input->setCurrentIndex(1);
        fingering->setCurrentText("fingered");
        split->selectAll();
        QTest::keyClicks(split, "C3");
        output->setCurrentIndex(1);
        ok ? dialog.accept() : dialog.reject();
    }
    EXPECT_EQ(midi->listed, 2);
    const MidiSettings chosen{
        MidiPort{"Digital Piano:MIDI 1", "jack"}, {Fingering::Fingered, 60, 0}, MidiPort{"Synth", "alsa"}};
    EXPECT_EQ(ReadMidiSettings(profile), chosen);
}

// A stored port that no system lists now (its keyboard switched off) stays chosen, so
// that OK keeps it; without any port the page offers no keyboard and the built-in
// synthesizer, and says why.
TEST_F(Settings, MidiPageKeepsAPortThatIsGoneAndWorksWithoutPorts) {
    const MidiSettings stored{MidiPort{"Stage Piano", "alsa"}, {Fingering::OnBass, 42, 0}, std::nullopt};
    WriteMidiSettings(profile, stored);
    midi->ports = {{}, {}, {"JACK: no server is running"}};
    CSettingsDlg dialog;
    EXPECT_EQ(Items(*Named<QComboBox>(dialog, "MIDI input")),
              QStringList({"None", QString::fromUtf8("Stage Piano (alsa) \u2013 not there now")}));
    EXPECT_EQ(Named<QComboBox>(dialog, "MIDI input")->currentIndex(), 1);
    EXPECT_EQ(Items(*Named<QComboBox>(dialog, "MIDI output")), QStringList{"Built-in synthesizer"});
    EXPECT_EQ(Named<QSpinBox>(dialog, "Split point")->text(), "F#1");
    const QList<QLabel*> labels = dialog.findChildren<QLabel*>();
    EXPECT_TRUE(std::any_of(labels.begin(), labels.end(), [](QLabel* l) { return l->text().startsWith("JACK:"); }));
    dialog.accept();
    EXPECT_EQ(ReadMidiSettings(CSettingsProfile(iniFile)), stored);
}

TEST_F(Settings, DialogShowsTheStoredValuesAndOkWritesAllEleven) {
    profile.WriteProfileInt("Settings", "ExportCASM", 1);
    profile.WriteProfileInt("Settings", "AllChannels", 0);
    CSettingsDlg dialog;
    EXPECT_TRUE(dialog.Control(kExportCASM)->isChecked());
    EXPECT_FALSE(dialog.Control(kAllChannels)->isChecked());
    dialog.Control(kImportOTS)->setChecked(true);
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.Option(*FindSaveOption(kImportOTS)), 1);

    QSettings stored(iniFile, QSettings::IniFormat);
    stored.beginGroup("Settings");
    EXPECT_EQ(stored.childKeys().size(), 11);
    const std::map<std::string, int> expected = {{"DeleteOldFile", 0},
                                                 {"AdaptFilename", 1},
                                                 {"FormatFilename", 1},
                                                 {"AllChannels", 0},
                                                 {"DeleteOTS", 0},
                                                 {"ExportOTS", 0},
                                                 {"ImportOTS", 1},
                                                 {"DeleteCASM", 0},
                                                 {"ExportCASM", 1},
                                                 {"ImportCASM", 0},
                                                 {"DeleteAllCnttDefinitions", 0}};
    for (const char* name : kOptionNames) EXPECT_EQ(stored.value(name).toInt(), expected.at(name)) << name;
}

TEST_F(Settings, ReadsAndWritesTheOptionsInTheirOrder) {
    struct OrderedProfile : CMemoryProfile {
        int GetProfileInt(std::string_view section, std::string_view entry, int defaultValue) const override {
            reads.emplace_back(entry);
            return CMemoryProfile::GetProfileInt(section, entry, defaultValue);
        }
        bool WriteProfileInt(std::string_view section, std::string_view entry, int value) override {
            writes.emplace_back(entry);
            return CMemoryProfile::WriteProfileInt(section, entry, value);
        }
        mutable std::vector<std::string> reads;
        std::vector<std::string> writes;
    } ordered;
    SetAppProfile(&ordered);
    CSettingsDlg dialog;
    dialog.accept();
    SetAppProfile(&profile);
    const std::vector<std::string> expected(std::begin(kOptionNames), std::end(kOptionNames));
    EXPECT_EQ(ordered.reads, expected);
    EXPECT_EQ(ordered.writes, expected);
}

TEST_F(Settings, CancelEscapeAndCloseStoreNothing) {
    for (int way = 0; way < 3; ++way) {
        CSettingsDlg dialog;
        dialog.show();
        dialog.Control(kDeleteOldFile)->setChecked(true);
        if (way == 0) QTest::mouseClick(dialog.findChildren<QPushButton*>().at(1), Qt::LeftButton);
        if (way == 1) QTest::keyClick(&dialog, Qt::Key_Escape);
        if (way == 2) dialog.close();
        EXPECT_EQ(dialog.result(), QDialog::Rejected);
    }
    EXPECT_FALSE(FileText().contains("DeleteOldFile"));
    CSettingsDlg again;
    EXPECT_FALSE(again.Control(kDeleteOldFile)->isChecked());
}

TEST_F(Settings, EnterConfirmsWithOk) {
    CSettingsDlg dialog;
    dialog.show();
    QTest::keyClick(dialog.Control(kAdaptFilename), Qt::Key_Space);  // unchecks "Set filename = title"
    QTest::keyClick(&dialog, Qt::Key_Return);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(profile.GetProfileInt("Settings", "AdaptFilename", 1), 0);
}

TEST_F(Settings, OpenDocumentKeepsItsOptionsWhileTheNextTakesTheStoredOnes) {
    CKorvaneDoc open;
    CSettingsDlg dialog;
    dialog.Control(kAllChannels)->setChecked(false);
    dialog.Control(kDeleteOTS)->setChecked(true);
    dialog.accept();
    EXPECT_TRUE(open.m_bAllChannels);
    EXPECT_FALSE(open.m_bDeleteOTS);
    CKorvaneDoc next;
    EXPECT_FALSE(next.m_bAllChannels);
    EXPECT_TRUE(next.m_bDeleteOTS);
    // Options changed in a document are never stored.
    next.m_bExportOTS = true;
    CKorvaneDoc third;
    EXPECT_FALSE(third.m_bExportOTS);
}

}  // namespace
