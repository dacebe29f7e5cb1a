// SPDX-License-Identifier: GPL-3.0-or-later
#include "play/Player.h"

#include <cmath>
#include <vector>

#include "document/KorvaneDoc.h"
#include "play/OutputStage.h"
#include "play/Scheduler.h"
#include "play/Timeline.h"

// What the audio thread plays. The caller's thread builds every timeline and frees
// every one; the audio thread only takes the newest handed over and says which one it
// plays. Timelines are numbered as they are handed over, and one older than the one
// the audio thread plays is no longer touched by it: the caller frees those. The
// sound leaves through the output stage that file renders pass too, so both are heard
// at one level.
class CStylePlayer::Source : public AudioSource {
public:
    Source(std::unique_ptr<Timeline> timeline, int section, int loops, int sampleRate, Synth& synth)
        : m_scheduler(*timeline, section, loops, sampleRate, synth),
          m_stage(sampleRate),
          m_decayFrames(static_cast<std::uint64_t>(sampleRate) * kPlayDecaySeconds),
          m_section(section),
          m_quarter(timeline->setUpTempo) {
        m_owned.push_back(std::make_unique<Handed>(Handed{std::move(timeline), 0}));
    }

    void Fill(float* left, float* right, std::size_t frames) override {
        if (Handed* next = m_pending.exchange(nullptr, std::memory_order_acq_rel)) {
            m_scheduler.Swap(*next->timeline);
            m_playing.store(next->number, std::memory_order_release);
        }
        if (m_ended.load(std::memory_order_relaxed)) return;
        m_scheduler.Render(left, right, frames);
        m_stage.Process(left, right, frames);
        if (m_scheduler.Finished()) {
            m_decayed += frames;
            if (m_decayed >= m_decayFrames) m_ended.store(true, std::memory_order_relaxed);
        }
        m_section.store(m_scheduler.Section(), std::memory_order_relaxed);
        m_quarter.store(m_scheduler.Quarter(), std::memory_order_relaxed);
    }

    // Caller's thread.
    void Hand(std::unique_ptr<Timeline> timeline) {
        m_owned.push_back(std::make_unique<Handed>(Handed{std::move(timeline), ++m_lastNumber}));
        // One the audio thread never took is never played; it goes at once.
        const Handed* untaken = m_pending.exchange(m_owned.back().get(), std::memory_order_acq_rel);
        const std::uint64_t playing = m_playing.load(std::memory_order_acquire);
        std::erase_if(m_owned,
                      [&](const std::unique_ptr<Handed>& h) { return h.get() == untaken || h->number < playing; });
    }
    int Section() const { return m_section.load(std::memory_order_relaxed); }
    std::uint32_t Quarter() const { return m_quarter.load(std::memory_order_relaxed); }
    bool Ended() const { return m_ended.load(std::memory_order_relaxed); }

private:
    struct Handed {
        std::unique_ptr<Timeline> timeline;
        std::uint64_t number;
    };

    Scheduler m_scheduler;
    OutputStage m_stage;  // audio thread
    std::uint64_t m_decayFrames;
    std::uint64_t m_decayed = 0;  // audio thread
    std::atomic<bool> m_ended{false};
    std::atomic<Handed*> m_pending{nullptr};
    std::atomic<std::uint64_t> m_playing{0};       // the number of the timeline the audio thread plays
    std::vector<std::unique_ptr<Handed>> m_owned;  // caller's thread
    std::uint64_t m_lastNumber = 0;
    std::atomic<int> m_section;
    std::atomic<std::uint32_t> m_quarter;
};

std::vector<std::string> PlayableSections(const CKorvaneDoc& doc) {
    Timeline timeline;
    if (BuildTimeline(doc, timeline)) return {};
    std::vector<std::string> sections;
    for (const std::string_view name : PlayableSectionNames(timeline.Present())) sections.emplace_back(name);
    return sections;
}

CStylePlayer::CStylePlayer(OutputFactory makeOutput) : m_makeOutput(std::move(makeOutput)) {}

CStylePlayer::~CStylePlayer() { Stop(); }

PlayError CStylePlayer::Play(const CKorvaneDoc& doc, std::string_view sectionName,
                             const std::filesystem::path& soundFont, int loops) {
    Stop();
    auto timeline = std::make_unique<Timeline>();
    if (PlayError error = BuildTimeline(doc, *timeline)) return error;
    int section = 0;
    if (PlayError error = FindPlaySection(*timeline, sectionName, section)) return error;
    if (!m_output) {
        PlayError error;
        m_output = m_makeOutput(error);
        if (!m_output) return error;
    }
    if (PlayError error = m_output->LoadSoundFont(doc.Files(), soundFont)) return error;
    Synth& synth = m_output->GetSynth();
    synth.Reset();
    m_source = std::make_unique<Source>(std::move(timeline), section, loops, m_output->SampleRate(), synth);
    if (PlayError error = m_output->Start(*m_source)) {
        m_source.reset();
        return error;
    }
    m_playing = true;
    return std::nullopt;
}

void CStylePlayer::Stop() {
    if (!m_playing) return;
    m_output->Stop();
    m_output->GetSynth().Reset();
    m_source.reset();
    m_playing = false;
}

PlayError CStylePlayer::UpdateEdits(const CKorvaneDoc& doc) {
    if (!m_playing) return std::nullopt;
    auto timeline = std::make_unique<Timeline>();
    if (PlayError error = BuildTimeline(doc, *timeline)) return error;
    m_source->Hand(std::move(timeline));
    return std::nullopt;
}

bool CStylePlayer::IsPlaying() const { return m_playing && !m_source->Ended(); }

PlayStatus CStylePlayer::Status() const {
    PlayStatus status;
    if (!IsPlaying()) return status;
    status.playing = true;
    status.section = std::string(kPlaySectionNames[m_source->Section()]);
    status.bpm = static_cast<int>(std::lround(60000000.0 / m_source->Quarter()));
    status.chord = m_chord;
    return status;
}

// The chord is only named for now: the sound follows it once the channel rules are
// applied while playing.
void CStylePlayer::HoldChord(const Chord& chord) { m_chord = ChordText(chord); }

void CStylePlayer::FollowProgression(const Progression& progression) {
    // In a bar of one tick a beat, the chord at tick 0 is the one on the first beat.
    m_chord = ChordText(progression.ChordAt(0, static_cast<std::uint32_t>(progression.BeatsPerBar())));
}
