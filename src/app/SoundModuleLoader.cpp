// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/SoundModuleLoader.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "framework/platform/Modules.h"
#include "framework/platform/qt/QtPaths.h"
#include "msg/PlayMessages.h"
#include "play/sound/PortOutput.h"
#include "play/sound/SoundModule.h"

namespace {

// The module's file as the loader looks for it (the name with or without the
// platform's suffix); empty when there is none.
QString ModuleFile(const QString& modulePath) {
    for (const char* suffix : {"", ".so", ".dll"}) {
        const QFileInfo file(modulePath + suffix);
        if (file.isFile()) return file.absoluteFilePath();
    }
    return {};
}

}  // namespace

CStylePlayer::OutputFactory SoundModuleOutput(const QString& modulePath) {
    return [modulePath](PlayError& error) -> std::unique_ptr<AudioOutput> {
        const QString file = ModuleFile(modulePath);
        if (file.isEmpty()) {
            error = play_messages::kNoSynthesizer;
            return nullptr;
        }
        const std::optional<SoundModule> module =
            LoadSoundModule(PathFromQString(QDir::toNativeSeparators(file)), error);
        return std::unique_ptr<AudioOutput>(module ? module->makeAudioOutput(&error) : nullptr);
    };
}

QString InstalledSoundModulePath() {
    const QDir program(QCoreApplication::applicationDirPath());
    const QString name = QString::fromUtf8(kSoundModuleName);
    for (const QString& folder : {QString("."), QString::fromUtf8(InstalledModuleFolder())}) {
        const QString path = program.filePath(folder + "/" + name);
        if (QFile::exists(path + ".so") || QFile::exists(path + ".dll")) {
            return QDir::cleanPath(path);
        }
    }
    return program.filePath(QString::fromUtf8(InstalledModuleFolder()) + "/" + name);
}

CStylePlayer::OutputFactory InstalledOutput() {
#ifdef KORVANE_WITH_FLUIDSYNTH
    return [](PlayError& error) { return SoundModuleOutput(InstalledSoundModulePath())(error); };
#else
    return MakeSystemSynthesizerOutput;
#endif
}
