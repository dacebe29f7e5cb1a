// SPDX-License-Identifier: GPL-3.0-or-later
#include "play/Player.h"

#include <array>
#include <cmath>
#include <vector>

#include "play/ChordPlan.h"
#include "play/sound/OutputStage.h"
#include "play/Scheduler.h"
#include "play/Timeline.h"

namespace {

// A chord in one word, so the audio thread can say which one is in force without a lock.
std::uint32_t PackChord(const Chord& chord) {
    return chord.root | static_cast<std::uint32_t>(chord.type) << 4 |
           static_cast<std::uint32_t>(static_cast<std::uint8_t>(chord.bass)) << 12 | std::uint32_t{chord.none} << 20;
}
Chord UnpackChord(std::uint32_t packed) {
    return Chord{static_cast<std::uint8_t>(packed & 0xF), static_cast<ChordType>((packed >> 4) & 0xFF),
                 static_cast<std::int8_t>(static_cast<std::uint8_t>(packed >> 12)), ((packed >> 20) & 1) != 0};
}

}  // namespace

// What the audio thread plays. The caller's thread builds every timeline and frees
// every one; the audio thread only takes the newest handed over and says which one it
// plays. Timelines are numbered as they are handed over, and one older than the one
// the audio thread plays is no longer touched by it: the caller frees those. Chords go
// the same way: the newest order is taken at the start of a block, and an order older
// than the one taken (a progression it no longer follows) is freed by the caller. The
// sound leaves through the output stage that file renders pass too, so both are heard
// at one level.
class CStylePlayer::Source : public AudioSource {
public:
    Source(std::unique_ptr<Timeline> timeline, int section, int loops, int sampleRate, Synth& synth,
           std::unique_ptr<ChordPlan> chords, bool chordGiven, bool waitForChord)
        : m_synth(synth),
          m_waiting(waitForChord),
          m_chords(std::move(chords)),
          m_scheduler(*timeline, section, loops, *m_chords, sampleRate, synth),
          m_stage(sampleRate),
          m_decayFrames(static_cast<std::uint64_t>(sampleRate) * kPlayDecaySeconds),
          m_section(section),
          m_quarter(timeline->setUpTempo),
          m_chord(PackChord(Chord{})) {
        if (!chordGiven) m_scheduler.AwaitChord();
        m_owned.push_back(std::make_unique<Handed>(Handed{std::move(timeline), 0}));
    }

    void Fill(float* left, float* right, std::size_t frames) override {
        if (Handed* next = m_pending.exchange(nullptr, std::memory_order_acq_rel)) {
            m_scheduler.Swap(*next->timeline);
            m_playing.store(next->number, std::memory_order_release);
        }
        if (ChordOrder* order = m_pendingChords.exchange(nullptr, std::memory_order_acq_rel)) {
            if (order->progression) {
                m_scheduler.FollowProgression(*order->progression);
            } else {
                m_scheduler.HoldChord(order->chord);
            }
            m_chordsTaken.store(order->number, std::memory_order_release);
            m_waiting.store(false, std::memory_order_relaxed);
        }
        if (m_startNow.load(std::memory_order_relaxed)) m_waiting.store(false, std::memory_order_relaxed);
        TakeRightHand();
        if (m_waiting.load(std::memory_order_relaxed)) {
            m_synth.Render(left, right, frames);
            m_stage.Process(left, right, frames);
            return;
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
        m_chord.store(PackChord(m_scheduler.ChordNow()), std::memory_order_relaxed);
    }

    // Caller's thread: one message of the right hand into the ring the audio thread empties.
    void HandRightHand(std::uint32_t message) {
        const std::uint32_t head = m_rightHead.load(std::memory_order_relaxed);
        if (head - m_rightTail.load(std::memory_order_acquire) >= m_rightHand.size()) return;
        m_rightHand[head % m_rightHand.size()] = message;
        m_rightHead.store(head + 1, std::memory_order_release);
    }
    void StartNow() { m_startNow.store(true, std::memory_order_relaxed); }
    bool Waiting() const { return m_waiting.load(std::memory_order_relaxed); }

    // Caller's thread: a chord to hold, or a progression to follow when progression is set.
    void HandChords(const Chord& chord, const Progression* progression) {
        auto order = std::make_unique<ChordOrder>();
        order->chord = chord;
        if (progression) order->progression = std::make_unique<Progression>(*progression);
        order->number = ++m_lastChordNumber;
        m_orders.push_back(std::move(order));
        const ChordOrder* untaken = m_pendingChords.exchange(m_orders.back().get(), std::memory_order_acq_rel);
        const std::uint64_t taken = m_chordsTaken.load(std::memory_order_acquire);
        std::erase_if(m_orders,
                      [&](const std::unique_ptr<ChordOrder>& o) { return o.get() == untaken || o->number < taken; });
    }
    Chord ChordNow() const { return UnpackChord(m_chord.load(std::memory_order_relaxed)); }

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
    void TakeRightHand() {
        const std::uint32_t head = m_rightHead.load(std::memory_order_acquire);
        std::uint32_t tail = m_rightTail.load(std::memory_order_relaxed);
        for (; tail != head; ++tail) {
            const std::uint32_t message = m_rightHand[tail % m_rightHand.size()];
            m_synth.SendChannelMessage(static_cast<std::uint8_t>(message >> 16), static_cast<std::uint8_t>(message >> 8),
                                       static_cast<std::uint8_t>(message));
        }
        m_rightTail.store(tail, std::memory_order_release);
    }

    struct Handed {
        std::unique_ptr<Timeline> timeline;
        std::uint64_t number;
    };
    struct ChordOrder {
        Chord chord;
        std::unique_ptr<Progression> progression;
        std::uint64_t number = 0;
    };

    Synth& m_synth;
    std::atomic<bool> m_waiting;
    std::atomic<bool> m_startNow{false};
    // The right hand's messages (status, key, velocity in one word), written by the
    // caller's thread at the head and read by the audio thread at the tail.
    std::array<std::uint32_t, 512> m_rightHand{};
    std::atomic<std::uint32_t> m_rightHead{0};
    std::atomic<std::uint32_t> m_rightTail{0};
    std::unique_ptr<ChordPlan> m_chords;  // what the scheduler started on, for as long as it plays
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
    std::atomic<std::uint32_t> m_chord;
    std::atomic<ChordOrder*> m_pendingChords{nullptr};
    std::atomic<std::uint64_t> m_chordsTaken{0};
    std::vector<std::unique_ptr<ChordOrder>> m_orders;  // caller's thread
    std::uint64_t m_lastChordNumber = 0;
};

std::vector<std::string> PlayableSections(ByteView image, const TrackEdits& edits) {
    Timeline timeline;
    if (BuildTimeline(image, edits, timeline)) return {};
    std::vector<std::string> sections;
    for (const std::string_view name : PlayableSectionNames(timeline.Present())) sections.emplace_back(name);
    return sections;
}

CStylePlayer::CStylePlayer(OutputFactory makeOutput) : m_makeOutput(std::move(makeOutput)) {}

CStylePlayer::~CStylePlayer() { Stop(); }

PlayError CStylePlayer::Play(ByteView image, const TrackEdits& edits, FileSystem& files, std::string_view sectionName,
                             const std::filesystem::path& soundFont, int loops, bool waitForChord) {
    Stop();
    auto timeline = std::make_unique<Timeline>();
    if (PlayError error = BuildTimeline(image, edits, *timeline)) return error;
    int section = 0;
    if (PlayError error = FindPlaySection(*timeline, sectionName, section)) return error;
    if (!m_output) {
        PlayError error;
        m_output = m_makeOutput(error);
        if (!m_output) return error;
    }
    if (PlayError error = m_output->LoadSoundFont(files, soundFont)) return error;
    Synth& synth = m_output->GetSynth();
    synth.Reset();
    // The right hand's voice; another instrument takes it as a program change.
    if (synth.TakesStyleVoices()) {
        synth.SendChannelMessage(0xC0 | kRightHandChannel, static_cast<std::uint8_t>(m_rightVoice), 0);
    } else {
        synth.SelectVoice(kRightHandChannel, SoundFontVoice{0, m_rightVoice, false});
    }
    auto chords = std::make_unique<ChordPlan>();
    chords->asRecorded = m_asRecorded;
    if (m_following) {
        chords->progression = *m_following;
    } else if (m_held) {
        chords->progression = Progression::Holding(*m_held, ChordText(*m_held));
    }
    m_source = std::make_unique<Source>(std::move(timeline), section, loops, m_output->SampleRate(), synth,
                                        std::move(chords), m_following || m_held, waitForChord);
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

void CStylePlayer::ChangeOutput(OutputFactory makeOutput) {
    Stop();
    m_output.reset();
    m_makeOutput = std::move(makeOutput);
}

PlayError CStylePlayer::UpdateEdits(ByteView image, const TrackEdits& edits) {
    if (!m_playing) return std::nullopt;
    auto timeline = std::make_unique<Timeline>();
    if (PlayError error = BuildTimeline(image, edits, *timeline)) return error;
    m_source->Hand(std::move(timeline));
    return std::nullopt;
}

void CStylePlayer::HoldChord(const Chord& chord) {
    m_held = chord;
    m_following.reset();
    if (m_playing) m_source->HandChords(chord, nullptr);
}

void CStylePlayer::FollowProgression(const Progression& progression) {
    m_following = progression;
    m_held.reset();
    if (m_playing) m_source->HandChords(Chord{}, &progression);
}

void CStylePlayer::Start() {
    if (m_playing) m_source->StartNow();
}

bool CStylePlayer::IsWaiting() const { return m_playing && m_source->Waiting(); }

void CStylePlayer::PlayRightHand(std::uint8_t status, std::uint8_t key, std::uint8_t velocity) {
    if (!m_playing) return;
    const auto message = static_cast<std::uint8_t>((status & 0xF0) | kRightHandChannel);
    m_source->HandRightHand(std::uint32_t{message} << 16 | std::uint32_t{key} << 8 | velocity);
}

bool CStylePlayer::IsPlaying() const { return m_playing && !m_source->Ended(); }

PlayStatus CStylePlayer::Status() const {
    PlayStatus status;
    // A held chord is named at once, as it sounds within one block; a progression by the
    // chord the audio thread plays now.
    if (m_held) status.chord = ChordText(*m_held);
    if (m_following) status.chord = ChordText(m_following->ChordAt(0, 1));
    if (!IsPlaying()) return status;
    if (m_following) status.chord = ChordText(m_source->ChordNow());
    status.playing = true;
    status.section = std::string(kSectionNames[m_source->Section()]);
    status.bpm = static_cast<int>(std::lround(60000000.0 / m_source->Quarter()));
    return status;
}
