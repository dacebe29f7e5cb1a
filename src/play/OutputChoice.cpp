// SPDX-License-Identifier: GPL-3.0-or-later
#include "play/OutputChoice.h"

#include "play/sound/PortOutput.h"

CStylePlayer::OutputFactory ChooseOutput(const std::optional<MidiPort>& port, CStylePlayer::OutputFactory synthesizer,
                                         MidiSystemSource midi) {
    if (port) {
        return [midi = std::move(midi), port = *port](PlayError& error) -> std::unique_ptr<AudioOutput> {
            const std::shared_ptr<MidiSystem> system = midi(error);
            return system ? OpenPortOutput(*system, port, error) : nullptr;
        };
    }
    if (synthesizer) return synthesizer;
    return [midi = std::move(midi)](PlayError& error) -> std::unique_ptr<AudioOutput> {
        const std::shared_ptr<MidiSystem> system = midi(error);
        return system ? OpenSystemSynthesizerOutput(*system, error) : nullptr;
    };
}
