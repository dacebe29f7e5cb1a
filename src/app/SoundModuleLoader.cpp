// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/SoundModuleLoader.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLibrary>

#include "msg/PlayMessages.h"
#include "play/SoundModule.h"

CStylePlayer::OutputFactory SoundModuleOutput(const QString& modulePath) {
    return [modulePath](PlayError& error) -> std::unique_ptr<AudioOutput> {
        // Never unloaded: the outputs it made run its code until the program ends.
        QLibrary module(modulePath);
        const auto make = reinterpret_cast<MakeAudioOutputFunction>(module.resolve(kMakeAudioOutputSymbol));
        if (!make) {
            error = play_messages::kNoSynthesizer;
            return nullptr;
        }
        return std::unique_ptr<AudioOutput>(make(&error));
    };
}

QString InstalledSoundModulePath() {
    const QDir program(QCoreApplication::applicationDirPath());
    const QString name = QString::fromUtf8(kSoundModuleName);
    for (const QString& folder : {QString("."), QString::fromUtf8(KORVANE_SOUND_MODULE_DIR)}) {
        const QString path = program.filePath(folder + "/" + name);
        if (QFile::exists(path + ".so") || QFile::exists(path + ".dll")) {
            return QDir::cleanPath(path);
        }
    }
    return program.filePath(QString::fromUtf8(KORVANE_SOUND_MODULE_DIR) + "/" + name);
}
